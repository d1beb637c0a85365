// Font options of the push button and the label: laid over the theme's
// font of the state or over the control's own font, in what is measured
// as well as in what is drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "RecordingThemeFixture.h"
#include "skin/controls/te_controls_label.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;
using testing::TRecordingTheme;

class FontOptionsTest : public SkinControlsTest {
protected:
    // A control of one kind with a caption, and its options.
    struct Subject {
        const char* name;
        std::function<TControl*(FontOptionsTest&)> make;
        std::function<TTeFontOptions*(TControl*)> options;
        TteThemeFont themeFont;  // the theme's font of its normal text
    };
    static std::vector<Subject> Subjects() {
        return {
            {"button",
             [](FontOptionsTest& t) -> TControl* {
                 auto* b = t.Make<TTeButton>(20, 20);
                 b->SetBounds(20, 20, 160, 40);
                 b->SetCaption(u"Options");
                 return b;
             },
             [](TControl* c) { return static_cast<TTeButton*>(c)->FontOptions(); }, ktfButtonTextNormal},
            {"label",
             [](FontOptionsTest& t) -> TControl* {
                 auto* l = t.Make<TTeLabel>(20, 20);
                 l->SetCaption(u"Options");
                 return l;
             },
             [](TControl* c) { return static_cast<TTeLabel*>(c)->FontOptions(); }, ktfStaticTextNormal},
        };
    }
    static void SetOptions(TTeFontOptions* o) {
        TTeFontOptions wanted;
        wanted.SetBold(true);
        wanted.SetSizeDelta(4);
        wanted.SetFontColor(clRed);
        o->Assign(&wanted);
    }
};

TEST_F(FontOptionsTest, TheOptionsAreLaidOverTheThemesFontOfTheState) {
    for (const Subject& s : Subjects()) {
        SCOPED_TRACE(s.name);
        TRecordingTheme* theme = UseRecordingTheme();
        TFont* base = theme->Fonts()->GetFontForObject(s.themeFont, "default");
        ASSERT_NE(base, nullptr);
        ASSERT_FALSE(base->Style().Contains(fsBold));
        TControl* c = s.make(*this);
        SetOptions(s.options(c));
        RepaintRecorded(theme, c);
        ASSERT_FALSE(theme->TextFonts().empty());
        const testing::TFontSeen& seen = theme->TextFonts().back();
        EXPECT_TRUE(seen.bold);
        EXPECT_EQ(seen.size, base->Size() + 4);
        EXPECT_EQ(seen.name, base->Name());
        EXPECT_EQ(seen.colour, clRed);
        delete c;
    }
}

TEST_F(FontOptionsTest, WithoutAThemeTheOptionsChangeTheOwnFontInMeasureAndColour) {
    for (const Subject& s : Subjects()) {
        SCOPED_TRACE(s.name);
        TControl* plain = s.make(*this);
        TControl* c = s.make(*this);
        c->SetTop(80);
        SetOptions(s.options(c));
        // Options are set before the form is shown; a label sizes itself then.
        if (auto* l = dynamic_cast<TTeLabel*>(c)) l->AdjustBounds();
        if (dynamic_cast<TTeLabel*>(plain)) {
            EXPECT_GT(c->Width(), plain->Width());
            EXPECT_GT(c->Height(), plain->Height());
        } else {
            auto* b = static_cast<TTeButton*>(c);
            auto* p = static_cast<TTeButton*>(plain);
            EXPECT_GT(b->GetCaptionRect().Width(), p->GetCaptionRect().Width());
        }
        c->Invalidate();
        const auto pixels = Shown(c);
        EXPECT_NE(std::count(pixels.begin(), pixels.end(), testing::Rgb(clRed)), 0) << "red text";
        const auto plainPixels = Shown(plain);
        EXPECT_EQ(std::count(plainPixels.begin(), plainPixels.end(), testing::Rgb(clRed)), 0);
        delete c;
        delete plain;
    }
}

}  // namespace
}  // namespace tarvel

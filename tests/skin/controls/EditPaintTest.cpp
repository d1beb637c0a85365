#include <filesystem>
#include <set>

#include "platform/classlib/ExtCtrls.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_spin.h"
#include "skin/themes/theme_flat.h"
#include "tests/skin/PaperFixture.h"
#include "tests/skin/controls/EditFixture.h"
#include "tests/skin/controls/GalleryForms.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel::testing {
namespace {

class EditPaintTest : public EditTest {
protected:
    TEditRecordingTheme* UseEditTheme() {
        auto* theme = new TEditRecordingTheme();
        ChangeTheme(theme);
        return theme;
    }
    int FrameState(TEditRecordingTheme* theme, TTeEdit* e) {
        theme->Calls.clear();
        e->Invalidate();
        Ui().RunUntilIdle();
        const auto frames = theme->CallsOf("EditDraw");
        return frames.empty() ? -1 : frames.front().state;
    }
};

// Hover wins over focus; read-only over both; disabled over everything.
TEST_F(EditPaintTest, FrameStateFollowsThePrecedence) {
    TEditRecordingTheme* theme = UseEditTheme();
    TTeEdit* other = Make(10, 60);
    TTeEdit* e = Make(10, 10);
    e->SetText("abc");
    EXPECT_EQ(FrameState(theme, e), kedsNormal);
    e->SetFocus();
    Ui().RunUntilIdle();
    EXPECT_EQ(FrameState(theme, e), kedsFocused);
    Ui().MoveMouseTo(e, TPoint{5, 5});
    EXPECT_EQ(FrameState(theme, e), kedsHot);
    e->SetReadOnly(true);
    EXPECT_EQ(FrameState(theme, e), kedsReadOnly);
    e->SetEnabled(false);
    EXPECT_EQ(FrameState(theme, e), kedsDisabled);
    Ui().MoveMouseTo(other, TPoint{5, 5});
    (void)other;
}

TEST_F(EditPaintTest, SelectionIsDrawnWhileFocusedOrWhenNotHidden) {
    TEditRecordingTheme* theme = UseEditTheme();
    TTeEdit* other = Make(10, 60);
    TTeEdit* e = Make(10, 10);
    e->SetText("abcdef");
    e->SetFocus();  // selects all
    Ui().RunUntilIdle();
    auto selections = [&] {
        theme->Calls.clear();
        e->Invalidate();
        Ui().RunUntilIdle();
        int n = 0;
        for (const auto& c : theme->CallsOf("EditDraw")) n += c.state == kedsSelection;
        return n;
    };
    EXPECT_EQ(selections(), 1);
    other->SetFocus();
    Ui().RunUntilIdle();
    EXPECT_EQ(selections(), 0);
    e->SetHideSelection(false);
    EXPECT_EQ(selections(), 1);
}

TEST_F(EditPaintTest, ClassicSelectionKeepsTheNormalTextColour) {
    TTeEdit* e = Make(10, 10, 150);
    e->SetText("WWWW  WWWW");
    e->SetHideSelection(false);
    e->SetSelStart(0);
    e->SetSelLength(4);
    Ui().RunUntilIdle();
    const TRect r = e->GetEditRect();
    auto inks = [&](int from, int to) {
        std::set<uint32_t> colours;
        const auto screen = Ui().Backend().ScreenPixels();
        for (int x = e->GetCharX(from); x < e->GetCharX(to); ++x)
            for (int y = r.top; y < r.bottom; ++y) {
                const TPoint p = e->ClientToScreen(TPoint{x, y});
                colours.insert(screen->Pixel(p.x, p.y) & 0xFFFFFF);
            }
        return colours;
    };
    EXPECT_TRUE(inks(0, 4).count(Rgb(clHighlight)));
    EXPECT_TRUE(inks(6, 10).count(Rgb(clWindowText))) << "the unselected text is not drawn in highlight text";
}

TEST_F(EditPaintTest, PasswordCellsStartAtTheFirstVisibleCharacter) {
    TTeEdit* e = Make(10, 10, 60);
    e->SetPasswordKind(pkRect);
    e->SetText(String(40, 'x'));
    e->SetFocus();
    Ui().RunUntilIdle();
    Ui().PressKey(VK_END);
    const int cell = e->GetPasswordCharWidth();
    EXPECT_GT(e->FirstVisibleChar(), 1);
    EXPECT_EQ(e->GetCharX(e->FirstVisibleChar() + 1) - e->GetCharX(e->FirstVisibleChar() - 1), 2 * cell);
    EXPECT_LE(e->GetCharX(40), e->GetEditRect().right);
}

TEST_F(EditPaintTest, ReleasingTheThemeRestoresTheDesignedFont) {
    TTeEdit* e = Make();
    e->Font()->SetName("Arial");
    e->Font()->SetHeight(-17);
    e->Perform(SNM_THEMEMESSAGE, tmApply, 0);
    e->Font()->SetHeight(-30);  // as a theme font would
    e->Perform(SNM_THEMEMESSAGE, tmReleased, 0);
    EXPECT_EQ(e->Font()->Height(), -17);
    EXPECT_EQ(e->Font()->Name(), "Arial");
}

// A disabled list-style combo greys its item like the other disabled edits;
// an enabled one keeps its dark text.
TEST_F(EditPaintTest, DisabledTextIsGreyInEveryEditKind) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    struct Case {
        const char* name;
        bool combo, list, enabled;
    };
    const Case cases[] = {{"edit", false, false, false},
                          {"drop-down combo", true, false, false},
                          {"list combo", true, true, false},
                          {"enabled list combo", true, true, true}};
    for (const Case& k : cases) {
        TTeEdit* e = nullptr;
        if (k.combo) {
            auto* combo = Make<TTeComboBox>(20, 20, 150);
            combo->Items()->Add("Wide WWW");
            combo->SetItemIndex(0);
            if (k.list) combo->SetComboStyle(kcsDropDownList);
            e = combo;
        } else {
            e = Make(20, 20, 150);
            e->SetText("Wide WWW");
        }
        e->SetEnabled(k.enabled);
        Ui().RunUntilIdle();
        // The darkest channel of any ink in the text area.
        int darkest = 255;
        const TRect r = e->GetEditRect();
        const auto screen = Ui().Backend().ScreenPixels();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const TPoint p = e->ClientToScreen(TPoint{x, y});
                const uint32_t px = screen->Pixel(p.x, p.y);
                for (int shift : {0, 8, 16}) darkest = std::min(darkest, int(px >> shift & 0xFF));
            }
        if (k.enabled)
            EXPECT_LT(darkest, 0x40) << k.name;
        else
            EXPECT_GE(darkest, 0x70) << k.name << " draws dark text while disabled";
        delete e;
    }
}

// The edits in the flat theme and in the tool's own skin, saved for people
// to look at.
TEST_F(EditPaintTest, GalleryInTheFlatThemeAndTheToolsSkin) {
    InitThemeFlat();
    const std::pair<const char*, const char*> looks[] = {{"Flat", "gallery_edits_flat.png"},
                                                         {"dara", "gallery_edits_dara.png"}};
    const auto folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    Form()->SetBounds(0, 0, 660, 220);
    for (const auto& [look, name] : looks) {
        SCOPED_TRACE(look);
        if (look == std::string_view("dara"))
            ASSERT_TRUE(ChangeToDaraSkin()) << DaraSkinPath();
        else
            ChangeTheme(look);
        ASSERT_NE(CurrentTheme, nullptr);
        auto* sheet = SkinControlsTest::Make<TPanel>(0, 0);
        sheet->SetAlign(alClient);
        sheet->SetBevelOuter(bvNone);
        sheet->SetColor(clBtnFace);
        const EditGallery g = PlaceEdits(sheet);
        g.focused->SetFocus();
        Ui().RunUntilIdle();
        g.focused->SetSelStart(9);
        g.focused->SetSelLength(4);
        // One pointer: it rests on the hot combo's button, whose face changes;
        // a hot edit looks like a normal one in these looks.
        Ui().MoveMouseTo(g.hot, TPoint{g.hot->GetButtonRect().left + 3, 8});
        const auto file = folder / name;
        EXPECT_TRUE(Ui().SaveScreenshot(Form(), file.string()));
        EXPECT_GT(std::filesystem::file_size(file), 0u);
        delete sheet;
        Ui().RunUntilIdle();
    }
}

}  // namespace
}  // namespace tarvel::testing

// The skinned frame's and popup menu's first show played by the effects
// engine: the window grows out of the screen behind it over the
// animation's time.

#include <algorithm>

#include "platform/base/Ticks.h"
#include "platform/classlib/Timers.h"
#include "platform/winsys/Backend.h"
#include "skin/extras/te_effect.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

class ShowAnimationTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        InitEffects();
        under_ = MakeBackdrop(TColor(0x0000FF));
    }
    void TearDown() override {
        delete under_;
        FrameTest::TearDown();
        DoneEffects();
    }
    uint32_t ScreenPixel(TPoint at) { return ui_.Backend().ScreenPixels()->Pixel(at.x, at.y) & 0xFFFFFF; }

    // Shows a white form with a 200 ms fade; answers the screen at the
    // client's centre every 40 ms of the show and how long it took.
    std::vector<uint32_t> ShowFading(uint32_t& took) {
        std::vector<uint32_t> seen;
        TTimer look(nullptr);
        look.SetInterval(40);
        look.OnTimer = [&](TObject*) { seen.push_back(ScreenPixel(TPoint{300, 250})); };
        look.SetEnabled(true);
        const uint32_t start = GetTickCount();
        MakeForm<TTeDefaultForm>(false, TTeBorderIcons{kbiClose, kbiSystemMenu}, TSize{400, 300},
                                 [](TTeDefaultForm* f) {
                                     f->Animation()->SetEffectKind("Fade");
                                     f->Animation()->SetTime(200);
                                     f->Animation()->SetEnabled(true);
                                 });
        took = GetTickCount() - start;
        look.SetEnabled(false);
        return seen;
    }
    TForm* under_ = nullptr;
};

TEST_F(ShowAnimationTest, TheFirstShowFadesFromTheScreenToTheForm) {
    uint32_t took = 0;
    const std::vector<uint32_t> seen = ShowFading(took);
    EXPECT_GE(took, 200u);
    // Red behind, white in front: somewhere on the way both are mixed.
    const bool mixed = std::any_of(seen.begin(), seen.end(), [](uint32_t p) {
        const uint32_t green = (p >> 8) & 0xFF;
        return (p >> 16) >= 0xF0 && green > 0x20 && green < 0xE0;
    });
    EXPECT_TRUE(mixed) << seen.size() << " looks";
    EXPECT_EQ(ScreenPixel(TPoint{300, 250}), 0xFFFFFFu);
}

TEST_F(ShowAnimationTest, WithoutTheEngineTheFormShowsAtOnce) {
    DoneEffects();
    uint32_t took = 0;
    ShowFading(took);
    EXPECT_LT(took, 200u);
    EXPECT_EQ(ScreenPixel(TPoint{300, 250}), 0xFFFFFFu);
}

TEST_F(ShowAnimationTest, APopupMenuFadesInBeforeItTakesInput) {
    MakeForm(true);
    auto* menu = new TTePopupMenu(form_);
    auto* item = new TTeItem(form_);
    item->SetCaption(u"&Refresh");
    menu->Items()->Add(item);
    menu->PopupMenuOptions()->Animation()->SetEffectKind("Fade");
    menu->PopupMenuOptions()->Animation()->SetTime(200);
    menu->PopupMenuOptions()->Animation()->SetEnabled(true);
    uint32_t took = 0;
    const uint32_t start = GetTickCount();
    ui_.WhenModal([&] {
        took = GetTickCount() - start;
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.Backend().MouseMove(TPoint{20, 20});
    menu->Popup(300, 200);
    EXPECT_GE(took, 200u);
    EXPECT_TRUE(ui_.Problems().empty());
}

}  // namespace
}  // namespace tarvel::testing

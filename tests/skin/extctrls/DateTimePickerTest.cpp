// The skinned date-time picker: the drop-down calendar with its button
// redrawn six ticks, the up-down's halves drawn by the theme, and the
// calendar's colours following the theme.

#include "NativeThemeFixture.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extctrls/te_extctrls_datetime.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;
using testing::TNativeRecordingTheme;

class SkinnedPickerTest : public NativeWrapperTest {
protected:
    TTeDateTimePicker* MakePicker(TDateTimeKind kind) {
        auto* picker = Make<TTeDateTimePicker>(20, 20);
        picker->SetKind(kind);
        picker->SetDateTime(EncodeDate(2026, 3, 10) + EncodeTime(12, 30, 0, 0));
        ui_.RunUntilIdle();
        return picker;
    }
    static int LastState(const TNativeRecordingTheme* theme, const String& op, int kind) {
        int state = -1;
        for (const auto& call : theme->CallsOf(op))
            if (call.kind == kind) state = call.state;
        return state;
    }
};

TEST_F(SkinnedPickerTest, CalendarDropsDownWithThePressedButtonRedrawnSixTicks) {
    auto* theme = UseRecordingTheme();
    TTeDateTimePicker* picker = MakePicker(dtkDate);
    theme->calls.clear();
    TControl* dropped = picker->UiDropDown();
    ui_.RunUntilIdle();
    ASSERT_TRUE(picker->DroppedDown());
    EXPECT_TRUE(dropped->Visible());
    EXPECT_TRUE(picker->ButtonRedrawRunning());
    EXPECT_EQ(LastState(theme, "EditDrawButton", kebcDropDown), kebdsPressed);
    EXPECT_EQ(picker->Calendar()->CalColors()->TitleBackColor,
              CurrentTheme->Colors()->GetColor(ktcCaptionNormal));
    ui_.AdvanceClock(250);
    EXPECT_TRUE(picker->ButtonRedrawRunning());
    ui_.AdvanceClock(60);
    EXPECT_FALSE(picker->ButtonRedrawRunning());
    ui_.PickItem(picker, "20");
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(picker->Date(), EncodeDate(2026, 3, 20));
    theme->calls.clear();
    Repaint(theme, picker);
    EXPECT_EQ(LastState(theme, "EditDrawButton", kebcDropDown), kebdsNormal);
}

TEST_F(SkinnedPickerTest, UpDownHalvesDrawnPressedAndHotByTheTheme) {
    auto* theme = UseRecordingTheme();
    TTeDateTimePicker* picker = MakePicker(dtkTime);
    ASSERT_NE(picker->UpDown(), nullptr);
    ASSERT_EQ(picker->HookedUpDown(), picker->UpDown()->Handle());
    picker->SetFocusedField(0);
    TUpDown* upDown = picker->UpDown();
    const int h = upDown->ClientHeight();
    const TPoint lower{upDown->ClientWidth() / 2, h - 2};
    theme->calls.clear();
    Down(upDown, lower);
    EXPECT_EQ(LastState(theme, "ScrollDrawButton", ksbcDown), ksbdsPressed);
    EXPECT_EQ(LastState(theme, "ScrollDrawButton", ksbcUp), ksbdsNormal);
    Up(upDown, lower);
    EXPECT_EQ(DecodeDateTime(picker->DateTime()).hour, 11) << "the native stepping still runs";
    EXPECT_EQ(LastState(theme, "ScrollDrawButton", ksbcDown), ksbdsHot);
    // Leaving the up-down keeps the half it hovered hot: only moves over it change that.
    MoveTo(Form(), TPoint{390, 290});
    theme->calls.clear();
    InvalidateRect(upDown->Handle(), nullptr, false);
    ui_.RunUntilIdle();
    EXPECT_EQ(LastState(theme, "ScrollDrawButton", ksbcDown), ksbdsHot);
    for (const auto& call : theme->CallsOf("ScrollDrawButton")) EXPECT_EQ(call.rect.Height(), h / 2);
}

TEST_F(SkinnedPickerTest, ReleasedThemeGivesBackColoursAndTheNativeUpDown) {
    TTeDateTimePicker* picker = MakePicker(dtkTime);
    const TColor own = picker->CalColors()->TitleBackColor;
    EXPECT_EQ(picker->HookedUpDown(), nullptr) << "no theme, nothing hooked";
    UseRecordingTheme();
    EXPECT_NE(picker->HookedUpDown(), nullptr);
    EXPECT_EQ(picker->CalColors()->BackColor, clNone);
    ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_EQ(picker->HookedUpDown(), nullptr);
    EXPECT_EQ(picker->CalColors()->TitleBackColor, own);
}

}  // namespace
}  // namespace tarvel

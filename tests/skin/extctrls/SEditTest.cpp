// The skinned native edit: one line kept one line, the frame's states from
// the theme or in the classic look, and the month calendar's colours.

#include "NativeThemeFixture.h"
#include "platform/classlib/Clipbrd.h"
#include "skin/core/te_theme_manager.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;

class SEditTest : public NativeWrapperTest {
protected:
    TTeSEdit* MakeEdit(const String& text) {
        auto* edit = Make<TTeSEdit>(20, 20);
        edit->SetText(text);
        edit->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { downs.push_back(key); };
        edit->OnKeyPress = [this](TObject*, char16_t& key) { presses.push_back(key); };
        edit->SetFocus();
        ui_.RunUntilIdle();
        return edit;
    }
    std::vector<WORD> downs;
    std::vector<char16_t> presses;
};

TEST_F(SEditTest, OneLineStaysOneLine) {
    struct Case {
        const char* name;
        UINT key;
        TShiftState shift;
        int start;
        const char* paste;  // pasted over the selection instead of a key when set
        WORD seenDown;
        bool pressSeen;
        const char* text;
        int caret;
    };
    const Case cases[] = {
        {"up walks left", VK_UP, {}, 4, nullptr, VK_LEFT, false, "1234", 3},
        {"down walks right", VK_DOWN, {}, 3, nullptr, VK_RIGHT, false, "1234", 4},
        {"enter is seen down, never typed", VK_RETURN, {}, 4, nullptr, VK_RETURN, false, "1234", 4},
        {"ctrl+enter types no line feed", VK_RETURN, {ssCtrl}, 4, nullptr, VK_RETURN, false, "1234", 4},
        {"a paste loses its line breaks", 0, {}, 2, "56\r\n78", 0, false, "125678", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeSEdit* edit = MakeEdit("1234");
        edit->SetSelStart(c.start);
        if (c.paste) {
            edit->SetSelLength(2);
            Clipboard().SetAsText(c.paste);
            edit->PasteFromClipboard();
        } else {
            downs.clear();
            presses.clear();
            ui_.PressKey(c.key, c.shift);
            ASSERT_FALSE(downs.empty());
            EXPECT_EQ(downs.back(), c.seenDown);
            EXPECT_EQ(std::find(presses.begin(), presses.end(), u'\r'), presses.end());
            EXPECT_EQ(std::find(presses.begin(), presses.end(), u'\n'), presses.end());
        }
        EXPECT_EQ(edit->Text(), c.text);
        EXPECT_EQ(edit->SelStart(), c.caret);
        delete edit;
    }
}

TEST_F(SEditTest, FrameStatesPreferHoverOverFocus) {
    struct Case {
        const char* name;
        bool enabled, hovered, focused;
        int state;
    };
    const Case cases[] = {
        {"normal", true, false, false, kedsNormal},     {"focused", true, false, true, kedsFocused},
        {"hovered", true, true, false, kedsHot},        {"hovered and focused", true, true, true, kedsHot},
        {"disabled", false, true, false, kedsDisabled},
    };
    auto* theme = UseRecordingTheme();
    auto* other = Make<TTeSEdit>(20, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeSEdit* edit = Make<TTeSEdit>(20, 20);
        edit->SetEnabled(c.enabled);
        (c.focused ? edit : other)->SetFocus();
        MoveTo(c.hovered ? static_cast<TControl*>(edit) : Form(), TPoint{3, 3});
        Repaint(theme, edit);
        const TRect window{0, 0, edit->Width(), edit->Height()};
        bool frame = false;
        for (const auto& call : theme->CallsOf("EditDraw"))
            if (call.rect == window) {
                frame = true;
                EXPECT_EQ(call.state, c.state);
                EXPECT_EQ(call.object, "default");
            }
        EXPECT_TRUE(frame);
        MoveTo(Form(), TPoint{390, 290});
        delete edit;
    }
}

TEST_F(SEditTest, WithoutBorderTheFrameFallsOutsideTheWindow) {
    auto* theme = UseRecordingTheme();
    TTeSEdit* edit = Make<TTeSEdit>(20, 20);
    edit->SetBorderStyle(bsNone);
    Repaint(theme, edit);
    const TRect outside{-2, -2, edit->Width() + 2, edit->Height() + 2};
    bool frame = false;
    for (const auto& call : theme->CallsOf("EditDraw")) frame |= call.rect == outside;
    EXPECT_TRUE(frame);
}

TEST_F(SEditTest, WithoutThemeAClassicDoubleSunkenFrameAndTheColour) {
    TTeSEdit* edit = Make<TTeSEdit>(20, 20);
    edit->SetColor(TColor(0x00C0FF));
    ui_.RunUntilIdle();
    const TPoint origin = edit->ClientToScreen(TPoint{0, 0});
    const auto screen = ui_.Backend().ScreenPixels();
    const TPoint window{origin.x - 2, origin.y - 2};
    auto at = [&](int x, int y) { return screen->Pixel(window.x + x, window.y + y) & 0xFFFFFF; };
    EXPECT_EQ(at(0, 0), ColorToRGB(clBtnShadow) & 0xFFFFFF);
    EXPECT_EQ(at(1, 1), ColorToRGB(cl3DDkShadow) & 0xFFFFFF);
    EXPECT_EQ(at(edit->Width() - 1, edit->Height() - 1), ColorToRGB(clBtnHighlight) & 0xFFFFFF);
    EXPECT_EQ(ShownAt(edit, edit->ClientWidth() - 2, 2), 0xFFC000u);
}

TEST_F(SEditTest, CalendarTakesTheCaptionColoursAndGivesThemBack) {
    auto* calendar = Make<TTeMonthCalendar>(20, 20);
    const TColor own = calendar->CalColors()->TitleBackColor;
    UseRecordingTheme();
    EXPECT_EQ(calendar->CalColors()->TitleBackColor, CurrentTheme->Colors()->GetColor(ktcCaptionNormal));
    EXPECT_EQ(calendar->CalColors()->TitleTextColor,
              CurrentTheme->Fonts()->GetFont(ktfCaptionTextNormal)->Color());
    EXPECT_EQ(calendar->CalColors()->BackColor, clNone);
    ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_EQ(calendar->CalColors()->TitleBackColor, own);
    EXPECT_EQ(calendar->CalColors()->BackColor, clWindow);
}

TEST_F(SEditTest, TheContextMenuIsTheSkinsMenuAndItsChoiceActs) {
    InitForms();
    TTeSEdit* edit = MakeEdit("1234");
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    std::vector<std::pair<WideString, bool>> entries;
    ui_.WhenModal([&] {
        ASSERT_NE(ActivePopupMenu, nullptr) << "not the skin's menu";
        TTeItem* items = ActivePopupMenu->Items();
        for (int i = 0; i < items->Count(); ++i)
            entries.emplace_back(items->GetItem(i)->Caption(), items->GetItem(i)->Enabled());
        ui_.PressKey('D');  // "&Delete"
    });
    Clipboard().SetAsText("x");
    edit->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(0xFFFFFFFF));
    ui_.RunUntilIdle();
    const std::vector<std::pair<WideString, bool>> want = {
        {u"&Undo", false}, {u"-", true},       {u"Cu&t", true}, {u"&Copy", true},
        {u"&Paste", true}, {u"&Delete", true}, {u"-", true},    {u"Select &All", true}};
    EXPECT_EQ(entries, want);
    EXPECT_EQ(edit->GetText(), "34") << "Delete took the selection";
    EXPECT_EQ(ActivePopupMenu, nullptr);
    EXPECT_TRUE(ui_.Problems().empty());
    delete edit;
    DoneForms();
}

}  // namespace
}  // namespace tarvel

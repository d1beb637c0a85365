// The extended combo box: items with images and indents; the begin-edit and
// end-edit notifications of its edit part.

#include <gtest/gtest.h>

#include <functional>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/ComCtrls_ComboBoxEx.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

TEST(ComboBoxExTest, ItemsWithImagesAndIndentsArePickedAndDrawn) {
    TUiDriver ui;
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 300, 200);
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images->Add(&red, nullptr);
    auto* combo = new TComboBoxEx(form);
    combo->SetName("Shell");
    combo->SetParent(form);
    combo->SetBounds(10, 10, 200, 24);
    combo->SetImages(images);
    combo->AddItem({"Desktop", 0, 0, -1, 0, nullptr});
    combo->AddItem({"Documents", 0, 0, -1, 1, nullptr});
    combo->AddItem({"Reports", -1, -1, -1, 2, nullptr});
    form->Show();
    ui.RunUntilIdle();

    EXPECT_EQ(combo->IndexOfCaption("documents"), 1);
    combo->SetStyleEx({csExCaseSensitive});
    EXPECT_EQ(combo->IndexOfCaption("documents"), -1);
    EXPECT_THROW(combo->ItemsEx(3), EListError);

    ui.PickItem(combo, "Documents");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Documents");

    // The face shows the image without the indent; the list indents it.
    ui.Click(form);
    combo->Repaint();
    ui.RunUntilIdle();
    HDC dc = GetDC(combo->Handle());
    EXPECT_EQ(GetPixel(dc, 6, combo->ClientHeight() / 2), ColorToColorRef(clRed));
    ReleaseDC(combo->Handle(), dc);
    combo->SetDroppedDown(true);
    combo->ListBox()->Repaint();
    ui.RunUntilIdle();
    TRect second = combo->ListBox()->ItemRect(1);
    HDC list = GetDC(combo->ListBox()->Handle());
    EXPECT_NE(GetPixel(list, 4, (second.top + second.bottom) / 2), ColorToColorRef(clRed));
    EXPECT_EQ(GetPixel(list, 2 + TComboBoxEx::kIndentWidth + 4, (second.top + second.bottom) / 2),
              ColorToColorRef(clRed));
    ReleaseDC(combo->ListBox()->Handle(), list);
    combo->SetDroppedDown(false);
}

class ComboBoxExEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetBounds(50, 50, 300, 200);
        combo = new TComboBoxEx(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 200, 24);
        combo->SetStyle(csDropDown);
        for (const char* caption : {"Desktop", "Documents", "Reports"})
            combo->AddItem({caption, -1, -1, -1, 0, nullptr});
        other = new TEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 100, 100, 21);
        inherited = form->WindowProc;
        form->WindowProc = [this](TMessage& m) {
            const auto* header = m.Msg == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(m.LParam) : nullptr;
            if (header && header->hwndFrom == combo->Handle() && header->code == CBEN_BEGINEDIT)
                log.push_back("BEGIN");
            if (header && header->hwndFrom == combo->Handle() && header->code == CBEN_ENDEDIT) {
                const auto* end = reinterpret_cast<const NMCBEENDEDIT*>(m.LParam);
                log.push_back("END why " + IntToStr(end->iWhy) + (end->fChanged ? " changed" : " same") +
                              " item " + IntToStr(end->iNewSelection) + " '" + end->szText + "' text now '" +
                              combo->Text() + "'");
            }
            inherited(m);
        };
        combo->OnBeginEdit = [this](TObject*) { log.push_back("OnBeginEdit"); };
        combo->OnEndEdit = [this](TObject*) { log.push_back("OnEndEdit"); };
        form->Show();
        ui.RunUntilIdle();
    }
    void TearDown() override { form->WindowProc = inherited; }

    TUiDriver ui;
    TForm* form = nullptr;
    TComboBoxEx* combo = nullptr;
    TEdit* other = nullptr;
    std::function<void(TMessage&)> inherited;
    std::vector<String> log;
};

// An edit runs from the focus coming into the edit part (or the first change
// after the last edit ended) to its end; each end tells why, whether the
// text changed, the item it names and the text. Escape puts the text back.
TEST_F(ComboBoxExEditTest, EachWayAnEditEndsIsToldWithTheText) {
    struct Case {
        const char* what;
        std::function<void()> action;
        std::vector<String> expected;
    };
    const auto typed = [&](const char* text) {
        combo->SetFocus();  // the edit takes it, all selected
        ui.Type(text);
    };
    const Case cases[] = {
        {"Enter",
         [&] {
             typed("Documents");
             ui.PressKey(VK_RETURN);
         },
         {"BEGIN", "OnBeginEdit", "END why 2 changed item 1 'Documents' text now 'Documents'", "OnEndEdit"}},
        {"Escape",
         [&] {
             typed("xyz");
             ui.PressKey(VK_ESCAPE);
         },
         {"BEGIN", "OnBeginEdit", "END why 3 same item 0 'Desktop' text now 'Desktop'", "OnEndEdit"}},
        {"the focus leaving",
         [&] {
             typed("reports");
             other->SetFocus();
         },
         {"BEGIN", "OnBeginEdit", "END why 1 changed item 2 'reports' text now 'reports'", "OnEndEdit"}},
        {"the list dropping down",
         [&] {
             typed("Doc");
             ui.PressKey(VK_F4);
         },
         {"BEGIN", "OnBeginEdit", "END why 4 changed item -1 'Doc' text now 'Doc'", "OnEndEdit"}},
        {"a click into the edit", [&] { ui.Click(combo); }, {"BEGIN", "OnBeginEdit"}},
        {"typing after Enter begins again",
         [&] {
             typed("Doc");
             ui.PressKey(VK_RETURN);
             ui.Type("s");
         },
         {"BEGIN", "OnBeginEdit", "END why 2 changed item -1 'Doc' text now 'Doc'", "OnEndEdit", "BEGIN",
          "OnBeginEdit"}},
        {"entering with nothing typed",
         [&] {
             combo->SetFocus();
             other->SetFocus();
         },
         {"BEGIN", "OnBeginEdit", "END why 1 same item 0 'Desktop' text now 'Desktop'", "OnEndEdit"}},
    };
    for (const Case& c : cases) {
        combo->SetDroppedDown(false);
        other->SetFocus();
        combo->SetText("Desktop");
        ui.RunUntilIdle();
        log.clear();
        c.action();
        EXPECT_EQ(log, c.expected) << c.what;
    }
    // Without an edit part there is nothing to edit.
    other->SetFocus();
    combo->SetStyle(csDropDownList);
    log.clear();
    combo->SetFocus();
    ui.PressKey(VK_DOWN);
    other->SetFocus();
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace tarvel

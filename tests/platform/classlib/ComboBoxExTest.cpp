// The extended combo box: items with images and indents.

#include <gtest/gtest.h>

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
    EXPECT_EQ(GetPixel(list, 2 + TComboBoxEx::kIndentWidth + 4, (second.top + second.bottom) / 2), ColorToColorRef(clRed));
    ReleaseDC(combo->ListBox()->Handle(), list);
    combo->SetDroppedDown(false);
}

}  // namespace
}  // namespace tarvel

// The skinned extended combo: themed items with their indents and images,
// the themed face and button, the dropped list, the keyboard, and the
// strings that keep the combo's window and its items in step.

#include "NativeThemeFixture.h"
#include "platform/classlib/Bitmaps.h"
#include "skin/extctrls/te_extctrls_comboex.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;

class ComboBoxExSkinTest : public NativeWrapperTest {
protected:
    TTeComboBoxEx* MakeCombo(TComboBoxStyle style) {
        auto* combo = Make<TTeComboBoxEx>(20, 20);
        combo->SetStyle(style);
        combo->SetWidth(200);
        auto* images = new TImageList(Form());
        images->SetSize(16, 16);
        TBitmap red;
        red.SetSize(16, 16);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(TRect{0, 0, 16, 16});
        images->Add(&red, nullptr);
        combo->SetImages(images);
        combo->ItemsEx()->AddItem("Pack", 0, 0, -1, 0, nullptr);
        combo->ItemsEx()->AddItem("Module 1", 0, 0, -1, 1, nullptr);
        combo->ItemsEx()->AddItem("Cell 3", 0, 0, -1, 2, nullptr);
        combo->ItemsEx()->AddItem("Notes", -1, -1, -1, 1, nullptr);
        ui_.RunUntilIdle();
        return combo;
    }
    static String NativeText(HWND combo, int index) {
        const LRESULT length = SendMessage(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0) return "<none>";
        String text(static_cast<size_t>(length) + 1, '\0');
        SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        return text.c_str();
    }
    // The native list and the items, caption by caption.
    static void ExpectInStep(TTeComboBoxEx* combo, const std::vector<String>& captions) {
        ASSERT_EQ(SendMessage(combo->Handle(), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(captions.size()));
        ASSERT_EQ(combo->ItemsExCount(), static_cast<int>(captions.size()));
        for (int i = 0; i < static_cast<int>(captions.size()); ++i) {
            EXPECT_EQ(NativeText(combo->Handle(), i), captions[i]) << i;
            EXPECT_EQ(combo->ItemsEx(i).Caption, captions[i]) << i;
        }
    }
};

TEST_F(ComboBoxExSkinTest, DroppedListIndentsEachItemAndDrawsItsImage) {
    auto* theme = UseRecordingTheme();
    TTeComboBoxEx* combo = MakeCombo(csDropDownList);
    HWND list = OpenByButton(combo);
    ASSERT_TRUE(list);
    EXPECT_FALSE(theme->CallsOf("ListDraw").empty());
    EXPECT_GE(theme->CallsOf("ListDrawItem").size(), 4u);

    struct Case {
        int index;
        bool image;
        int indent;
    };
    const Case cases[] = {{0, true, 0}, {1, true, 1}, {2, true, 2}, {3, false, 1}};
    HDC dc = GetDC(list);
    for (const Case& c : cases) {
        const TRect r = combo->ListBox()->ItemRect(c.index);
        const int y = (r.top + r.bottom) / 2;
        const int imageX = 2 + c.indent * TComboBoxEx::kIndentWidth;
        EXPECT_EQ(GetPixel(dc, imageX + 8, y) == ColorToColorRef(clRed), c.image) << c.index;
        // Left of the (indented) image lies the theme's item background.
        EXPECT_NE(GetPixel(dc, imageX - 2, y), ColorToColorRef(clRed)) << c.index;
    }
    ReleaseDC(list, dc);

    ui_.PickItem(combo, "Cell 3");
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "Cell 3");
}

TEST_F(ComboBoxExSkinTest, FaceShowsButtonAndTheChosenItemsImageWithoutIndent) {
    auto* theme = UseRecordingTheme();
    TTeComboBoxEx* combo = MakeCombo(csDropDownList);
    combo->SetItemIndex(2);
    Repaint(theme, combo);
    ExpectThemedFace(theme, combo, true);
    const int y = combo->ClientHeight() / 2;
    HDC dc = GetDC(combo->Handle());
    EXPECT_EQ(GetPixel(dc, 2 + 8, y), ColorToColorRef(clRed));
    ReleaseDC(combo->Handle(), dc);
}

// A new theme without a List element hands the items back to the class
// library's drawing; the items and the choice stay.
TEST_F(ComboBoxExSkinTest, ThemeChangeKeepsItemsAndChoice) {
    auto* theme = UseRecordingTheme();
    TTeComboBoxEx* combo = MakeCombo(csDropDownList);
    combo->SetItemIndex(1);
    Repaint(theme, combo);
    EXPECT_FALSE(theme->CallsOf("ListDrawItem").empty());
    auto* plain = UseRecordingTheme(false);
    Repaint(plain, combo);
    EXPECT_TRUE(plain->CallsOf("ListDrawItem").empty());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->ItemsExCount(), 4);
    EXPECT_EQ(combo->ItemsEx(2).Indent, 2);
    HDC dc = GetDC(combo->Handle());
    EXPECT_EQ(GetPixel(dc, 2 + 8, combo->ClientHeight() / 2), ColorToColorRef(clRed));
    ReleaseDC(combo->Handle(), dc);
}

TEST_F(ComboBoxExSkinTest, ArrowKeysChooseTheNextAndPreviousItem) {
    UseRecordingTheme();
    TTeComboBoxEx* combo = MakeCombo(csDropDownList);
    std::vector<int> selected;
    combo->OnSelect = [&](TObject*) { selected.push_back(combo->ItemIndex()); };
    combo->SetFocus();
    combo->SetItemIndex(0);
    ui_.RunUntilIdle();
    ui_.PressKey(VK_DOWN);
    ui_.PressKey(VK_DOWN);
    ui_.PressKey(VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "Module 1");
    EXPECT_EQ(selected, (std::vector<int>{1, 2, 1}));
}

TEST_F(ComboBoxExSkinTest, StringsKeepTheWindowAndTheItemsInStep) {
    TTeComboBoxEx* combo = MakeCombo(csDropDown);
    TTeComboBoxExStrings* strings = combo->ItemStrings();
    combo->SetText("typed");

    EXPECT_EQ(strings->Add("Log"), 4);
    strings->Insert(1, "Bus");
    ExpectInStep(combo, {"Pack", "Bus", "Module 1", "Cell 3", "Notes", "Log"});
    strings->Delete(0);
    strings->Put(2, "Cell 4");
    ExpectInStep(combo, {"Bus", "Module 1", "Cell 4", "Notes", "Log"});
    EXPECT_EQ(combo->ItemsEx(2).Indent, 2) << "Put keeps the rest of the item";

    strings->PutObject(1, Form());
    EXPECT_EQ(strings->GetObject(1), Form());
    strings->Exchange(1, 2);
    ExpectInStep(combo, {"Bus", "Cell 4", "Module 1", "Notes", "Log"});
    EXPECT_EQ(combo->ItemsEx(2).Indent, 1);
    EXPECT_EQ(strings->GetObject(2), Form());

    EXPECT_EQ(strings->IndexOf("MODULE 1"), 2);
    EXPECT_EQ(strings->IndexOf("Module"), -1);
    EXPECT_EQ(strings->Get(9), "");
    EXPECT_THROW(strings->Delete(5), EListError);
    EXPECT_THROW(strings->Insert(7, "x"), EListError);
    EXPECT_THROW(strings->Put(-1, "x"), EListError);
    ExpectInStep(combo, {"Bus", "Cell 4", "Module 1", "Notes", "Log"});

    const String longCaption(5000, 'v');
    strings->Put(4, longCaption);
    EXPECT_EQ(strings->Get(4), longCaption);

    strings->Clear();
    ExpectInStep(combo, {});
    EXPECT_EQ(combo->Text(), "typed");
}

TEST_F(ComboBoxExSkinTest, ItemsWriteEveryChangeToTheComboAtOnce) {
    auto* combo = Make<TTeComboBoxEx>(20, 20);
    TTeComboBoxExItems* items = combo->ItemsEx();
    TTeComboBoxExItem* first = items->Add();
    EXPECT_EQ(first->ImageIndex(), -1);
    EXPECT_EQ(first->SelectedImageIndex(), -1);
    EXPECT_EQ(first->OverlayImageIndex(), -1);
    EXPECT_EQ(first->Indent(), -1);
    EXPECT_EQ(combo->ItemsExCount(), 1) << "the new item is in the combo";
    EXPECT_EQ(combo->ItemsEx(0).Indent, 0) << "an unset indent is none";

    first->SetCaption("Pack");
    first->SetImageIndex(3);
    first->SetIndent(2);
    first->SetOverlayImageIndex(1);
    EXPECT_EQ(first->SelectedImageIndex(), 3) << "an unset selected image follows the image";
    first->SetSelectedImageIndex(5);
    first->SetImageIndex(4);
    EXPECT_EQ(first->SelectedImageIndex(), 5) << "a selected image of its own stays";
    const TComboExItem shown = combo->ItemsEx(0);
    EXPECT_EQ(shown.Caption, "Pack");
    EXPECT_EQ(shown.ImageIndex, 4);
    EXPECT_EQ(shown.SelectedImageIndex, 5);
    EXPECT_EQ(shown.OverlayImageIndex, 1);
    EXPECT_EQ(shown.Indent, 2);

    // Sorted by text: a caption set re-sorts, and the combo follows.
    items->AddItem("Cell", 0, 0, -1, 1, nullptr);
    items->SetSortType(stText);
    ExpectInStep(combo, {"Cell", "Pack"});
    items->GetComboItem(0)->SetCaption("Zone");
    ExpectInStep(combo, {"Pack", "Zone"});
    items->Insert(1)->SetCaption("Bus");
    ExpectInStep(combo, {"Bus", "Pack", "Zone"});
    items->SetSortType(stNone);
    items->Delete(1);
    ExpectInStep(combo, {"Bus", "Zone"});

    // Assign takes the look, not the data, and writes nothing by itself.
    int data = 0;
    items->GetComboItem(0)->SetData(&data);
    TTeComboBoxExItems copy(nullptr);
    copy.Assign(items);
    EXPECT_EQ(copy.GetComboItem(1)->Caption(), "Zone");
    EXPECT_EQ(copy.GetComboItem(0)->Data(), nullptr);
    EXPECT_EQ(copy.GetComboItem(1)->Indent(), 1);
    ExpectInStep(combo, {"Bus", "Zone"});
    items->Clear();
    ExpectInStep(combo, {});
}

// The strings of a plain combo work on its window alone.
TEST_F(ComboBoxExSkinTest, PlainComboStringsWorkThroughTheWindow) {
    auto* combo = Make<TTeSComboBox>(20, 60);
    combo->Items()->Add("One");
    combo->Items()->Add("Two");
    combo->SetText("kept");
    TTeCustomComboBoxStrings strings(combo);
    strings.Insert(1, "Between");
    strings.Delete(0);
    EXPECT_EQ(strings.Count(), 2);
    EXPECT_EQ(strings.Get(0), "Between");
    EXPECT_EQ(combo->Items()->Strings(1), "Two");
    strings.BeginUpdate();
    strings.Add("Three");
    strings.EndUpdate();
    EXPECT_EQ(strings.IndexOf("three"), 2);
    EXPECT_THROW(strings.Delete(3), EListError);
    strings.Clear();
    EXPECT_EQ(strings.Count(), 0);
    EXPECT_EQ(combo->Text(), "kept");
}

}  // namespace
}  // namespace tarvel

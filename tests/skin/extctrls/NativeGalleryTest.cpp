// The skinned native controls in the flat theme, saved as pictures under
// the build folder for people to look at: once with the combo's list
// dropped, once with the picker's calendar open; a scrolled list box in both.

#include <gtest/gtest.h>

#include <filesystem>

#include "NativeThemeFixture.h"
#include "platform/gdi/Gdi.h"
#include "skin/extctrls/te_extctrls_combo.h"
#include "skin/extctrls/te_extctrls_datetime.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extctrls/te_extctrls_listbox.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

class NativeGalleryTest : public testing::NativeWrapperTest {};

TEST_F(NativeGalleryTest, FlatThemeWithListAndCalendarOpenIsSavedAsPictures) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    form_->SetColor(clBtnFace);
    auto* edit = Make<TTeSEdit>(20, 20);
    edit->SetText("3.285");
    auto* centred = Make<TTeSEdit>(20, 50);
    centred->SetTextAlign(taCenter);
    centred->SetText("centred");
    auto* disabled = Make<TTeSEdit>(20, 80);
    disabled->SetText("disabled");
    disabled->SetEnabled(false);
    auto* combo = Make<TTeSComboBox>(160, 20);
    combo->SetStyle(csDropDownList);
    for (int i = 1; i <= 20; ++i) combo->Items()->Add("Module " + std::to_string(i));
    combo->SetItemIndex(3);
    auto* editable = Make<TTeSComboBox>(270, 160);
    editable->Items()->Add("9600");
    editable->SetText("115200");
    auto* date = Make<TTeDateTimePicker>(20, 120);
    date->SetDateTime(EncodeDate(2026, 3, 10));
    auto* time = Make<TTeDateTimePicker>(20, 150);
    time->SetKind(dtkTime);
    time->SetDateTime(EncodeTime(12, 30, 5, 0));
    auto* list = Make<TTeSListBox>(20, 190);
    list->SetBounds(20, 190, 130, 90);
    for (int i = 1; i <= 30; ++i) list->Items()->Add("Cell " + std::to_string(i));
    list->SetItemIndex(12);
    ui_.RunUntilIdle();

    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    auto save = [&](const char* file) {
        ui_.RunUntilIdle();
        const auto screen = ui_.Backend().ScreenPixels();
        const std::filesystem::path path = folder / file;
        ASSERT_TRUE(WritePng(*screen, path.c_str())) << path;
        EXPECT_GT(std::filesystem::file_size(path), 1000u);
    };
    Down(combo, TPoint{combo->ClientWidth() - 5, 5});
    Up(combo, TPoint{combo->ClientWidth() - 5, 5});
    ASSERT_TRUE(combo->DroppedDown());
    SendMessage(combo->ListBox()->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    save("native_flat_combo.png");
    combo->SetDroppedDown(false);
    date->UiDropDown();
    ASSERT_TRUE(date->DroppedDown());
    save("native_flat_picker.png");
    date->CloseUp(false);
}

}  // namespace
}  // namespace tarvel

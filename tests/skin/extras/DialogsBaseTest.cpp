// The dialog components: every Execute builds its form, runs it modally and
// frees it, reads results only when accepted and keeps its place; the colour,
// font and folder dialogs lay out their panels and buttons.

#include <gtest/gtest.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/extras/te_dialogs_color.h"
#include "skin/extras/te_dialogs_dir.h"
#include "skin/extras/te_dialogs_font.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

class DialogsBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
    }
    void TearDown() override {
        ui_.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
        DoneThemeCore();
    }

    TRect BoundsOf(const char* name) { return ui_.Find(ui_.ModalForm(), name)->BoundsRect(); }

    TUiDriver ui_;
};

// A dialog that records what the base asks of it.
class TRecordingDialog : public TTeCustomDialog {
public:
    explicit TRecordingDialog(TComponent* owner) : TTeCustomDialog(owner) {}
    std::vector<String> calls;
    bool failInCreate = false;

protected:
    void CreateControls() override {
        calls.push_back("create");
        if (failInCreate) throw Exception("no panel");
        Form()->SetClientWidth(200);
        Form()->SetClientHeight(100);
        AddDialogButton(Form(), "OK", bkOK, "OK", TRect{20, 60, 90, 85}, {})->SetDefault(true);
        AddDialogButton(Form(), "Cancel", bkCancel, "Cancel", TRect{100, 60, 170, 85}, {})->SetCancel(true);
    }
    void EndDialog() override { calls.push_back("end"); }
    void SaveState() override {
        calls.push_back("save");
        bounds_ = Form()->BoundsRect();
        savedBounds_ = true;
    }
};

TEST_F(DialogsBaseTest, ExecuteRunsAModalSkinnedFormAndFreesIt) {
    TRecordingDialog dialog(Application);
    dialog.Shadow()->SetSize(7);
    ui_.WhenModal([&] {
        TForm* form = dialog.Form();
        ASSERT_EQ(ui_.ModalForm(), form);
        EXPECT_EQ(form->Tag, kDialogFormTag);
        EXPECT_EQ(form->Position(), poScreenCenter);
        EXPECT_EQ(dialog.Frame()->BorderStyle(), kbsDialog);
        EXPECT_EQ(dialog.Frame()->BorderIcons(), (TTeBorderIcons{kbiClose, kbiSystemMenu}));
        EXPECT_EQ(dialog.Frame()->Shadow()->Size(), 7);
        ui_.Click(form, "OK");
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.calls, (std::vector<String>{"create", "end", "save"}));
    EXPECT_EQ(dialog.Form(), nullptr);

    dialog.calls.clear();
    ui_.WhenModal([&] {
        EXPECT_EQ(dialog.Form()->Position(), poDefault) << "opens where it was left";
        ui_.Click(dialog.Form(), "Cancel");
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.calls, (std::vector<String>{"create", "save"})) << "nothing is read when cancelled";

    dialog.failInCreate = true;
    EXPECT_THROW(dialog.Execute(), Exception);
    EXPECT_EQ(dialog.Form(), nullptr);
    EXPECT_EQ(ui_.ModalForm(), nullptr);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(DialogsBaseTest, TheColourDialogSitsItsButtonsUnderTheSwatchesAndGivesTheChosenColour) {
    TTeColorDialog dialog(Application);
    dialog.SetColor(clRed);
    dialog.CustomColors()->Add("ColorA=00ff00");
    ui_.WhenModal([&] {
        TCustomForm* form = ui_.ModalForm();
        EXPECT_EQ(form->Caption(), "Color");
        EXPECT_EQ(form->ClientWidth(), 210);
        EXPECT_FALSE(dialog.Frame()->Dragging()->Sizeable);
        EXPECT_EQ(BoundsOf("OK"), (TRect{6, 264, 76, 289}));
        EXPECT_EQ(BoundsOf("Cancel"), (TRect{86, 264, 156, 289}));
        EXPECT_TRUE(ui_.Find<TTeButton>(form, "OK")->Default());
        EXPECT_EQ(dialog.Panel()->Color(), clRed);
        ui_.Click(form, "teShowFullColors");
        EXPECT_EQ(form->ClientWidth(), 430) << "the form widens with the panel";
        ui_.Find<TTeMaskEdit>(form, "teColorB")->SetText("255");
        ui_.Click(form, "teAddCustomButton");
        ui_.Click(form, "OK");
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), TColor{0xFF00FF});
    EXPECT_EQ(dialog.CustomColors()->Values("ColorA"), "ff00ff");

    ui_.WhenModal([&] {
        ui_.ClickAt(ui_.Find(ui_.ModalForm(), "BasicPaint"), TPoint{5, 5});
        ui_.Click(ui_.ModalForm(), "Cancel");
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), TColor{0xFF00FF});
}

TEST_F(DialogsBaseTest, TheFontDialogStacksItsButtonsBesideThePanelAndAppliesOnRequest) {
    TTeFontDialog dialog(Application);
    dialog.Font()->SetName("Liberation Sans");
    dialog.Font()->SetSize(10);
    dialog.MinFontSize = 6;
    dialog.MaxFontSize = 20;
    ui_.WhenModal([&] {
        TCustomForm* form = ui_.ModalForm();
        EXPECT_EQ(form->Caption(), "Font");
        EXPECT_EQ(form->ClientWidth(), 352 + 80);
        EXPECT_EQ(form->ClientHeight(), 331);
        EXPECT_EQ(BoundsOf("OK"), (TRect{352, 24, 422, 49}));
        EXPECT_EQ(BoundsOf("Cancel"), (TRect{352, 59, 422, 84}));
        EXPECT_EQ(form->FindComponent("Apply"), nullptr);
        EXPECT_EQ(dialog.Panel()->SizeList()->Items()->Get(0), "6");
        ui_.PickItem(dialog.Panel()->SizeList(), "12");
        ui_.Click(form, "OK");
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Size(), 12);
    EXPECT_EQ(dialog.Font()->Name(), "Liberation Sans");

    dialog.Options = TFontDialogOptions{fdEffects, fdApplyButton};
    std::vector<int> applied;
    ui_.WhenModal([&] {
        EXPECT_EQ(BoundsOf("Apply"), (TRect{352, 94, 422, 119}));
        ui_.Click(ui_.ModalForm(), "Apply");  // no handler yet: nothing happens
        EXPECT_EQ(dialog.Font()->Size(), 12);
        dialog.OnApply = [&](TObject* sender, HWND wnd) {
            EXPECT_EQ(sender, &dialog);
            EXPECT_EQ(wnd, nullptr);
            applied.push_back(dialog.Font()->Size());
        };
        ui_.PickItem(dialog.Panel()->SizeList(), "16");
        ui_.Click(ui_.ModalForm(), "Apply");
        ui_.Click(ui_.ModalForm(), "Cancel");
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(applied, std::vector<int>{16});
}

TEST_F(DialogsBaseTest, TheFolderDialogCentresItsButtonsUnderThePanel) {
    TTeDirectoryDialog dialog(Application);
    dialog.Directory = "/no/such/folder";
    ui_.WhenModal([&] {
        TCustomForm* form = ui_.ModalForm();
        EXPECT_EQ(form->Caption(), "Select Directory");
        EXPECT_EQ(form->ClientHeight(), 261 + 30);
        EXPECT_EQ(BoundsOf("OK"), (TRect{126 - 75, 261, 126 - 5, 286}));
        EXPECT_EQ(BoundsOf("Cancel"), (TRect{126 + 5, 261, 126 + 75, 286}));
        EXPECT_EQ(ui_.Text(ui_.Find(form, "teSelDir")), "/no/such/folder");
        ui_.Find<TTeSEdit>(form, "teSelDir")->SetText("/tmp");
        ui_.Click(form, "OK");
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Directory, "/tmp");
}

}  // namespace
}  // namespace tarvel

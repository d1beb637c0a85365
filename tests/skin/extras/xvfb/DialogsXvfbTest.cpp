// The colour, font and open-picture dialogs through the SDL backend on an
// Xvfb of their own, in the flat theme and in the tool's skin file, saved
// under screenshots/ in the build folder for people to look at and compared
// with their references.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "platform/base/Ticks.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/extras/te_dialogs_color.h"
#include "skin/extras/te_dialogs_font.h"
#include "skin/extras/te_dialogs_msgbox.h"
#include "skin/extras/te_dialogs_open.h"
#include "tests/skin/extras/DialogsRegistryFixture.h"
#include "tests/skin/extras/xvfb/SkinOnX11Fixture.h"

namespace tarvel {
namespace {

using testing::kLooks;
using testing::Look;
using testing::UseLook;

class DialogsOnX11 : public testing::SkinOnX11 {
protected:
    // Runs the dialog; once its window is on the screen `prepare` runs, and
    // a moment later the window, calm, is compared with its reference and the
    // dialog cancelled.
    bool ShotWhileModal(TTeCustomDialog& dialog, const std::string& name,
                        const std::function<void()>& prepare) {
        bool saved = false, prepared = false, done = false;
        DWORD preparedAt = 0;
        const DWORD start = GetTickCount();
        Application->OnIdle = [&](TObject*, bool& idleDone) {
            idleDone = false;
            TForm* form = dialog.Form();
            if (done || !form || !form->HandleAllocated()) return;
            if (!sdl->WindowPixels(form->Handle()) && GetTickCount() - start < 5000) return;
            if (!prepared) {
                prepare();
                Calm(form->Handle());
                prepared = true;
                preparedAt = GetTickCount();
                return;
            }
            if (GetTickCount() - preparedAt < 500) return;
            EXPECT_TRUE(MatchesReferenceNow(form->Handle(), name));
            saved = true;
            Unstill();
            done = true;
            form->SetModalResult(mrCancel);
        };
        dialog.Execute();
        Application->OnIdle = nullptr;
        return saved;
    }

    // Compares the box `box()` finds once it is on the screen with its
    // reference, then cancels it;
    // `run` opens the box and returns when it is closed.
    bool ShotOfModalBox(const std::function<TCustomForm*()>& box, const std::string& name,
                        const std::function<void()>& run) {
        bool saved = false, done = false;
        DWORD shownAt = 0;
        const DWORD start = GetTickCount();
        Application->OnIdle = [&](TObject*, bool& idleDone) {
            idleDone = false;
            TCustomForm* form = box();
            if (done || !form || !form->HandleAllocated()) return;
            if (!sdl->WindowPixels(form->Handle()) && GetTickCount() - start < 5000) return;
            if (shownAt == 0) {
                shownAt = GetTickCount();
                Calm(form->Handle());
            }
            if (GetTickCount() - shownAt < 500) return;
            EXPECT_TRUE(MatchesReferenceNow(form->Handle(), name));
            saved = true;
            Unstill();
            done = true;
            form->SetModalResult(mrCancel);
        };
        run();
        Application->OnIdle = nullptr;
        return saved;
    }
};

TEST_F(DialogsOnX11, TheMessageBoxAndTheInputBox) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        const auto activeBox = [] { return Screen->ActiveForm(); };
        EXPECT_TRUE(ShotOfModalBox(activeBox, std::string("dialog_message_") + look.suffix + ".png", [] {
            QvMessageDlg(u"Write the protection parameters to all 5 selected modules?", mtConfirmation,
                         TMsgDlgButtons{mbYes, mbNo});
        }));
        EXPECT_TRUE(ShotOfModalBox(activeBox, std::string("dialog_input_") + look.suffix + ".png", [] {
            WideString value = u"7309";
            QvInputQuery(u"Convert Version", u"Password:", value);
        }));
    }
}

TEST_F(DialogsOnX11, TheColourDialogOpenedFullWithCustomColours) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        TTeColorDialog dialog(Application);
        dialog.Options = TColorDialogOptions{cdFullOpen};
        dialog.SetColor(TColor{0x3366FF});  // an orange of the basic colours
        dialog.CustomColors()->Add("ColorA=c08040");
        dialog.CustomColors()->Add("ColorB=4080c0");
        const std::string name = std::string("dialog_color_") + look.suffix + ".png";
        EXPECT_TRUE(ShotWhileModal(dialog, name, [&] {
            EXPECT_EQ(dialog.Form()->ClientWidth(), 430);
            EXPECT_EQ(dialog.Panel()->Color(), TColor{0x3366FF});
        }));
    }
}

TEST_F(DialogsOnX11, TheFontDialogWithEffectsAndTheApplyButton) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        TTeFontDialog dialog(Application);
        dialog.Options = TFontDialogOptions{fdEffects, fdApplyButton};
        dialog.Font()->SetName("Liberation Serif");
        dialog.Font()->SetSize(16);
        dialog.Font()->SetStyle(TFontStyles{fsBold, fsItalic});
        dialog.Font()->SetColor(clNavy);
        const std::string name = std::string("dialog_font_") + look.suffix + ".png";
        EXPECT_TRUE(ShotWhileModal(dialog, name, [&] {
            TTeListBox* fonts = dialog.Panel()->FontList();
            ASSERT_GE(fonts->ItemIndex(), 0) << "the face is installed";
            fonts->SetTopIndex(fonts->ItemIndex());
        }));
    }
}

// A picture to preview: a sky, a hill and a sun, wider than the preview.
void PaintLandscape(const std::string& path) {
    TBitmap picture(360, 240);
    TCanvas& c = *picture.Canvas();
    c.Brush()->SetColor(TColor{0xE0B070});
    c.FillRect(TRect{0, 0, 360, 240});
    c.Brush()->SetColor(TColor{0x30A040});
    c.Pen()->SetColor(TColor{0x207030});
    c.Ellipse(-80, 140, 440, 420);
    c.Brush()->SetColor(TColor{0x20C0F0});
    c.Pen()->SetColor(TColor{0x1090D0});
    c.Ellipse(250, 30, 310, 90);
    picture.SaveToFile(path);
}

TEST_F(DialogsOnX11, TheOpenPictureDialogPreviewsTheSelectedPicture) {
    testing::TempRegistry registry;
    testing::TempFolder folder;
    PaintLandscape(folder.File("landscape.bmp"));
    TBitmap(40, 30).SaveToFile(folder.File("small.bmp"));
    std::filesystem::create_directory(folder.File("Holiday"));
    std::ofstream(folder.File("notes.txt")) << "not a picture";
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        TTeOpenPictureDialog dialog(Application);
        dialog.InitialDir = folder.Path().string();
        const std::string name = std::string("dialog_open_picture_") + look.suffix + ".png";
        EXPECT_TRUE(ShotWhileModal(dialog, name, [&] {
            auto* panel = dynamic_cast<TTeOpenPicturePanel*>(dialog.Panel());
            ASSERT_NE(panel, nullptr);
            const int index = panel->teFilesList->Items()->IndexOf("landscape.bmp");
            ASSERT_GE(index, 0);
            panel->teFilesList->SetItemIndex(index);
            panel->teFilesList->OnClick(panel->teFilesList);
            EXPECT_GT(panel->tePicView->Picture()->Width(), 0) << "the picture is previewed";
        }));
    }
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the skinned dialogs");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

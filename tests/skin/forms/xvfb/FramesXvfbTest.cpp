// The skinned frames through the SDL backend on an Xvfb of its own: the
// flat theme's full frame active, inactive, maximized and rolled up, and a
// dialog with the light frame, saved under screenshots/ in the build folder
// for people to look at.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame2.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel {
namespace {

void Settle(SdlBackend* sdl, HWND h) {
    const DWORD start = GetTickCount();
    while (!sdl->WindowPixels(h) && GetTickCount() - start < 5000) Application->ProcessMessages();
    const DWORD settle = GetTickCount();
    while (GetTickCount() - settle < 300) Application->ProcessMessages();
}

TEST(FramesOnX11, FlatFramesInEachStateAndTheLightDialog) {
    std::string error;
    auto backend = SdlBackend::Open("x11", &error);
    ASSERT_TRUE(backend) << error;
    SdlBackend* sdl = backend.get();
    InitWindowSystem(std::move(backend));
    {
        TApplication app(nullptr);
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
        const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
        mkdir(dir.c_str(), 0755);
        auto shot = [&](HWND h, const char* name) {
            Settle(sdl, h);
            EXPECT_TRUE(sdl->SaveWindowPng(h, dir + "/" + name)) << name;
        };

        auto* form = new TForm(Application);
        form->SetCaption("Battery modules");
        form->SetColor(clWhite);
        TTeForm* frame = nullptr;
        {
            TLoadingScope scope(form);
            auto* link = new TTeThemeLink(form);
            link->SetThemeBuilding("Flat");
            frame = new TTeForm(form);
            frame->SetThemeLink(link);
            frame->SetPerformance(qvfpDoubleBuffer);
            scope.Finish();
        }
        form->SetBounds(60, 60, 480, 320);
        form->Show();
        SetForegroundWindow(form->Handle());
        ASSERT_TRUE(frame->Active() && frame->Themed());
        shot(form->Handle(), "frame_flat_active.png");

        SendMessage(form->Handle(), WM_NCACTIVATE, 0, 0);
        EXPECT_FALSE(frame->FrameActive());
        shot(form->Handle(), "frame_flat_inactive.png");
        SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);

        frame->Maximize();
        EXPECT_EQ(WindowRect(form->Handle()), frame->GetMaximizedRect());
        shot(form->Handle(), "frame_flat_maximized.png");

        frame->Restore();
        const int captionOnly = frame->GetRollupRect().Height();
        frame->Rollup();
        EXPECT_EQ(WindowRect(form->Handle()).Height(), captionOnly);
        shot(form->Handle(), "frame_flat_rolled_up.png");
        frame->Restore();

        auto* dialog = new TForm(Application);
        dialog->SetCaption("Port settings");
        dialog->SetColor(clWhite);
        dialog->SetBorderStyle(bsDialog);
        dialog->SetBorderIcons(TBorderIcons{biSystemMenu});
        {
            TLoadingScope scope(dialog);
            auto* link = new TTeThemeLink(dialog);
            link->SetThemeBuilding("Flat");
            auto* light = new TTeForm2(dialog);
            light->SetThemeLink(link);
            scope.Finish();
        }
        dialog->SetBounds(600, 120, 320, 220);
        dialog->Show();
        SetForegroundWindow(dialog->Handle());
        shot(dialog->Handle(), "frame_light_dialog.png");

        delete dialog;
        delete form;
        DoneForms();
        DoneControlBases();
        DoneThemeCore();
    }
    ShutdownWindowSystem();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the frames");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

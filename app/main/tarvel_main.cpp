// The program: opens the display, runs the tool, closes the display.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/sdl/SdlBackend.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            tarvel::SetCommandLinePort(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: tarvel-bms [--port PATH]\n");
            return 2;
        }
    }
    // Only a screen people see: SDL would otherwise fall back to a display
    // without one and run unseen.
    auto backend = tarvel::OpenRealDisplay();
    if (!backend) {
        std::fprintf(stderr, "tarvel-bms: no display to open (set DISPLAY or WAYLAND_DISPLAY)\n");
        return 1;
    }
    tarvel::DisplayBackend* display = backend.get();
    tarvel::InitWindowSystem(std::move(backend));
    // The desktop's logout and a plain kill end the session: the tool saves and ends.
    if (!tarvel::WatchSessionSignals())
        std::fprintf(stderr, "tarvel-bms: SIGTERM and SIGHUP cannot be watched\n");
    // A session manager, where one runs, asks before the session ends.
    tarvel::JoinSessionManager(display, std::vector<std::string>(argv, argv + argc));
    tarvel::InitSkinLibrary();
    const int code = tarvel::RunTool();
    tarvel::DoneSkinLibrary();
    tarvel::ShutdownWindowSystem();
    return code;
}

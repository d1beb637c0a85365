// The program: opens the display, runs the tool, closes the display.

#include <cstdio>
#include <cstring>
#include <string>

#include "app/Startup.h"
#include "platform/winsys/Backend.h"
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
    std::string error;
    auto backend = tarvel::SdlBackend::Open("", &error);
    if (!backend) {
        std::fprintf(stderr, "tarvel-bms: cannot open a display (%s)\n", error.c_str());
        return 1;
    }
    tarvel::InitWindowSystem(std::move(backend));
    tarvel::InitSkinLibrary();
    const int code = tarvel::RunTool();
    tarvel::DoneSkinLibrary();
    tarvel::ShutdownWindowSystem();
    return code;
}

// Runs the tests on an Xvfb of their own, on SDL's X11 driver.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "XServerFixture.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!tarvel::StartXvfb(why)) {
        std::printf("SKIPPED: no X server for the SDL window tests: %s\n", why.c_str());
        return 77;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
    int result = RUN_ALL_TESTS();
    tarvel::StopXvfb();
    return result;
}

// SDL's D-Bus connection (input method, screen saver) keeps a buffer for the
// life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

// Runs the tests on an Xvfb of their own, on SDL's X11 driver.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "XServerFixture.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the SDL window tests");
}

// SDL's D-Bus connection (input method, screen saver) keeps a buffer for the
// life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

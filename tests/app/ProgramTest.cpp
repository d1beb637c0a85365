// The tool's program as people start it, where no window can be opened.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tarvel {
namespace {

const std::string kProgram = std::string(TARVEL_BINARY_DIR) + "/app/tarvel-bms";

// Runs the program with no display in its environment; its output and exit
// code.
std::string RunWithoutDisplay(const std::string& arguments, int& exitCode) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + kProgram + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    const int status = pipe ? ::pclose(pipe) : -1;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

TEST(TarvelProgram, WithoutADisplayItSaysSoInOneLineAndExitsNonZero) {
    for (const char* arguments : {"", "--port /dev/ttyUSB0"}) {
        SCOPED_TRACE(arguments);
        int exitCode = 0;
        const std::string out = RunWithoutDisplay(arguments, exitCode);
        EXPECT_NE(exitCode, 0);
        EXPECT_NE(exitCode, -1) << "it ended by a signal";
        EXPECT_NE(out.find("no display"), std::string::npos) << out;
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
    }
}

TEST(TarvelProgram, AnUnknownArgumentGetsTheUsage) {
    for (const char* arguments : {"--bogus", "--port"}) {
        SCOPED_TRACE(arguments);
        int exitCode = 0;
        const std::string out = RunWithoutDisplay(arguments, exitCode);
        EXPECT_EQ(exitCode, 2);
        EXPECT_EQ(out, "usage: tarvel-bms [--port PATH]\n");
    }
}

}  // namespace
}  // namespace tarvel

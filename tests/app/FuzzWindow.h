#pragma once
// The tool's main window on the headless backend for a fuzz target: made
// once per process, as the program's entry makes it, with the application
// folder in a fresh folder of its own (in memory where there is room),
// removed when the process ends. The window's current folder is that folder
// too, but only while an input runs (InFolder): the fuzzer writes its corpus
// and artifacts to paths relative to where it was started.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel::testing {

class FuzzWindow {
public:
    explicit FuzzWindow(const char* name) {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = (base / (std::string("tarvel_") + name + "_XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) std::abort();
        Folder() = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Folder(), ignored);
        });
        const Here here = InFolder();
        SetApplicationFolder(pattern);
        InitSkinLibrary();
        Application->SetTitle(kAppName);
        Application->CreateForm(form);
        form->Show();
        // Ticks come from the targets, so that an input runs the same each time.
        form->KillPollTimer();
        ui.RunUntilIdle();
        ui.Dialogs().Forget();
    }

    // The current folder is the window's until the result is dropped.
    class Here {
    public:
        explicit Here(const std::filesystem::path& to) : from_(std::filesystem::current_path()) {
            std::filesystem::current_path(to);
        }
        ~Here() { std::filesystem::current_path(from_); }
        Here(const Here&) = delete;
        Here& operator=(const Here&) = delete;

    private:
        std::filesystem::path from_;
    };
    [[nodiscard]] Here InFolder() const { return Here(Folder()); }

    // Runs what is waiting, then forgets the boxes shown meanwhile, so that
    // they do not pile up over the inputs.
    void Settle() {
        ui.RunUntilIdle();
        ui.Dialogs().Forget();
    }

    TUiDriver ui;
    TMainForm* form = nullptr;

private:
    static std::string& Folder() {
        static std::string folder;
        return folder;
    }
};

}  // namespace tarvel::testing

// The window keeps what it caches (fonts, glyphs, grid lines, log lines)
// from one input to the next, so nearly every input would look like a leak
// to the fuzzer's check after each input, and each check scans the whole
// heap. The check is left to the end of the run, where LeakSanitizer still
// looks. Each app target includes this header once.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    static char noLeakCheck[] = "-detect_leaks=0";
    args.insert(args.begin() + 1, noLeakCheck);
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
    return 0;
}

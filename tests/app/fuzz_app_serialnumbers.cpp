// Any bytes as the serial-number lists: loaded as a list file through the
// window's "Load" (entries are whole words of at most 20 characters, or the
// list stays as it was), sorted, saved and loaded back unchanged; and as the
// settings file's list read at start-up.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/Paths.h"
#include "tests/app/FuzzWindow.h"

using namespace tarvel;

namespace {

void CheckAt(bool ok, int line) {
    if (!ok) {
        fprintf(stderr, "check failed at %d\n", line);
        std::abort();
    }
}

std::vector<String> UsedEntries(const TMainForm& form) {
    std::vector<String> used;
    for (int i = 0; i < kModuleCount; ++i)
        if (!form.SerialEntry(i).empty()) used.push_back(form.SerialEntry(i));
    return used;
}

#define Check(x) CheckAt(x, __LINE__)
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testing::FuzzWindow* world = new testing::FuzzWindow("fuzz_app_serialnumbers");
    const auto here = world->InFolder();
    TMainForm* form = world->form;
    TUiDriver& ui = world->ui;
    for (int i = 0; i < kModuleCount; ++i) form->SetSerialEntry(i, "");
    form->LastSerialIndex = 0;

    const std::string list = AppPath("list.txt");
    WriteFileBytes(list, data, size);
    ui.ChooseNextFile(String(list));
    form->GetSerialNumClick(nullptr);
    for (const String& entry : UsedEntries(*form)) {
        Check(entry.size() <= 20);
        Check(entry.find_first_of(" \t\r\n\v\f") == String::npos);
    }
    Check(form->LastSerialIndex < kModuleCount);

    form->SortSerialNumbers();
    const int last = form->LastSerialIndex;
    for (int i = 1; i <= last; ++i) Check(!(form->SerialEntry(i) < form->SerialEntry(i - 1)));
    const std::vector<String> sorted = UsedEntries(*form);

    // A fresh file each time: the dialog would ask before replacing one.
    const std::string saved = AppPath("saved.txt");
    DeleteFile(saved);
    ui.ChooseNextFile(String(saved));
    form->SaveSerialNumClick(nullptr);
    for (int i = 0; i < kModuleCount; ++i) form->SetSerialEntry(i, "");
    ui.ChooseNextFile(String(saved));
    form->GetSerialNumClick(nullptr);
    Check(UsedEntries(*form) == sorted);

    // The same bytes as the settings file whose list the window starts with.
    WriteFileBytes(AppPath("ParaSeting.ini"), data, size);
    form->LoadSerialNumberList();
    Check(form->LastSerialIndex < kModuleCount);
    world->Settle();
    return 0;
}

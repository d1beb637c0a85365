// Any bytes as "BMSAdjust.ini": the initial protection values and reference
// currents of every variant come out as integers the tabs can send.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "adjust/CellValues.h"
#include "adjust/InitialValues.h"
#include "platform/base/Paths.h"

using namespace tarvel;

namespace {

// A folder in memory where there is one (every input is a file write),
// removed when the run ends.
struct FuzzFolder {
    std::filesystem::path path = std::filesystem::path(DirectoryExists("/dev/shm") ? "/dev/shm" : "/tmp") /
                                 ("fuzz-initial-values-" + std::to_string(::getpid()));
    FuzzFolder() { std::filesystem::create_directories(path); }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

void CheckInteger(const std::string& text) {
    if (!ReadStrictCell(text, FieldType::I32, "cell").Ok()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzFolder folder;
    SetApplicationFolder(folder.path.string());
    WriteFileBytes(AppPath("BMSAdjust.ini"), data, size);
    const ProfileIntReader read = AdjustIniReader();
    for (int variant : {0, 1, 2}) {
        if (const auto texts = InitialProtectionValues(read, variant)) {
            for (const std::string& text : *texts) CheckInteger(text);
        }
        for (const ReferenceCurrentCell& cell : VariantReferenceCurrents(read, variant))
            CheckInteger(cell.cell.text);
    }
    return 0;
}

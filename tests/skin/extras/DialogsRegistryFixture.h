#pragma once
// The user's registry file in a folder of the test's own while the object
// lives: the file dialogs remember their folders and file types there.

#include "platform/system/Registry.h"
#include "tests/TempFolderFixture.h"

namespace tarvel::testing {

class TempRegistry {
public:
    TempRegistry() { SetRegistryFilePath(folder_.File("registry.txt")); }
    ~TempRegistry() { SetRegistryFilePath(""); }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    std::string Path() const { return folder_.File("registry.txt"); }

private:
    TempFolder folder_;
};

}  // namespace tarvel::testing

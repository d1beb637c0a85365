#pragma once
// A fresh folder per test and per run, removed afterwards: test programs of
// several build folders may run side by side on one machine.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace tarvel::testing {

class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "test";
        std::replace(name.begin(), name.end(), '/', '_');
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("tarvel_" + name + "_XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::filesystem::filesystem_error("mkdtemp", pattern, {});
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tarvel::testing

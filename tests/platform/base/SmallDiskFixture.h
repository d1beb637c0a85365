#pragma once
// A tiny file system of its own (tmpfs) in a fresh folder, so a test can fill
// it and watch a save fail the way it fails on a full disk. Mounting needs
// privileges: without them the test is skipped.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvel::testing {

class SmallDisk : public ::testing::Test {
protected:
    // The size as tmpfs takes it ("64k", "1m").
    explicit SmallDisk(std::string size = "64k") : size_(std::move(size)) {}

    void SetUp() override {
        char pattern[] = "/tmp/tarvel-small-disk-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, ("size=" + size_).c_str()) != 0) {
            const int error = errno;
            std::filesystem::remove(folder_);
            folder_.clear();
            GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(error);
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) ::umount(folder_.c_str());
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }

    std::string File(const std::string& name) const { return folder_ + "/" + name; }
    const std::string& Folder() const { return folder_; }

    // Takes every free byte with a ballast file; Free() gives them back.
    void Fill() {
        FILE* ballast = std::fopen(File(kBallast).c_str(), "wb");
        ASSERT_NE(ballast, nullptr);
        const std::string block(1024, 'b');
        while (std::fwrite(block.data(), 1, block.size(), ballast) == block.size() &&
               std::fflush(ballast) == 0) {
        }
        // What is left is smaller than a block; take it byte by byte.
        while (std::fputc('b', ballast) != EOF && std::fflush(ballast) == 0) {
        }
        std::fclose(ballast);
    }
    void Free() { std::filesystem::remove(File(kBallast)); }

    // The names in the folder other than the ballast.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.path().filename() != kBallast) names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static constexpr const char* kBallast = "ballast";
    std::string size_;
    std::string folder_;
    bool mounted_ = false;
};

}  // namespace tarvel::testing

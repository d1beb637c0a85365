#include "platform/system/MountedFileSystems.h"

#include <algorithm>
#include <array>
#include <exception>

#include "platform/base/Paths.h"

namespace tarvel {

namespace {

// The kernel's table of a few hundred mounts is far below this.
constexpr uint64_t kMaxMountInfoBytes = uint64_t{4} << 20;

constexpr std::array<std::string_view, 6> kNetworkTypes = {"nfs",  "nfs4",  "cifs",
                                                           "smb3", "smbfs", "fuse.sshfs"};
constexpr std::array<std::string_view, 3> kMediaFolders = {"/media/", "/mnt/", "/run/media/"};

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// The table writes space, tab, line end and backslash as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view octal = field.substr(i + 1, 3);
            if (std::all_of(octal.begin(), octal.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                const int value = (octal[0] - '0') * 64 + (octal[1] - '0') * 8 + (octal[2] - '0');
                if (value > 0 && value < 256) {
                    out += static_cast<char>(value);
                    i += 3;
                    continue;
                }
            }
        }
        out += field[i];
    }
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::vector<TMountedFileSystem> ParseMountInfo(std::string_view text) {
    std::vector<TMountedFileSystem> out;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const std::vector<std::string_view> f = Fields(line);
        const auto dash = std::find(f.begin(), f.end(), "-");
        if (f.size() < 6 || dash == f.end() || dash - f.begin() < 6 || f.end() - dash < 3) continue;
        TMountedFileSystem fs{Unescape(f[4]), Unescape(*(dash + 2)), Unescape(*(dash + 1))};
        if (fs.mountPoint.empty() || fs.mountPoint[0] != '/') continue;
        out.push_back(std::move(fs));
    }
    return out;
}

bool IsUserFileSystem(const TMountedFileSystem& fs) {
    if (fs.mountPoint == "/") return true;
    const bool network =
        std::find(kNetworkTypes.begin(), kNetworkTypes.end(), fs.type) != kNetworkTypes.end();
    if (!network && !StartsWith(fs.source, "/dev/")) return false;
    if (fs.mountPoint == "/home" || StartsWith(fs.mountPoint, "/home/")) return true;
    return std::any_of(kMediaFolders.begin(), kMediaFolders.end(), [&](std::string_view folder) {
        return StartsWith(fs.mountPoint, folder) && fs.mountPoint.size() > folder.size();
    });
}

std::vector<TMountedFileSystem> UserFileSystems(std::string_view mountInfo) {
    std::vector<TMountedFileSystem> all = ParseMountInfo(mountInfo);
    std::vector<TMountedFileSystem> out;
    for (size_t i = 0; i < all.size(); ++i) {
        // A later mount at the same point covers this one.
        const bool covered =
            std::any_of(all.begin() + static_cast<std::ptrdiff_t>(i) + 1, all.end(),
                        [&](const TMountedFileSystem& o) { return o.mountPoint == all[i].mountPoint; });
        if (!covered && IsUserFileSystem(all[i])) out.push_back(all[i]);
    }
    // In a chroot or some containers the root is no mount of its own, yet it
    // is there and holds the user's files.
    if (std::none_of(out.begin(), out.end(),
                     [](const TMountedFileSystem& fs) { return fs.mountPoint == "/"; }))
        out.push_back(TMountedFileSystem{"/", "", ""});
    std::sort(out.begin(), out.end(), [](const TMountedFileSystem& a, const TMountedFileSystem& b) {
        return a.mountPoint < b.mountPoint;
    });
    return out;
}

std::vector<TMountedFileSystem> MountedUserFileSystems(std::string_view mountInfoFile) {
    try {
        return UserFileSystems(ReadFileText(mountInfoFile, kMaxMountInfoBytes));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace tarvel

#include "platform/system/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"

namespace tarvel {

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string UserDirsFile(const std::string& home) {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        return ExcludeTrailingPathDelimiter(xdg) + "/user-dirs.dirs";
    return home + "/.config/user-dirs.dirs";
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string ParseUserDirsEntry(std::string_view text, std::string_view key, std::string_view home) {
    std::string found;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = TrimBlanks(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (line.substr(0, key.size()) != key) continue;
        line = TrimBlanks(line.substr(key.size()));
        if (line.empty() || line.front() != '=') continue;
        line = TrimBlanks(line.substr(1));
        // Only a quoted value counts; the last line naming the key wins.
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') continue;
        std::string_view value = line.substr(1, line.size() - 2);
        if (value.substr(0, 5) == "$HOME" && (value.size() == 5 || value[5] == '/'))
            found = std::string(home) + std::string(value.substr(5));
        else if (!value.empty() && value.front() == '/')
            found = std::string(value);
    }
    return found;
}

std::string UserFolder(TUserFolder which) {
    const std::string home = HomeFolder();
    if (which == TUserFolder::Home) return home;
    const bool desktop = which == TUserFolder::Desktop;
    std::string text;
    try {
        text = ReadFileText(UserDirsFile(home), kMaxUserDirsFileBytes);
    } catch (const Exception&) {
        // No file: the defaults below.
    }
    std::string folder = ParseUserDirsEntry(text, desktop ? "XDG_DESKTOP_DIR" : "XDG_DOCUMENTS_DIR", home);
    if (!folder.empty())
        return ExcludeTrailingPathDelimiter(folder).empty() ? "/" : ExcludeTrailingPathDelimiter(folder);
    return desktop ? home + "/Desktop" : home;
}

}  // namespace tarvel

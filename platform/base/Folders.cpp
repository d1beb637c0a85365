#include "platform/base/Folders.h"

#include <unistd.h>

#include <filesystem>

namespace tarvel {

namespace fs = std::filesystem;

bool ListFolder(std::string_view folder, std::vector<TFolderEntry>& entries) {
    entries.clear();
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, ec);
    if (ec) return false;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        TFolderEntry e;
        e.name = it->path().filename().string();
        std::error_code typeError;
        e.folder = it->is_directory(typeError);
        e.hidden = !e.name.empty() && e.name[0] == '.';
        if (!e.folder) {
            const std::string path = it->path().string();
            e.executable = ::access(path.c_str(), X_OK) == 0;
            e.readOnly = ::access(path.c_str(), W_OK) != 0;
            std::error_code sizeError;
            e.size = it->file_size(sizeError);
            if (sizeError) e.size = 0;
        }
        entries.push_back(std::move(e));
    }
    return true;
}

bool IsAbsolutePath(std::string_view path) { return !path.empty() && path[0] == '/'; }

std::string NormalizePath(std::string_view path) {
    if (path.empty()) return {};
    const bool absolute = IsAbsolutePath(path);
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '/';
        out += parts[i];
    }
    return out.empty() ? std::string(".") : out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/') out += '/';
    out += name;
    return out;
}

std::string ResolvePath(std::string_view folder, std::string_view typed) {
    return NormalizePath(IsAbsolutePath(typed) ? std::string(typed) : JoinPath(folder, typed));
}

std::string ParentFolder(std::string_view folder) {
    const std::string path = NormalizePath(folder);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace tarvel

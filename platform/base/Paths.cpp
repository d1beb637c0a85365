#include "platform/base/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <mutex>

#include "platform/base/Exceptions.h"

namespace tarvel {

namespace {

std::mutex gFolderMutex;
std::string gFolderOverride;

std::string ExecutableFolder() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return GetCurrentDir();
    return ExtractFileDir(std::string_view(buf, static_cast<size_t>(n)));
}

size_t LastDelimiter(std::string_view path) {
    const size_t p = path.find_last_of("/\\");
    return p;
}

}  // namespace

std::string ApplicationFolder() {
    {
        std::lock_guard<std::mutex> lock(gFolderMutex);
        if (!gFolderOverride.empty()) return gFolderOverride;
    }
    static const std::string folder = ExecutableFolder();
    return folder;
}

void SetApplicationFolder(std::string folder) {
    std::lock_guard<std::mutex> lock(gFolderMutex);
    gFolderOverride = ExcludeTrailingPathDelimiter(NativePath(folder));
}

std::string NativePath(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string AppPath(std::string_view relative) {
    std::string rel = NativePath(relative);
    while (!rel.empty() && rel.front() == '/') rel.erase(0, 1);
    return ApplicationFolder() + "/" + rel;
}

std::string ExtractFilePath(std::string_view path) {
    const size_t p = LastDelimiter(path);
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileDir(std::string_view path) {
    const size_t p = LastDelimiter(path);
    if (p == std::string_view::npos) return std::string();
    if (p == 0) return std::string(path.substr(0, 1));  // the root stays "/"
    return std::string(path.substr(0, p));
}

std::string ExtractFileName(std::string_view path) {
    const size_t p = LastDelimiter(path);
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const size_t slash = LastDelimiter(path);
    const size_t dot = path.rfind('.');
    const bool hasExt = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    return std::string(hasExt ? path.substr(0, dot) : path) + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    if (out.empty() || (out.back() != '/' && out.back() != '\\')) out += '/';
    return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    while (out.size() > 1 && (out.back() == '/' || out.back() == '\\')) out.pop_back();
    return out;
}

std::string GetCurrentDir() {
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return ".";
    return buf;
}

bool FileExists(std::string_view path) {
    struct stat st {};
    return stat(std::string(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
    struct stat st {};
    return stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(std::string_view path) {
    const std::string p = ExcludeTrailingPathDelimiter(path);
    if (mkdir(p.c_str(), 0777) == 0) return true;
    return errno == EEXIST && DirectoryExists(p);
}

bool ForceDirectories(std::string_view path) {
    const std::string p = ExcludeTrailingPathDelimiter(NativePath(path));
    if (p.empty()) return false;
    if (DirectoryExists(p)) return true;
    const std::string parent = ExtractFileDir(p);
    if (!parent.empty() && parent != p && !ForceDirectories(parent)) return false;
    return CreateDir(p);
}

bool DeleteFile(std::string_view path) { return unlink(std::string(path).c_str()) == 0; }

bool RenameFile(std::string_view from, std::string_view to) {
    return std::rename(std::string(from).c_str(), std::string(to).c_str()) == 0;
}

std::vector<uint8_t> ReadFileBytes(std::string_view path) {
    std::ifstream in(std::string(path), std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + std::string(path) + "\"");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EReadError("Cannot read file \"" + std::string(path) + "\"");
    return bytes;
}

std::string ReadFileText(std::string_view path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

namespace {
void WriteWithMode(std::string_view path, const void* data, size_t size, std::ios::openmode mode) {
    std::ofstream out(std::string(path), mode);
    if (!out) throw EFCreateError("Cannot create file \"" + std::string(path) + "\"");
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.flush();
    if (!out) throw EWriteError("Cannot write file \"" + std::string(path) + "\"");
}
}  // namespace

void WriteFileBytes(std::string_view path, const void* data, size_t size) {
    WriteWithMode(path, data, size, std::ios::binary | std::ios::trunc);
}

void WriteFileText(std::string_view path, std::string_view text) {
    WriteFileBytes(path, text.data(), text.size());
}

void AppendFileText(std::string_view path, std::string_view text) {
    WriteWithMode(path, text.data(), text.size(), std::ios::binary | std::ios::app);
}

}  // namespace tarvel

#include "platform/base/Paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>
#include <new>

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

namespace {

// A descriptor that closes itself.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now; false when the close reports a failed write.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A name beside `path` that no other writer, in this process or another, uses.
std::string TemporaryNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = ExtractFilePath(path);
    return folder + "." + ExtractFileName(path) + "." + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + ".tmp";
}

// The file a replacement must land on: a link's target, not the link.
std::string ReplacementTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

void SyncFolderOf(const std::string& path) {
    const std::string folder = ExtractFileDir(path);
    FileHandle dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
}

}  // namespace

namespace {

std::vector<uint8_t> ReadAll(int fd, const struct stat& st, std::string_view path) {
    std::vector<uint8_t> bytes;
    size_t used = 0;
    // The size is a hint only: files of the system report none, and a file may grow.
    bytes.resize(st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 4096);
    for (;;) {
        if (used == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EReadError("Cannot read file " + Quoted(path));
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    bytes.resize(used);
    return bytes;
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(std::string_view path) {
    // Not blocking: a pipe in the file's place must not hang the open.
    FileHandle file(::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EFOpenError("Cannot open file " + Quoted(path));
    try {
        return ReadAll(file.Get(), st, path);
    } catch (const std::bad_alloc&) {
        throw EReadError("Cannot read file " + Quoted(path) + ": it is too large");
    }
}

std::string ReadFileText(std::string_view path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteFileBytes(std::string_view path, const void* data, size_t size) {
    const std::string target = ReplacementTarget(std::string(path));
    const std::string temp = TemporaryNameBeside(target);
    FileHandle file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.Get() < 0) throw EFCreateError("Cannot create file " + Quoted(path));
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(file.Get(), old.st_mode & 07777);
    const bool written = WriteAll(file.Get(), static_cast<const char*>(data), size) &&
                         ::fsync(file.Get()) == 0 && file.Close();
    if (!written) {
        ::unlink(temp.c_str());
        throw EWriteError("Cannot write file " + Quoted(path));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw EFCreateError("Cannot create file " + Quoted(path));
    }
    SyncFolderOf(target);
}

void WriteFileText(std::string_view path, std::string_view text) {
    WriteFileBytes(path, text.data(), text.size());
}

bool SaveFileText(std::string_view path, std::string_view text) {
    try {
        WriteFileText(path, text);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void AppendFileText(std::string_view path, std::string_view text, std::string_view header) {
    FileHandle file(::open(std::string(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (file.Get() < 0) throw EFCreateError("Cannot create file " + Quoted(path));
    while (::flock(file.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) throw EWriteError("Cannot write file " + Quoted(path));
    }
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) throw EWriteError("Cannot write file " + Quoted(path));
    const bool withHeader = st.st_size == 0 && !header.empty();
    const std::string bytes = withHeader ? std::string(header) + std::string(text) : std::string();
    const std::string_view out = withHeader ? std::string_view(bytes) : text;
    if (!WriteAll(file.Get(), out.data(), out.size())) {
        // No half line stays for the next line to be glued to.
        [[maybe_unused]] const int cut = ::ftruncate(file.Get(), st.st_size);
        throw EWriteError("Cannot write file " + Quoted(path));
    }
}

}  // namespace tarvel

#include "platform/base/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <set>

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

constexpr const char* kNotRegularFile = "Not a regular file";

// What stands at `path` when it is no regular file: the reason it is
// refused, or "" when it is regular or missing.
std::string NonRegularReason(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return {};
    return S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : kNotRegularFile;
}

std::string SizeText(uint64_t bytes) {
    if (bytes >= (uint64_t{1} << 20) && bytes % (uint64_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

std::vector<uint8_t> ReadAll(int fd, const struct stat& st, std::string_view path, uint64_t limit) {
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
        // A file that grows while it is read is held to the limit too.
        if (used > limit) throw EFileTooLarge(FileTooLargeMessage(path, limit));
    }
    bytes.resize(used);
    return bytes;
}

}  // namespace

int OpenRegularFile(std::string_view path, int flags, std::string* reason) {
    const std::string name(path);
    const auto fail = [reason](std::string why, int error) {
        if (reason) *reason = std::move(why);
        errno = error;
        return -1;
    };
    // Looked at before the open: opening a device can act on it (a serial
    // line's control lines change), whatever is read afterwards.
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0) {
        if (std::string why = NonRegularReason(st); !why.empty())
            return fail(why, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }
    int fd = -1;
    do {
        fd = ::open(name.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return fail(std::strerror(errno), errno);
    // What was opened may have been put there after the look.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        return fail(folder ? std::strerror(EISDIR) : kNotRegularFile, folder ? EISDIR : EINVAL);
    }
    if ((flags & O_NONBLOCK) == 0) {
        const int mode = ::fcntl(fd, F_GETFL);
        if (mode != -1) ::fcntl(fd, F_SETFL, mode & ~O_NONBLOCK);
    }
    return fd;
}

std::string FileTooLargeMessage(std::string_view path, uint64_t limit) {
    return "Cannot read file " + Quoted(path) + ": it is larger than the limit of " + SizeText(limit);
}

std::string FileReadProblem(std::string_view path, uint64_t limit) {
    struct stat st {};
    if (::stat(std::string(path).c_str(), &st) != 0 && errno == ENOENT) {
        struct stat link {};
        // A dangling link is a file that is there and cannot be opened.
        if (::lstat(std::string(path).c_str(), &link) != 0) return {};
    }
    FileHandle file(OpenRegularFile(path, O_RDONLY));
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0) return "Cannot open file " + Quoted(path);
    if (static_cast<uint64_t>(st.st_size) > limit) return FileTooLargeMessage(path, limit);
    return {};
}

std::vector<uint8_t> ReadFileBytes(std::string_view path, uint64_t limit) {
    FileHandle file(OpenRegularFile(path, O_RDONLY));
    struct stat st {};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0)
        throw EFOpenError("Cannot open file " + Quoted(path));
    if (static_cast<uint64_t>(st.st_size) > limit) throw EFileTooLarge(FileTooLargeMessage(path, limit));
    try {
        return ReadAll(file.Get(), st, path, limit);
    } catch (const std::bad_alloc&) {
        throw EReadError("Cannot read file " + Quoted(path) + ": it is too large");
    }
}

std::string ReadFileText(std::string_view path, uint64_t limit) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path, limit);
    return std::string(bytes.begin(), bytes.end());
}

namespace {

// The temporary files this process is writing now: a sweep leaves them.
std::mutex gTemporaryMutex;
std::set<std::string> gTemporariesInUse;

class TemporaryInUse {
public:
    explicit TemporaryInUse(std::string path) : path_(std::move(path)) {
        std::lock_guard<std::mutex> lock(gTemporaryMutex);
        gTemporariesInUse.insert(path_);
    }
    ~TemporaryInUse() {
        std::lock_guard<std::mutex> lock(gTemporaryMutex);
        gTemporariesInUse.erase(path_);
    }
    TemporaryInUse(const TemporaryInUse&) = delete;
    TemporaryInUse& operator=(const TemporaryInUse&) = delete;

private:
    std::string path_;
};

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process id in a temporary file's name ".NAME.PID-N.tmp", or 0 when the
// name is not one; `file` receives NAME.
pid_t TemporaryOwner(std::string_view entry, std::string& file) {
    constexpr std::string_view kEnd = ".tmp";
    if (entry.size() < 1 + 1 + 1 + 3 + kEnd.size() || entry.front() != '.' ||
        entry.substr(entry.size() - kEnd.size()) != kEnd)
        return 0;
    const std::string_view body = entry.substr(1, entry.size() - 1 - kEnd.size());  // NAME.PID-N
    const size_t dot = body.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return 0;
    const std::string_view tail = body.substr(dot + 1);  // PID-N
    const size_t dash = tail.find('-');
    if (dash == std::string_view::npos || !AllDigits(tail.substr(0, dash)) ||
        !AllDigits(tail.substr(dash + 1)))
        return 0;
    const unsigned long pid = std::stoul(std::string(tail.substr(0, dash)));
    if (pid == 0 || pid > static_cast<unsigned long>(INT_MAX)) return 0;
    file = std::string(body.substr(0, dot));
    return static_cast<pid_t>(pid);
}

bool StillWriting(pid_t owner, const std::string& path) {
    if (owner == ::getpid()) {
        std::lock_guard<std::mutex> lock(gTemporaryMutex);
        return gTemporariesInUse.count(path) != 0;
    }
    // Another process that still runs may be in the middle of its save.
    return ::kill(owner, 0) == 0 || errno != ESRCH;
}

}  // namespace

int RemoveStaleTemporaryFiles(std::string_view folder, std::string_view name) {
    const std::string dir = folder.empty() ? std::string(".") : ExcludeTrailingPathDelimiter(folder);
    DIR* handle = ::opendir(dir.c_str());
    if (!handle) return 0;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(handle)) {
        std::string file;
        const pid_t owner = TemporaryOwner(entry->d_name, file);
        if (owner == 0 || (!name.empty() && file != name)) continue;
        const std::string path = dir + "/" + entry->d_name;
        struct stat st {};
        // Only the plain files a save makes; a link or folder of that name is not ours.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (!StillWriting(owner, path)) stale.push_back(path);
    }
    ::closedir(handle);
    int removed = 0;
    for (const std::string& path : stale) removed += ::unlink(path.c_str()) == 0 ? 1 : 0;
    return removed;
}

void WriteFileBytes(std::string_view path, const void* data, size_t size) {
    const std::string target = ReplacementTarget(std::string(path));
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A device or pipe in the file's place is refused, never replaced.
    if (exists && !S_ISREG(old.st_mode)) throw EFCreateError("Cannot create file " + Quoted(path));
    const std::string temp = TemporaryNameBeside(target);
    const TemporaryInUse inUse(temp);
    FileHandle file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (file.Get() < 0) throw EFCreateError("Cannot create file " + Quoted(path));
    if (exists) ::fchmod(file.Get(), old.st_mode & 07777);
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
    RemoveStaleTemporaryFiles(ExtractFileDir(target), ExtractFileName(target));
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

AppendFile::~AppendFile() { Close(); }

void AppendFile::Open(std::string_view path) {
    Drop();
    // Kept when the open fails, so the next append tries again.
    path_ = std::string(path);
    std::string reason;
    // Read and write, so the last byte can be looked at; a file we may only write is appended blind.
    int fd = OpenRegularFile(path, O_RDWR | O_APPEND | O_CREAT, &reason);
    readable_ = fd >= 0;
    if (fd < 0 && errno == EACCES) fd = OpenRegularFile(path, O_WRONLY | O_APPEND | O_CREAT, &reason);
    if (fd < 0) throw EFCreateError("Cannot create file " + Quoted(path));
    struct stat st {};
    ::fstat(fd, &st);
    fd_ = fd;
    device_ = static_cast<uint64_t>(st.st_dev);
    inode_ = static_cast<uint64_t>(st.st_ino);
    path_ = std::string(path);
}

bool AppendFile::StillAtPath() const {
    struct stat st {};
    return ::stat(path_.c_str(), &st) == 0 && static_cast<uint64_t>(st.st_dev) == device_ &&
           static_cast<uint64_t>(st.st_ino) == inode_;
}

// Keeps the path, so the next append opens the file again.
void AppendFile::Drop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void AppendFile::Append(std::string_view text, std::string_view header) {
    if (fd_ >= 0 && !StillAtPath()) Drop();
    if (fd_ < 0 && !path_.empty()) Open(std::string(path_));
    if (fd_ < 0) throw EWriteError("Cannot write file " + Quoted(path_));
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) throw EWriteError("Cannot write file " + Quoted(path_));
    }
    struct Unlock {
        const int& fd;  // closed, and so unlocked, by a failed write
        ~Unlock() {
            if (fd >= 0) ::flock(fd, LOCK_UN);
        }
    } unlock{fd_};
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw EWriteError("Cannot write file " + Quoted(path_));
    std::string bytes;
    if (st.st_size == 0) {
        bytes = header;
    } else if (readable_) {
        // A last line without its end (a cut-off write of another program,
        // an edited file) would get this text glued onto it.
        char last = '\n';
        if (::pread(fd_, &last, 1, st.st_size - 1) == 1 && last != '\n') bytes = last == '\r' ? "\n" : "\r\n";
    }
    bytes += text;
    if (!WriteAll(fd_, bytes.data(), bytes.size())) {
        // No half line stays for the next line to be glued to.
        [[maybe_unused]] const int cut = ::ftruncate(fd_, st.st_size);
        Drop();
        throw EWriteError("Cannot write file " + Quoted(path_));
    }
}

void AppendFile::Close() {
    Drop();
    path_.clear();
}

void AppendFileText(std::string_view path, std::string_view text, std::string_view header) {
    AppendFile file;
    file.Open(path);
    file.Append(text, header);
}

}  // namespace tarvel

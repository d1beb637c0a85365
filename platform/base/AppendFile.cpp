#include "platform/base/AppendFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/base/Exceptions.h"

namespace tarvel {

namespace {

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

}  // namespace

AppendFile::AppendFile(std::string path) : path_(std::move(path)) {}

AppendFile::~AppendFile() { Close(); }

void AppendFile::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool AppendFile::IsOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fd_ >= 0;
}

bool AppendFile::StillAtPath() const {
    struct stat st {};
    return ::stat(path_.c_str(), &st) == 0 && static_cast<uint64_t>(st.st_dev) == device_ &&
           static_cast<uint64_t>(st.st_ino) == inode_;
}

void AppendFile::Open(std::string_view header) {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) throw EFCreateError("Cannot create file " + Quoted(path_));
    struct stat st {};
    // Copies of the tool opening the new file at once take turns, so the
    // header is written once.
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            throw EWriteError("Cannot write file " + Quoted(path_));
        }
    }
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        throw EWriteError("Cannot write file " + Quoted(path_));
    }
    fd_ = fd;
    device_ = static_cast<uint64_t>(st.st_dev);
    inode_ = static_cast<uint64_t>(st.st_ino);
    try {
        if (st.st_size == 0 && !header.empty()) Write(header);
    } catch (...) {
        ::flock(fd, LOCK_UN);
        throw;
    }
    ::flock(fd, LOCK_UN);
}

// One write call for the whole of `bytes` unless the disk takes less.
void AppendFile::Write(std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    if (written == bytes.size()) return;
    // No half line stays for the next line to be glued to.
    struct stat st {};
    if (written > 0 && ::fstat(fd_, &st) == 0 && static_cast<size_t>(st.st_size) >= written) {
        [[maybe_unused]] const int cut = ::ftruncate(fd_, st.st_size - static_cast<off_t>(written));
    }
    ::close(fd_);
    fd_ = -1;
    throw EWriteError("Cannot write file " + Quoted(path_));
}

void AppendFile::Append(std::string_view text, std::string_view header) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd_ >= 0 && !StillAtPath()) {
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) Open(header);
    Write(text);
}

}  // namespace tarvel

#include "platform/system/RecordFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/base/Paths.h"

namespace tarvel {

namespace {

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

int64_t ReadFileAt(std::string_view path, uint64_t offset, void* buffer, size_t count) {
    if (offset > static_cast<uint64_t>(INT64_MAX)) return -1;
    Fd file{::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) return -1;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(file.fd, static_cast<char*>(buffer) + done, count - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

bool WriteFileAt(std::string_view path, uint64_t offset, const void* data, size_t count) {
    if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
    Fd file{::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644)};
    if (file.fd < 0) return false;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pwrite(file.fd, static_cast<const char*>(data) + done, count - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace tarvel

#include "platform/system/RecordFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/base/Exceptions.h"
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
    Fd file{OpenRegularFile(NativePath(path), O_RDONLY)};
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
    if (offset > kMaxRecordFileSize || count > kMaxRecordFileSize - offset) return false;
    // The record is patched into a copy that replaces the file whole, so a
    // failed write never leaves half a record.
    std::vector<uint8_t> bytes;
    try {
        if (FileExists(path)) bytes = ReadFileBytes(path, kMaxRecordFileSize);
        const size_t end = static_cast<size_t>(offset) + count;
        if (bytes.size() < end) bytes.resize(end, 0);
        std::copy_n(static_cast<const uint8_t*>(data), count,
                    bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        WriteFileBytes(path, bytes.data(), bytes.size());
        return true;
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace tarvel

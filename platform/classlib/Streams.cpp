#include "platform/classlib/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

namespace tarvel {

namespace {

// A memory stream never grows past this: far beyond any skin or record file,
// and small enough that a size read from a damaged file cannot exhaust memory.
constexpr int64_t kMaxMemoryStreamSize = int64_t{1} << 31;

// Copies move through a buffer of this size.
constexpr int64_t kCopyChunk = 64 * 1024;

int64_t SaturatingAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

String OsReason(int error) { return std::strerror(error); }

}  // namespace

// ---- TStream -----------------------------------------------------------------

int64_t TStream::Size() {
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count > 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count <= 0) return 0;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyChunk)));
    for (int64_t left = count; left > 0;) {
        const int64_t n = std::min(left, kCopyChunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream -------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    const int64_t available = Size() - position_;
    if (count <= 0 || available <= 0) return 0;
    const int64_t n = std::min(count, available);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    const int64_t end = SaturatingAdd(position_, count);
    if (end > Size()) {
        const int64_t keep = position_;
        SetSize(end);
        position_ = keep;
    }
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = 0;
    switch (origin) {
        case soBeginning: base = 0; break;
        case soCurrent: base = position_; break;
        case soEnd: base = Size(); break;
    }
    position_ = std::max<int64_t>(0, SaturatingAdd(base, offset));
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    size = std::max<int64_t>(0, size);
    if (size > kMaxMemoryStreamSize) throw EOutOfMemory("Out of memory while expanding memory stream");
    try {
        data_.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory("Out of memory while expanding memory stream");
    }
    position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) { dest.WriteBuffer(data_.data(), Size()); }

void TMemoryStream::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const String& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TFileStream ---------------------------------------------------------------

TFileStream::TFileStream(const String& fileName, uint32_t mode, uint64_t readLimit) : fileName_(fileName) {
    const bool create = (mode & fmCreate) == fmCreate;
    int flags = 0;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
            case fmOpenRead: flags |= O_RDONLY; break;
            case fmOpenWrite: flags |= O_WRONLY; break;
            case fmOpenReadWrite: flags |= O_RDWR; break;
            default: throw EFOpenError("Cannot open file \"" + fileName + "\". " + OsReason(EINVAL));
        }
    }
    // A folder, a pipe or a device is no file to stream; the open never waits on one.
    std::string reason;
    fd_ = OpenRegularFile(fileName, flags, &reason);
    if (fd_ < 0) {
        if (create) throw EFCreateError("Cannot create file \"" + fileName + "\". " + reason);
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + reason);
    }
    struct stat st {};
    const bool readOnly = !create && (mode & 3) == fmOpenRead;
    if (readOnly && ::fstat(fd_, &st) == 0 && static_cast<uint64_t>(st.st_size) > readLimit) {
        ::close(fd_);
        fd_ = -1;
        throw EFileTooLarge(FileTooLargeMessage(fileName, readLimit));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t done = 0;
    auto* p = static_cast<uint8_t*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(fd_, p + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // end of file, or an error: the caller sees the short count
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    const auto* p = static_cast<const uint8_t*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd_, p + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < soBeginning || origin > soEnd) return static_cast<int64_t>(::lseek(fd_, 0, SEEK_CUR));
    const off_t result = ::lseek(fd_, static_cast<off_t>(offset), kWhence[origin]);
    // A refused seek leaves the position where it was, as the answer shows.
    return result >= 0 ? static_cast<int64_t>(result) : static_cast<int64_t>(::lseek(fd_, 0, SEEK_CUR));
}

int64_t TFileStream::Size() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return TStream::Size();
    return S_ISREG(st.st_mode) ? static_cast<int64_t>(st.st_size) : TStream::Size();
}

void TFileStream::SetSize(int64_t size) {
    if (size < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        throw EWriteError("Stream write error");
    }
    if (Position() > size) SetPosition(size);
}

}  // namespace tarvel

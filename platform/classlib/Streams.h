#pragma once
// Byte streams: the abstract stream with its buffer and copy helpers, an
// in-memory stream and a file stream. Positions and sizes are 64-bit.

#include <cstdint>
#include <vector>

#include "platform/base/Paths.h"
#include "platform/classlib/Objects.h"

namespace tarvel {

enum TSeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
    TARVEL_CLASS(TStream, TObject)

public:
    // Each moves at most `count` bytes and answers how many it moved; a
    // count of 0 or less moves nothing.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Answers the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    // Through Seek to the end and back, unless a stream knows better.
    virtual int64_t Size();
    // Streams that cannot change their size ignore this.
    virtual void SetSize(int64_t size);

    // Exactly `count` bytes or EReadError "Stream read error" / EWriteError
    // "Stream write error"; what was moved before the shortfall stays moved.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies `count` bytes from `source`'s position; a count of 0 copies the
    // whole of `source` from its beginning. Answers the bytes copied.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over a block of memory that grows as it is written.
class TMemoryStream : public TStream {
    TARVEL_CLASS(TMemoryStream, TStream)

public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    // Any position at or after 0 can be set; writing past the end fills the
    // gap with zeros. A position before 0 is kept as 0.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    // New bytes are zeros; the position is kept within the new size.
    // Raises EOutOfMemory when the memory cannot be had.
    void SetSize(int64_t size) override;

    uint8_t* Memory() { return data_.data(); }
    const uint8_t* Memory() const { return data_.data(); }
    void Clear();
    void LoadFromStream(TStream& source);  // the whole of source
    void SaveToStream(TStream& dest);      // the whole of this stream
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// File open modes: one access mode, optionally combined with a share mode
// (accepted and ignored: files are not locked on this system).
constexpr uint32_t fmOpenRead = 0x0000;
constexpr uint32_t fmOpenWrite = 0x0001;  // no truncation
constexpr uint32_t fmOpenReadWrite = 0x0002;
constexpr uint32_t fmShareCompat = 0x0000;
constexpr uint32_t fmShareExclusive = 0x0010;
constexpr uint32_t fmShareDenyWrite = 0x0020;
constexpr uint32_t fmShareDenyRead = 0x0030;
constexpr uint32_t fmShareDenyNone = 0x0040;
constexpr uint32_t fmCreate = 0xFF00;  // created or truncated, read and write

class TFileStream : public TStream {
    TARVEL_CLASS(TFileStream, TStream)

public:
    // Raises EFOpenError "Cannot open file "name". reason" or, for fmCreate,
    // EFCreateError "Cannot create file "name". reason"; anything but a
    // regular file is refused without waiting on it. A file opened only to
    // be read that is larger than `readLimit` raises EFileTooLarge before a
    // byte is read.
    TFileStream(const String& fileName, uint32_t mode, uint64_t readLimit = kMaxWholeFileBytes);
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override;
    // Raises EWriteError when the file cannot take the size.
    void SetSize(int64_t size) override;

    const String& FileName() const { return fileName_; }
    int Handle() const { return fd_; }

private:
    String fileName_;
    int fd_ = -1;
};

}  // namespace tarvel

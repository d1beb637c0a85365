#pragma once
// Binary record files ("ParaRecord.dat", "Version.dat") read and written at
// an offset.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarvel {

// The largest record file is the 264-byte polling record; a file or an
// offset past this is a mistake, not a reason to read or make a huge file.
constexpr uint64_t kMaxRecordFileSize = 4 << 10;

// Reads up to `count` bytes at `offset`; a read past the end reads only what
// is there and leaves the rest of the buffer as it was. The bytes read, or -1
// when the file cannot be opened or is no regular file (never waiting on a
// pipe or device in its place).
int64_t ReadFileAt(std::string_view path, uint64_t offset, void* buffer, size_t count);

// Writes `count` bytes at `offset` without truncating the file (created when
// missing; a gap before the offset reads as zeros). The file is replaced
// whole, so a failed write leaves it as it was. False when the file cannot
// be read or written, is larger than kMaxRecordFileSize, or the record
// would end past it.
bool WriteFileAt(std::string_view path, uint64_t offset, const void* data, size_t count);

}  // namespace tarvel

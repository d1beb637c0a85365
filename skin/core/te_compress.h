#pragma once
// Compression streams over zlib (RFC 1950 around RFC 1951, window bits 15,
// memory level 8): the compressed bodies of skin files are written through
// TCompressionStream and read through TDecompressionStream. Neither stream
// owns the stream beneath it, and both put that stream back where they left
// it before each call, so others may use it in between.

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/classlib/Streams.h"

namespace tarvel {

class EZlibError : public Exception {
public:
    using Exception::Exception;
};
class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

// Scoped: the class library's colours already use the names clNone and clDefault.
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };
int ZlibLevel(TCompressionLevel level);

class TCustomZlibStream : public TStream {
    TARVEL_CLASS(TCustomZlibStream, TStream)

public:
    static constexpr int kBufferSize = 8192;

    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(TStream& stream);
    virtual void Progress(TObject* sender);
    // Puts the stream beneath back where this object last left it.
    void Reposition();
    void RecordPosition() { streamPosition_ = stream_.Position(); }

    TStream& stream_;
    int64_t streamPosition_ = 0;
    z_stream zs_{};
    uint8_t buffer_[kBufferSize];
};

class TCompressionStream : public TCustomZlibStream {
    TARVEL_CLASS(TCompressionStream, TCustomZlibStream)

public:
    TCompressionStream(TCompressionLevel level, TStream& dest);
    // Finishes the data if Finish was not called; errors are then lost, so
    // writers that must know call Finish themselves.
    ~TCompressionStream() override;

    int64_t Read(void* buffer, int64_t count) override;  // raises
    int64_t Write(const void* buffer, int64_t count) override;
    // Only Seek(0, soCurrent): the bytes accepted so far.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Writes the rest of the zlib data; the data are complete only after it.
    void Finish();
    float GetCompressionRate() const;

private:
    void FlushBuffer();
    bool finished_ = false;
};

class TDecompressionStream : public TCustomZlibStream {
    TARVEL_CLASS(TDecompressionStream, TCustomZlibStream)

public:
    // `source` stands at the start of the zlib data.
    explicit TDecompressionStream(TStream& source);
    ~TDecompressionStream() override;

    // Answers the bytes delivered: fewer than asked when the zlib data or the
    // source end. Corrupt data raise EDecompressionError.
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;  // raises
    // Seek(0, soBeginning) restarts at the position the stream was made at;
    // forward seeks decompress and discard; anything else raises.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

private:
    void SkipForward(int64_t count);

    int64_t startPosition_ = 0;
    bool ended_ = false;
};

// Whole-buffer helpers. CompressBuf compresses at level 9. DecompressBuf
// takes the unpacked size where the caller knows it (skin files store it),
// or 0; a wrong size only costs time, never bytes.
std::vector<uint8_t> CompressBuf(const void* input, size_t inputBytes);
std::vector<uint8_t> DecompressBuf(const void* input, size_t inputBytes, size_t outputEstimate);
// The first output size of CompressBuf: (n + n / 10 + 12 + 255) with the low 8 bits cleared.
size_t CompressBufInitialSize(size_t inputBytes);

}  // namespace tarvel

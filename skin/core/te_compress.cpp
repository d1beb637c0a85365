#include "skin/core/te_compress.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>

#include "skin/core/te_const.h"

namespace tarvel {

namespace {

template <class E>
int Guarded(int result) {
    if (result < 0) throw E(SZlibError);
    return result;
}

constexpr int64_t kMaxZlibChunk = 1 << 30;

// Ends a zlib state however the work on it ends.
struct TZlibEnd {
    z_stream& zs;
    int (*end)(z_streamp);
    ~TZlibEnd() { end(&zs); }
};
constexpr int64_t kSkipChunk = 4096;

}  // namespace

int ZlibLevel(TCompressionLevel level) {
    static constexpr int kLevels[] = {0, 1, Z_DEFAULT_COMPRESSION, 9};
    return kLevels[static_cast<int>(level)];
}

TCustomZlibStream::TCustomZlibStream(TStream& stream) : stream_(stream) {
    streamPosition_ = stream.Position();
}

void TCustomZlibStream::Progress(TObject* sender) {
    if (OnProgress) OnProgress(sender);
}

void TCustomZlibStream::Reposition() {
    if (stream_.Position() != streamPosition_) stream_.SetPosition(streamPosition_);
}

// ---------------------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& dest) : TCustomZlibStream(dest) {
    zs_.next_out = buffer_;
    zs_.avail_out = kBufferSize;
    Guarded<ECompressionError>(deflateInit(&zs_, ZlibLevel(level)));
}

TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (const Exception&) {
        // Nothing can be reported from a destructor; Finish reports it.
    }
}

int64_t TCompressionStream::Read(void*, int64_t) { throw ECompressionError(SInvalidStreamOp); }

void TCompressionStream::FlushBuffer() {
    stream_.WriteBuffer(buffer_, kBufferSize);
    zs_.next_out = buffer_;
    zs_.avail_out = kBufferSize;
    RecordPosition();
    Progress(this);
}

int64_t TCompressionStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    if (finished_) throw ECompressionError(SInvalidStreamOp);
    Reposition();
    const Bytef* at = static_cast<const Bytef*>(buffer);
    int64_t left = count;
    while (left > 0) {
        const int64_t step = std::min(left, kMaxZlibChunk);
        zs_.next_in = const_cast<Bytef*>(at);
        zs_.avail_in = static_cast<uInt>(step);
        while (zs_.avail_in > 0) {
            Guarded<ECompressionError>(deflate(&zs_, Z_NO_FLUSH));
            if (zs_.avail_out == 0) FlushBuffer();
        }
        at += step;
        left -= step;
    }
    return count;
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
    if (offset == 0 && origin == soCurrent) return static_cast<int64_t>(zs_.total_in);
    throw ECompressionError(SInvalidStreamOp);
}

void TCompressionStream::Finish() {
    if (finished_) return;
    finished_ = true;
    const TZlibEnd end{zs_, &deflateEnd};
    zs_.next_in = nullptr;
    zs_.avail_in = 0;
    Reposition();
    for (;;) {
        const int r = Guarded<ECompressionError>(deflate(&zs_, Z_FINISH));
        if (r == Z_STREAM_END || zs_.avail_out > 0) break;
        FlushBuffer();
    }
    if (zs_.avail_out < kBufferSize) {
        stream_.WriteBuffer(buffer_, kBufferSize - zs_.avail_out);
        RecordPosition();
    }
}

float TCompressionStream::GetCompressionRate() const {
    if (zs_.total_in == 0) return 0.0f;
    return (1.0f - static_cast<float>(zs_.total_out) / static_cast<float>(zs_.total_in)) * 100.0f;
}

// ---------------------------------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream& source) : TCustomZlibStream(source) {
    startPosition_ = streamPosition_;
    zs_.next_in = buffer_;
    zs_.avail_in = 0;
    Guarded<EDecompressionError>(inflateInit(&zs_));
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&zs_); }

int64_t TDecompressionStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || ended_) return 0;
    Reposition();
    Bytef* at = static_cast<Bytef*>(buffer);
    int64_t delivered = 0;
    while (delivered < count) {
        const uInt space = static_cast<uInt>(std::min(count - delivered, kMaxZlibChunk));
        zs_.next_out = at + delivered;
        zs_.avail_out = space;
        bool sourceDry = false;
        if (zs_.avail_in == 0) {
            const int64_t n = stream_.Read(buffer_, kBufferSize);
            zs_.next_in = buffer_;
            zs_.avail_in = static_cast<uInt>(std::max<int64_t>(n, 0));
            sourceDry = n <= 0;
            if (!sourceDry) {
                RecordPosition();
                Progress(this);
            }
        }
        const int r = inflate(&zs_, Z_NO_FLUSH);
        delivered += space - zs_.avail_out;
        if (r == Z_STREAM_END) {
            // The zlib data end here, whatever follows them in the source.
            ended_ = true;
            break;
        }
        if (r == Z_NEED_DICT) throw EDecompressionError(SZlibError);
        // A source that has run dry may still let pending output out; when
        // nothing moves, the data are simply cut short.
        if (sourceDry && (r == Z_BUF_ERROR || zs_.avail_out == space)) break;
        Guarded<EDecompressionError>(r);
    }
    return delivered;
}

int64_t TDecompressionStream::Write(const void*, int64_t) { throw EDecompressionError(SInvalidStreamOp); }

void TDecompressionStream::SkipForward(int64_t count) {
    uint8_t scratch[kSkipChunk];
    while (count > 0) {
        const int64_t step = std::min(count, kSkipChunk);
        ReadBuffer(scratch, step);
        count -= step;
    }
}

int64_t TDecompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int64_t delivered = static_cast<int64_t>(zs_.total_out);
    if (origin == soBeginning && offset == 0) {
        Guarded<EDecompressionError>(inflateReset(&zs_));
        zs_.next_in = buffer_;
        zs_.avail_in = 0;
        ended_ = false;
        stream_.SetPosition(startPosition_);
        streamPosition_ = startPosition_;
    } else if (origin == soCurrent && offset >= 0) {
        SkipForward(offset);
    } else if (origin == soBeginning && offset >= delivered) {
        SkipForward(offset - delivered);
    } else {
        throw EDecompressionError(SInvalidStreamOp);
    }
    return static_cast<int64_t>(zs_.total_out);
}

// ---------------------------------------------------------------------------

size_t CompressBufInitialSize(size_t n) { return (n + n / 10 + 12 + 255) & ~static_cast<size_t>(255); }

namespace {

// Offers more output space after `zs` filled what it had.
void GrowOutput(std::vector<uint8_t>& out, z_stream& zs, size_t step) {
    const size_t used = out.size() - zs.avail_out;
    out.resize(out.size() + step);
    zs.next_out = out.data() + used;
    zs.avail_out += static_cast<uInt>(step);
}

}  // namespace

std::vector<uint8_t> CompressBuf(const void* input, size_t inputBytes) {
    if (inputBytes > UINT_MAX / 2) throw ECompressionError(SZlibError);
    std::vector<uint8_t> out(CompressBufInitialSize(inputBytes));
    z_stream zs{};
    Guarded<ECompressionError>(deflateInit(&zs, 9));
    const TZlibEnd end{zs, &deflateEnd};
    zs.next_in = static_cast<Bytef*>(const_cast<void*>(input));
    zs.avail_in = static_cast<uInt>(inputBytes);
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    for (;;) {
        const int r = deflate(&zs, Z_FINISH);
        if (r == Z_STREAM_END) break;
        if (r < 0 && !(r == Z_BUF_ERROR && zs.avail_out == 0)) throw ECompressionError(SZlibError);
        GrowOutput(out, zs, 256);
    }
    out.resize(zs.total_out);
    return out;
}

namespace {

// Output space for inflate. A guessed size grows in a block that is not
// cleared first, and realloc moves a large block by remapping its pages; a
// size the caller knows goes straight into the vector handed back.
class TGuessedOutput {
public:
    ~TGuessedOutput() { std::free(bytes_); }
    // Offers `size` bytes in all, keeping the first `used`.
    void Resize(z_stream& zs, size_t used, size_t size) {
        void* grown = std::realloc(bytes_, size);
        if (!grown) throw std::bad_alloc();
        bytes_ = static_cast<uint8_t*>(grown);
        zs.next_out = bytes_ + used;
        zs.avail_out = static_cast<uInt>(std::min<size_t>(size - used, UINT_MAX));
    }
    std::vector<uint8_t> Take(size_t used) { return std::vector<uint8_t>(bytes_, bytes_ + used); }

private:
    uint8_t* bytes_ = nullptr;
};

class TKnownOutput {
public:
    void Resize(z_stream& zs, size_t used, size_t size) {
        bytes_.resize(size);
        zs.next_out = bytes_.data() + used;
        zs.avail_out = static_cast<uInt>(std::min<size_t>(size - used, UINT_MAX));
    }
    std::vector<uint8_t> Take(size_t used) {
        bytes_.resize(used);
        return std::move(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
};

// Inflates the whole of `input`, doubling the output whenever it fills.
template <class Output>
std::vector<uint8_t> InflateWhole(const void* input, size_t inputBytes, size_t firstSize) {
    z_stream zs{};
    Guarded<EDecompressionError>(inflateInit(&zs));
    const TZlibEnd end{zs, &inflateEnd};
    zs.next_in = static_cast<Bytef*>(const_cast<void*>(input));
    zs.avail_in = static_cast<uInt>(inputBytes);
    Output out;
    out.Resize(zs, 0, firstSize);
    for (;;) {
        const int r = inflate(&zs, Z_NO_FLUSH);
        if (r == Z_STREAM_END) break;
        const bool outputFull = zs.avail_out == 0;
        if (r == Z_NEED_DICT || (r < 0 && !(r == Z_BUF_ERROR && outputFull)) ||
            (!outputFull && zs.avail_in == 0))
            throw EDecompressionError(SZlibError);  // corrupt or cut short
        const size_t used = zs.total_out;
        out.Resize(zs, used, used + std::max<size_t>(used, 4096));
    }
    return out.Take(zs.total_out);
}

}  // namespace

std::vector<uint8_t> DecompressBuf(const void* input, size_t inputBytes, size_t outputEstimate) {
    if (inputBytes > UINT_MAX / 2) throw EDecompressionError(SZlibError);
    if (outputEstimate != 0) return InflateWhole<TKnownOutput>(input, inputBytes, outputEstimate);
    // A typical packing for a first guess.
    return InflateWhole<TGuessedOutput>(input, inputBytes, std::max<size_t>(inputBytes * 4, 4096));
}

}  // namespace tarvel

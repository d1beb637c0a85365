// ZSoft PCX pictures of 8 bits per pixel: one plane of palette indices or
// three planes of red, green and blue, plain or run-length encoded.
#include <array>
#include <cstring>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "platform/classlib/Bitmaps.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_utils.h"

namespace tarvel {

namespace {

constexpr int kHeaderSize = 128;
constexpr int kPaletteSize = 768;
constexpr int64_t kMaxPcxPixels = int64_t{1} << 26;
constexpr int64_t kMaxRunGain = 32;
constexpr const char* kPcxError = "PCX picture is malformed";

struct TPcxHeader {
    uint8_t manufacturer, version, encoding, bitsPerPixel;
    int xMin, yMin, xMax, yMax;
    uint8_t palette16[48];
    int planes, bytesPerLine;
};

TPcxHeader ParseHeader(const uint8_t* h) {
    TPcxHeader r{};
    r.manufacturer = h[0];
    r.version = h[1];
    r.encoding = h[2];
    r.bitsPerPixel = h[3];
    r.xMin = LoadLe16(h + 4);
    r.yMin = LoadLe16(h + 6);
    r.xMax = LoadLe16(h + 8);
    r.yMax = LoadLe16(h + 10);
    std::memcpy(r.palette16, h + 16, 48);
    r.planes = h[65];
    r.bytesPerLine = LoadLe16(h + 66);
    return r;
}

// The 16 colours of the classic display, for version 3 pictures.
constexpr std::array<uint32_t, 16> kSystemPalette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

[[noreturn]] void Malformed() { throw EReadError(kPcxError); }

// Decodes exactly out.size() bytes; runs are cut where the picture ends.
void Unpack(const std::vector<uint8_t>& in, bool rle, std::vector<uint8_t>& out) {
    size_t at = 0, pos = 0;
    while (pos < out.size()) {
        if (at >= in.size()) Malformed();
        uint8_t b = in[at++];
        size_t count = 1;
        if (rle && b >= 192) {
            count = b & 63;
            if (at >= in.size()) Malformed();
            b = in[at++];
        }
        count = std::min(count, out.size() - pos);
        std::memset(out.data() + pos, b, count);
        pos += count;
    }
}

}  // namespace

void TteBitmap::LoadFromPcxStream(TStream& stream) {
    try {
        const int64_t left = StreamBytesLeft(stream);
        if (left < kHeaderSize) Malformed();
        const std::vector<uint8_t> raw = ReadBoundedBytes(stream, kHeaderSize);
        const TPcxHeader h = ParseHeader(raw.data());
        const int width = h.xMax - h.xMin + 1, height = h.yMax - h.yMin + 1;
        if ((h.manufacturer != 10 && h.manufacturer != 205) || h.bitsPerPixel != 8 ||
            (h.planes != 1 && h.planes != 3) || width <= 0 || height <= 0 || h.bytesPerLine < width ||
            static_cast<int64_t>(width) * height > kMaxPcxPixels)
            Malformed();
        const bool indexed = h.planes == 1;
        const bool ownPalette = indexed && h.version != 3;
        const int64_t body = left - kHeaderSize - (ownPalette ? kPaletteSize + 1 : 0);
        if (body <= 0) Malformed();
        const std::vector<uint8_t> packed = ReadBoundedBytes(stream, body);
        // A run of two bytes gives at most 63: the picture cannot be larger.
        const size_t rowBytes = static_cast<size_t>(h.planes) * h.bytesPerLine;
        const int64_t decoded = static_cast<int64_t>(rowBytes) * height;
        if (decoded > body * (h.encoding == 1 ? kMaxRunGain : 1)) Malformed();
        std::vector<uint8_t> rows(static_cast<size_t>(decoded));
        Unpack(packed, h.encoding == 1, rows);

        std::array<uint32_t, 256> palette{};
        if (ownPalette) {
            const std::vector<uint8_t> marked = ReadBoundedBytes(stream, kPaletteSize + 1);
            for (int i = 0; i < 256; ++i)
                palette[i] = (marked[1 + 3 * i] << 16) | (marked[2 + 3 * i] << 8) | marked[3 + 3 * i];
        } else {
            std::copy(kSystemPalette16.begin(), kSystemPalette16.end(), palette.begin());
        }

        TBitmap picture(width, height);
        picture.SetPixelFormat(indexed ? pf8bit : pf24bit);
        for (int y = 0; y < height; ++y) {
            const uint8_t* src = rows.data() + rowBytes * static_cast<size_t>(y);
            uint32_t* dst = picture.ScanLine(y);
            for (int x = 0; x < width; ++x)
                dst[x] = indexed
                             ? palette[src[x]]
                             : (src[x] << 16) | (src[h.bytesPerLine + x] << 8) | src[2 * h.bytesPerLine + x];
        }
        Assign(&picture);
    } catch (...) {
        ReleaseSurface();
        throw;
    }
}

}  // namespace tarvel

#include "platform/classlib/BmpFiles.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/base/LittleEndian.h"

namespace tarvel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;
constexpr int32_t kMaxSide = 32767;
constexpr int32_t kPixelsPerMetre = 3780;  // 96 dpi

struct BitDepth {
    uint16_t bits;
    TPixelFormat format;
};
constexpr BitDepth kDepths[] = {{1, pf1bit}, {4, pf4bit}, {8, pf8bit}, {24, pf24bit}, {32, pf32bit}};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }
[[noreturn]] void Short() { throw EReadError("Stream read error"); }

struct Header {
    int32_t width = 0;
    int32_t height = 0;  // < 0: rows top-down
    uint16_t planes = 0;
    uint16_t bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    uint32_t paletteEntrySize = 4;
    std::array<uint32_t, 3> masks{};  // red, green, blue
};

Header ParseHeader(const uint8_t* h, uint32_t size) {
    Header header;
    if (size == kCoreHeaderSize) {
        header.width = LoadLe16(h + 4);
        header.height = LoadLe16(h + 6);
        header.planes = LoadLe16(h + 8);
        header.bits = LoadLe16(h + 10);
        header.paletteEntrySize = 3;
        return header;
    }
    header.width = static_cast<int32_t>(LoadLe32(h + 4));
    header.height = static_cast<int32_t>(LoadLe32(h + 8));
    header.planes = LoadLe16(h + 12);
    header.bits = LoadLe16(h + 14);
    header.compression = LoadLe32(h + 16);
    header.colorsUsed = LoadLe32(h + 32);
    if (size >= kInfoHeaderSize + 12) header.masks = {LoadLe32(h + 40), LoadLe32(h + 44), LoadLe32(h + 48)};
    return header;
}

const BitDepth* FindDepth(uint16_t bits) {
    for (const BitDepth& d : kDepths)
        if (d.bits == bits) return &d;
    return nullptr;
}

}  // namespace

std::shared_ptr<Surface> ReadBmp(TStream& stream, TPixelFormat& format) {
    const int64_t start = stream.Position();
    const int64_t available = stream.Size() - start;
    if (available <= 0) return nullptr;
    auto need = [&](int64_t offset, int64_t count) {
        if (offset < 0 || count < 0 || offset + count > available) Short();
    };

    need(0, kFileHeaderSize + 4);
    uint8_t fileHeader[kFileHeaderSize + 4];
    stream.ReadBuffer(fileHeader, sizeof fileHeader);
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Invalid();
    const int64_t pixelOffset = LoadLe32(fileHeader + 10);
    const uint32_t headerSize = LoadLe32(fileHeader + kFileHeaderSize);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > kLargestHeaderSize))
        Invalid();

    uint8_t raw[kLargestHeaderSize] = {};
    need(kFileHeaderSize, headerSize);
    stream.ReadBuffer(raw + 4, headerSize - 4);
    Header header = ParseHeader(raw, headerSize);
    int64_t consumed = kFileHeaderSize + headerSize;

    const BitDepth* depth = FindDepth(header.bits);
    if (!depth || header.planes != 1) Invalid();
    if (header.width <= 0 || header.width > kMaxSide || header.height == 0 || header.height < -kMaxSide ||
        header.height > kMaxSide)
        Invalid();
    if (header.compression == kBiBitFields && headerSize == kInfoHeaderSize) {
        need(consumed, 12);
        uint8_t masks[12];
        stream.ReadBuffer(masks, sizeof masks);
        header.masks = {LoadLe32(masks), LoadLe32(masks + 4), LoadLe32(masks + 8)};
        consumed += 12;
    }
    // Bit fields are taken only when they describe the plain 32-bit layout.
    const bool plainFields =
        header.bits == 32 && header.masks == std::array<uint32_t, 3>{0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (header.compression != kBiRgb && !(header.compression == kBiBitFields && plainFields)) Invalid();

    std::vector<uint32_t> palette;
    if (header.bits <= 8) {
        const uint32_t most = 1u << header.bits;
        const uint32_t count = header.colorsUsed == 0 ? most : header.colorsUsed;
        if (count > most) Invalid();
        const int64_t bytes = int64_t{count} * header.paletteEntrySize;
        need(consumed, bytes);
        std::vector<uint8_t> entries(static_cast<size_t>(bytes));
        stream.ReadBuffer(entries.data(), bytes);
        palette.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = entries.data() + size_t{i} * header.paletteEntrySize;
            palette[i] = (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
        }
        consumed += bytes;
    }

    const int width = header.width;
    const int rows = header.height < 0 ? -header.height : header.height;
    const int64_t stride = (int64_t{width} * header.bits + 31) / 32 * 4;
    if (pixelOffset < consumed) Invalid();
    need(pixelOffset, stride * rows);

    auto surface = std::make_shared<Surface>(width, rows, true, Surface::Fill::None);  // every row is read
    if (!surface->Valid()) throw EOutOfMemory();
    stream.Seek(start + pixelOffset, soBeginning);
    std::vector<uint8_t> line(static_cast<size_t>(stride));
    for (int i = 0; i < rows; ++i) {
        stream.ReadBuffer(line.data(), stride);
        uint32_t* out = surface->Row(header.height < 0 ? i : rows - 1 - i);
        const uint8_t* in = line.data();
        switch (header.bits) {
            case 32:
                for (int x = 0; x < width; ++x) out[x] = LoadLe32(in + size_t(x) * 4);
                break;
            case 24:
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = in + size_t(x) * 3;
                    out[x] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
                }
                break;
            default: {
                // Indices past the palette draw black, as they always have.
                const int bits = header.bits;
                const int perByte = 8 / bits;
                const unsigned mask = (1u << bits) - 1;
                for (int x = 0; x < width; ++x) {
                    const int shift = 8 - bits * (x % perByte + 1);
                    const unsigned index = (in[x / perByte] >> shift) & mask;
                    out[x] = index < palette.size() ? palette[index] : 0;
                }
            }
        }
    }
    format = depth->format;
    return surface;
}

void WriteBmp(TStream& stream, const Surface& pixels, bool withAlpha) {
    const int width = pixels.Width();
    const int height = pixels.Height();
    const uint32_t bits = withAlpha ? 32 : 24;
    const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
    const uint32_t dataSize = stride * static_cast<uint32_t>(height);
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> head;
    head.push_back('B');
    head.push_back('M');
    Put32(head, offset + dataSize);
    Put32(head, 0);
    Put32(head, offset);
    Put32(head, kInfoHeaderSize);
    Put32(head, static_cast<uint32_t>(width));
    Put32(head, static_cast<uint32_t>(height));
    Put16(head, 1);
    Put16(head, bits);
    Put32(head, kBiRgb);
    Put32(head, dataSize);
    Put32(head, kPixelsPerMetre);
    Put32(head, kPixelsPerMetre);
    Put32(head, 0);
    Put32(head, 0);
    stream.WriteBuffer(head.data(), static_cast<int64_t>(head.size()));

    std::vector<uint8_t> line(stride, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* in = pixels.Row(y);
        uint8_t* out = line.data();
        for (int x = 0; x < width; ++x) {
            const uint32_t p = in[x];
            *out++ = static_cast<uint8_t>(p);
            *out++ = static_cast<uint8_t>(p >> 8);
            *out++ = static_cast<uint8_t>(p >> 16);
            if (withAlpha) *out++ = static_cast<uint8_t>(p >> 24);
        }
        stream.WriteBuffer(line.data(), stride);
    }
}

}  // namespace tarvel

#include "platform/base/LittleEndian.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvel {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(LittleEndian, FieldsReadLowByteFirstAndSigned) {
    const Bytes b{0x18, 0xFC, 0xFF, 0xFF};
    EXPECT_EQ(ReadI32(b, 0), -1000);
    EXPECT_EQ(ReadU32(b, 0), 0xFFFFFC18u);
    EXPECT_EQ(ReadU16(b, 0), 0xFC18);
    EXPECT_EQ(ReadI16(b, 2), -1);
    const Bytes t{0xF6, 0xFF};
    EXPECT_EQ(ReadI16(t, 0), -10);
    EXPECT_EQ(LoadLe16(t.data()), 0xFFF6);
    EXPECT_EQ(LoadLe32(b.data()), 0xFFFFFC18u);
}

TEST(LittleEndian, FieldsPastTheEndOfTheSpanReadAsZero) {
    const Bytes held{0x11, 0x22, 0x33, 0x44, 0x55};
    // A shorter view of the same bytes: what lies beyond it must not be read.
    const ByteSpan view = ByteSpan(held).first(3);
    struct Case {
        size_t offset;
        uint16_t u16;
        uint32_t u32;
    };
    const Case cases[] = {
        {0, 0x2211, 0}, {1, 0x3322, 0}, {2, 0, 0}, {3, 0, 0}, {SIZE_MAX, 0, 0}, {SIZE_MAX - 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadU16(view, c.offset), c.u16) << c.offset;
        EXPECT_EQ(ReadU32(view, c.offset), c.u32) << c.offset;
    }
    EXPECT_EQ(ReadU32(held, 1), 0x55443322u);
    EXPECT_EQ(ReadU16(ByteSpan{}, 0), 0);
}

TEST(LittleEndian, StoresAndAppendsRoundTrip) {
    uint8_t p[4] = {};
    StoreLe32(p, 0x12345678);
    EXPECT_EQ(Bytes(p, p + 4), (Bytes{0x78, 0x56, 0x34, 0x12}));
    StoreLe16(p, 0xBEEF);
    EXPECT_EQ(Bytes(p, p + 4), (Bytes{0xEF, 0xBE, 0x34, 0x12}));

    Bytes out;
    AppendLe16(out, 0x0102);
    AppendLe32(out, 100000);
    AppendLe(out, static_cast<uint64_t>(-2), 2);  // a negative value cut to its field
    EXPECT_EQ(out, (Bytes{0x02, 0x01, 0xA0, 0x86, 0x01, 0x00, 0xFE, 0xFF}));
    EXPECT_EQ(ReadU32(out, 2), 100000u);
    EXPECT_EQ(ReadI16(out, 6), -2);
}

}  // namespace
}  // namespace tarvel

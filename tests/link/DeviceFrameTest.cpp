#include "link/DeviceFrame.h"

#include <gtest/gtest.h>

#include <optional>

#include "link/CommandTable.h"

namespace tarvel {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(DeviceFrame, PlainRequestsHaveTheDocumentedBytes) {
    EXPECT_EQ(BuildRequest(0, CmdQuerySbs), (Bytes{0x00, 0x00, 0x04, 0x01, 0x03, 0x55, 0xAA, 0x07}));
    EXPECT_EQ(BuildRequest(5, CmdReadBms), (Bytes{0x05, 0x00, 0x04, 0x01, 0x15, 0x55, 0xAA, 0x19}));
    // The poll of slot 63 addresses module 64.
    EXPECT_EQ(BuildRequest(64, CmdQuerySbs), (Bytes{0x40, 0x00, 0x04, 0x01, 0x03, 0x55, 0xAA, 0x07}));
}

TEST(DeviceFrame, AcknowledgementLayoutSumsWithoutTheAddress) {
    const Bytes status{0x00};
    EXPECT_EQ(BuildFrame(1, 0x89, status), (Bytes{0x01, 0x00, 0x05, 0x01, 0x89, 0x55, 0xAA, 0x00, 0x8E}));
    // The address byte never changes the sum.
    EXPECT_EQ(BuildFrame(0x3F, 0x89, status).back(), 0x8E);
}

TEST(DeviceFrame, CapacityWriteIsLittleEndianWithBigEndianLength) {
    Bytes data;
    AppendLe32(data, 100000);
    EXPECT_EQ(BuildFrame(0, CmdSetCap, data),
              (Bytes{0x00, 0x00, 0x08, 0x01, 0x32, 0x55, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x61}));
}

TEST(DeviceFrame, LengthAboveOneByteGoesHighByteFirst) {
    const Bytes block(140, 0);
    const Bytes frame = BuildFrame(2, CmdWriteBms, block);
    ASSERT_EQ(frame.size(), 148u);
    EXPECT_EQ(frame[1], 0x00);
    EXPECT_EQ(frame[2], 0x90);
    EXPECT_EQ(FrameLengthField(frame.data()), 144u);
    EXPECT_EQ(frame.back(), Checksum8(frame.data() + 1, 146));
}

TEST(DeviceFrame, ShortFrameSumsAllFiveBytes) {
    EXPECT_EQ(BuildShortFrame(3), (Bytes{0x55, 0xAA, 0x16, 0x01, 0x03, 0x19}));
}

TEST(DeviceFrame, Checksum8DropsTheCarry) {
    const Bytes bytes{0xFF, 0xFF, 0x03};
    EXPECT_EQ(Checksum8(bytes), 0x01);
    EXPECT_EQ(Checksum8(nullptr, 0), 0);
}

TEST(DeviceFrame, HexTextTwoDigitsAndABlankPerByte) {
    EXPECT_EQ(HexText(nullptr, 0), "");
    const Bytes bytes{0x00, 0x55, 0xAA};
    EXPECT_EQ(HexText(bytes), "00 55 AA ");
    const Bytes two{0x0A, 0xFF};
    EXPECT_EQ(HexText(two), "0A FF ");
}

TEST(DeviceFrame, RequestAddressIsTheLowByteOrFFWithoutChoice) {
    EXPECT_EQ(RequestAddress(-1), 0xFF);
    EXPECT_EQ(RequestAddress(5), 5);
    EXPECT_EQ(RequestAddress(64), 64);
    EXPECT_EQ(LoByte(0x1234), 0x34);
    EXPECT_EQ(HiByte(0x1234), 0x12);
}

TEST(DeviceFrame, ReplyDataIsTakenOnlyFromAWholeFrameOfItsCodeAndLength) {
    // 0x86 with Length 7: status 0 and two data bytes.
    const Bytes reply = BuildFrame(1, 0x86, Bytes{0x00, 0x34, 0x12});
    const Bytes ack = BuildFrame(1, 0x86, Bytes{0x00});
    const Bytes cut(reply.begin(), reply.end() - 1);
    Bytes longer = reply;
    longer.push_back(0x00);
    Bytes tooShortLength = reply;
    tooShortLength[frame::kLengthLow] = 4;
    const Bytes eight(reply.begin(), reply.begin() + 8);
    struct Case {
        const char* what;
        const Bytes& frame;
        uint8_t code;
        std::initializer_list<uint16_t> lengths;
        std::optional<Bytes> data;
    };
    const Case cases[] = {
        {"any length", reply, 0x86, {}, Bytes{0x34, 0x12}},
        {"a listed length", reply, 0x86, {5, 7}, Bytes{0x34, 0x12}},
        {"no data", ack, 0x86, {}, Bytes{}},
        {"another code", reply, 0x87, {}, std::nullopt},
        {"a length not listed", reply, 0x86, {5, 8}, std::nullopt},
        {"bytes missing", cut, 0x86, {}, std::nullopt},
        {"bytes beyond the frame", longer, 0x86, {}, std::nullopt},
        {"Length below 5", tooShortLength, 0x86, {}, std::nullopt},
        {"fewer than 9 bytes", eight, 0x86, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<ByteSpan> data = ReplyData(c.frame, c.code, c.lengths);
        ASSERT_EQ(data.has_value(), c.data.has_value()) << c.what;
        if (data) {
            EXPECT_EQ(Bytes(data->begin(), data->end()), *c.data) << c.what;
        }
    }
}

TEST(DeviceFrame, ModuleTextEndsAtTheFirstZeroOrTheField) {
    EXPECT_EQ(TextUntilZero(Bytes{'V', '2', 0, 'x'}), "V2");
    EXPECT_EQ(TextUntilZero(Bytes{'A', 'B'}), "AB");
    EXPECT_EQ(TextUntilZero(Bytes{}), "");
}

}  // namespace
}  // namespace tarvel

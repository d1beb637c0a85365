#include "telemetry/DeviceInfo.h"

#include <gtest/gtest.h>

#include "platform/base/DateTime.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

using testing::DeviceFixture;
using testing::Hex;
using testing::ReplyFrame;

TEST(DeviceInfo, LongVersionReply) {
    const auto v = DecodeVersionReply(DeviceFixture("version_86_long.hex"));
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->longLayout);
    EXPECT_EQ(VersionNumberCells(*v), (std::array<std::string, 4>{"3", "1", "12", "2018.05.09"}));
    EXPECT_EQ(v->hardwareText, "HW-A,rev2,board");
    EXPECT_EQ(v->functionText, "FUNC 16S");
}

TEST(DeviceInfo, ShortVersionReplyHasNoTexts) {
    const auto v = DecodeVersionReply(DeviceFixture("version_86_short.hex"));
    ASSERT_TRUE(v);
    EXPECT_FALSE(v->longLayout);
    EXPECT_EQ(EditTimeText(*v), "2018.12.31");
    EXPECT_EQ(v->hardwareText, "");
    EXPECT_FALSE(DecodeVersionReply(ReplyFrame(0, 0x86, std::vector<uint8_t>(11))));
}

TEST(DeviceInfo, VersionTextsSplitAtTheCommas) {
    struct Case {
        std::string oldHead, text, head, tail;
    };
    const std::vector<Case> cases = {
        {"old", "HW-A,rev2,board", "HW-A,rev2", "rev2,board"},
        {"old", "no comma", "old", ""},
        {"old", "head,tail", "head", "tail"},
        {"old", "", "old", ""},
    };
    for (const Case& c : cases) {
        VersionTexts texts{c.oldHead, "stale"};
        UpdateVersionTexts(texts, c.text);
        EXPECT_EQ(texts.head, c.head) << c.text;
        EXPECT_EQ(texts.tail, c.tail) << c.text;
    }
}

TEST(DeviceInfo, TextsFromTheModuleAreBoundedByTheFrame) {
    // A serial number of 20 characters without a closing zero stops at the field.
    EXPECT_EQ(DecodeSerialNumberReply(DeviceFixture("serial_90.hex")), "ABCDEFGHIJ0123456789");
    EXPECT_EQ(DecodeSerialNumberReply(ReplyFrame(0, 0x90, std::vector<uint8_t>(20))), "");
    EXPECT_FALSE(DecodeSerialNumberReply(ReplyFrame(0, 0x90, std::vector<uint8_t>(19))));

    EXPECT_EQ(DecodeDeviceText(DeviceFixture("device_text_94.hex")), "Cell 3 high 温度");
    EXPECT_EQ(DecodeDeviceText(ReplyFrame(0, 0x94, {})), "");
    // A Length below 5 is refused, never copied.
    EXPECT_FALSE(DecodeDeviceText(Hex("00 00 02 BF 94 55 AA")));
    EXPECT_FALSE(DecodeDeviceText(Hex("00 00 02 BF 94 55 AA 00 00")));
    std::vector<uint8_t> longText(2500, 'x');
    EXPECT_EQ(DecodeDeviceText(ReplyFrame(0, 0x94, longText))->size(), 1999u);
}

TEST(DeviceInfo, DeviceTextLogLine) {
    const TDateTime when = EncodeDateTime({2018, 11, 22, 14, 5, 9, 0});
    EXPECT_EQ(DeviceTextLogLine(when, "hello"), "【2018-11-22 14:05:09】hello");
}

TEST(DeviceInfo, IoStateShowsEachRegisterAsHexAndBits) {
    const auto registers = DecodeIoState(DeviceFixture("io_85.hex"));
    ASSERT_TRUE(registers);
    ASSERT_EQ(registers->size(), 19u);
    EXPECT_EQ((*registers)[0].label, "L_P0");
    EXPECT_EQ((*registers)[0].text, "0x3C");
    EXPECT_EQ((*registers)[0].bits, (std::array<std::string, 8>{"0", "0", "1", "1", "1", "1", "0", "0"}));
    EXPECT_EQ((*registers)[18].label, "L_P7MDOUT");
    EXPECT_EQ((*registers)[18].grid, "SG_P7");
    EXPECT_EQ((*registers)[18].row, 1);
    EXPECT_EQ((*registers)[18].text, "0x12");
    EXPECT_FALSE(DecodeIoState(ReplyFrame(0, 0x85, std::vector<uint8_t>(18))));
}

}  // namespace
}  // namespace tarvel

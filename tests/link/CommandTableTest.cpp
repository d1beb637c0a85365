#include "link/CommandTable.h"

#include <gtest/gtest.h>

#include <set>

#include "link/DeviceFrame.h"

namespace tarvel {
namespace {

struct Row {
    uint8_t code;
    std::vector<uint32_t> requestLengths;  // empty: never sent as a DeviceFrame
    std::vector<uint32_t> replyLengths;    // empty: refused; {0}: any
};

// Every code of the command set with the Lengths the tool sends and accepts.
const Row kExpected[] = {
    {0x00, {}, {}},          {0x01, {4}, {5}},        {0x02, {4}, {5}},      {0x03, {4, 24}, {101}},
    {0x04, {4}, {59}},       {0x05, {4}, {}},         {0x06, {4}, {85, 15}}, {0x07, {4}, {71, 63}},
    {0x08, {70, 62}, {5}},   {0x09, {144}, {5}},      {0x0A, {4}, {5}},      {0x0B, {4}, {5}},
    {0x0C, {4}, {5}},        {0x0D, {4}, {5}},        {0x0E, {4}, {21}},     {0x0F, {20}, {5}},
    {0x10, {4}, {25}},       {0x11, {24}, {5}},       {0x12, {}, {121}},     {0x13, {20}, {5}},
    {0x14, {}, {0}},         {0x15, {4}, {145}},      {0x16, {}, {}},        {0x17, {4}, {6}},
    {0x18, {5}, {0}},        {0x19, {4}, {433, 413}}, {0x1A, {4}, {5}},      {0x20, {12}, {5}},
    {0x21, {4}, {393}},      {0x22, {4}, {5}},        {0x23, {4}, {5}},      {0x24, {4}, {5}},
    {0x25, {4}, {13}},       {0x26, {12}, {5}},       {0x27, {4}, {5}},      {0x28, {4}, {5}},
    {0x29, {4}, {13}},       {0x2A, {4}, {6}},        {0x2B, {4}, {5}},      {0x2C, {22}, {5}},
    {0x2D, {5}, {433, 413}}, {0x2E, {4}, {251}},      {0x2F, {24}, {5}},     {0x30, {4}, {5}},
    {0x31, {4}, {5}},        {0x32, {8}, {5}},        {0x33, {4}, {9}},      {0x35, {6}, {5}},
    {0x39, {5}, {5}},        {0x3A, {4}, {6}},
};

TEST(CommandTable, EveryCodeHasItsRequestAndReplyLengths) {
    std::set<uint8_t> seen;
    for (const Row& want : kExpected) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << int(want.code));
        const CommandRow* row = FindCommand(want.code);
        ASSERT_NE(row, nullptr);
        seen.insert(want.code);
        for (uint32_t l = 0; l < 600; ++l) {
            const bool sent = std::find(want.requestLengths.begin(), want.requestLengths.end(), l) !=
                              want.requestLengths.end();
            EXPECT_EQ(AcceptsRequestLength(*row, l), sent) << "request L " << l;
            bool accepted =
                std::find(want.replyLengths.begin(), want.replyLengths.end(), l) != want.replyLengths.end();
            if (want.replyLengths == std::vector<uint32_t>{0}) accepted = true;
            EXPECT_EQ(AcceptsReplyLength(*row, l), accepted) << "reply L " << l;
        }
        EXPECT_EQ(FindReplyRow(static_cast<uint8_t>(want.code | 0x80)), row);
    }
    for (int code = 0; code < 256; ++code) {
        if (!seen.count(static_cast<uint8_t>(code))) {
            EXPECT_EQ(FindCommand(static_cast<uint8_t>(code)), nullptr) << code;
        }
    }
    size_t count = 0;
    CommandRows(count);
    EXPECT_EQ(count, seen.size());
}

TEST(CommandTable, PlainRequestOfEveryCodeThatHasOne) {
    size_t count = 0;
    const CommandRow* rows = CommandRows(count);
    for (size_t i = 0; i < count; ++i) {
        if (!AcceptsRequestLength(rows[i], 4)) continue;
        const uint8_t code = rows[i].code;
        EXPECT_EQ(BuildRequest(0x3F, code), (std::vector<uint8_t>{0x3F, 0x00, 0x04, 0x01, code, 0x55, 0xAA,
                                                                  static_cast<uint8_t>(code + 4)}))
            << std::hex << int(code);
    }
}

TEST(CommandTable, CodesOutsideTheSetHaveNoRow) {
    for (uint8_t code : {0x1B, 0x1F, 0x34, 0x36, 0x38, 0x3B, 0x7F})
        EXPECT_EQ(FindCommand(code), nullptr) << int(code);
    for (uint8_t reply : {0x00, 0x03, 0x7F, 0x9B, 0xB4, 0xBB, 0xFF})
        EXPECT_EQ(FindReplyRow(reply), nullptr) << int(reply);
    EXPECT_STREQ(FindCommand(0x16)->name, "CmdQueryExt");
    EXPECT_EQ(FindCommand(0x16)->requestForm, RequestForm::ShortFrame);
}

std::string NameOf(uint8_t code, const ReplyNameOptions& options = {}) {
    const std::vector<uint8_t> frame = BuildFrame(1, code, std::vector<uint8_t>{0});
    return ReplyName(frame, options);
}

TEST(CommandTable, ResultLineNames) {
    const std::pair<uint8_t, const char*> names[] = {
        {0x81, "Login"},
        {0x82, "Logout"},
        {0x83, "Query SBS data"},
        {0x84, "Query ADC"},
        {0x85, "Query IO state"},
        {0x86, "Query version"},
        {0x87, "Query KB"},
        {0x88, "Set KB"},
        {0x89, "set BMS"},
        {0x8A, "Open tube in charge"},
        {0x8B, "Turn off tube in charge"},
        {0x8C, "open tube in discharge"},
        {0x8D, "Turn off tube in discharge"},
        {0x8E, "Query reason for exit in history"},
        {0x90, "Query Seri number"},
        {0x91, "Set Seri number"},
        {0x92, "Query SBS data by serial number"},
        {0x93, "Set Life"},
        {0x95, "Query BMS"},
        {0x99, "Get History "},
        {0xAE, "Get Daily Records"},
        {0xB2, "Set Capacity"},
        {0xB3, "Get Capacity"},
        // No name: the line holds only the result text.
        {0x8F, ""},
        {0x94, ""},
        {0x96, ""},
        {0x97, ""},
        {0x9A, ""},
        {0xAD, ""},
        {0xBA, ""},
        {0xBB, ""},
        {0x03, ""},
    };
    for (const auto& [code, name] : names) EXPECT_EQ(NameOf(code), name) << std::hex << int(code);
}

TEST(CommandTable, SampleNamesAndTheChineseSet) {
    EXPECT_EQ(NameOf(0x83, {.sampleVoltageOn = true, .sampleCurrentOn = true}), "Sample V");
    EXPECT_EQ(NameOf(0x83, {.sampleCurrentOn = true}), "Sample A");
    EXPECT_EQ(NameOf(0x86, {.sampleVoltageOn = true}), "Query version");
    EXPECT_EQ(NameOf(0x9A, {.chinese = true}), "成功擦除flash所有历史告警记录");
    EXPECT_EQ(NameOf(0x83, {.sampleCurrentOn = true, .chinese = true}), "采样电流");
}

TEST(CommandTable, AutomaticSendShowsTheFrameInHex) {
    const std::vector<uint8_t> frame = BuildFrame(2, 0x80, std::vector<uint8_t>{0});
    EXPECT_EQ(ReplyName(frame), "Automatic send data [02 00 05 01 80 55 AA 00 85 ]");
}

TEST(CommandTable, ResultNames) {
    EXPECT_EQ(ReplyResultName(ReplyOk), "ReplyOk");
    EXPECT_EQ(ReplyResultName(ReplyAddressError), "ReplyAddressError");
    EXPECT_EQ(ReplyResultName(ReplyOtherError), "ReplyOtherError");
    EXPECT_EQ(ReplyResultName(42), "Reply42");
}

}  // namespace
}  // namespace tarvel

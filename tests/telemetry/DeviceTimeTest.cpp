#include "telemetry/DeviceTime.h"

#include <gtest/gtest.h>

#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

TEST(DeviceTime, MondayMorningInBothDirections) {
    const auto bytes = testing::Hex("E2 07 0B 01 05 09 03 07");
    const DeviceTime time = DeviceTimeOf(EncodeDateTime({2018, 11, 5, 9, 3, 7, 0}));
    EXPECT_EQ(time, (DeviceTime{2018, 11, 1, 5, 9, 3, 7}));
    const auto encoded = EncodeDeviceTime(time);
    EXPECT_EQ(std::vector<uint8_t>(encoded.begin(), encoded.end()), bytes);
    EXPECT_EQ(DecodeDeviceTime(bytes), time);
    EXPECT_EQ(RecordTimeText(time), "2018-11-5 9:3:7 ");
    EXPECT_EQ(DeviceTimeOf(EncodeDateTime({2018, 11, 11, 0, 0, 0, 0})).weekDay, 7);  // Sunday
}

}  // namespace
}  // namespace tarvel

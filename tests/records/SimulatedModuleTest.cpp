// The simulated module lays out its replies with its own code; here the
// tool's decoders read them, so a layout fault on either side shows.
#include <gtest/gtest.h>

#include <memory>

#include "adjust/DeviceClock.h"
#include "adjust/KbBlock.h"
#include "adjust/ProtectionParameters.h"
#include "adjust/RatedCapacity.h"
#include "link/CommandTable.h"
#include "records/AutoTsbs.h"
#include "records/DailyRecords.h"
#include "records/HisAlarm.h"
#include "telemetry/AdcReading.h"
#include "telemetry/DeviceInfo.h"
#include "telemetry/TelemetryRecord.h"
#include "tools/bms-sim/Simulator.h"

namespace tarvel {
namespace {

struct Reply {
    uint32_t pauseMs;
    FrameBytes frame;
};

// Each transmission of the plan is one whole reply (no split faults here).
std::vector<Reply> Ask(sim::Simulator& module, const FrameBytes& request) {
    std::vector<Reply> replies;
    for (const sim::Plan& plan : module.OnBytes(request, 0)) {
        for (const sim::Transmission& t : plan.sends) replies.push_back({t.pauseMs, t.bytes});
    }
    return replies;
}

FrameBytes AskOne(sim::Simulator& module, const FrameBytes& request) {
    const auto replies = Ask(module, request);
    return replies.size() == 1 ? replies[0].frame : FrameBytes();
}

std::unique_ptr<sim::Simulator> LoggedIn(bool shortRecords = false) {
    sim::SimConfig config;
    config.shortKb = shortRecords;
    auto module = std::make_unique<sim::Simulator>(config);
    module->OnBytes(BuildRequest(0, CmdLogin), 0);
    return module;
}

TEST(SimulatedModule, HistoryAlarmsInSeveralBatchesAndBothLayouts) {
    for (bool shortRecords : {false, true}) {
        SCOPED_TRACE(shortRecords ? "80-byte records" : "84-byte records");
        auto owner = LoggedIn(shortRecords);
        sim::Simulator& module = *owner;
        module.UpdateModule(0, [](sim::ModuleState& m) { m.records.alarms = 12; });
        const auto replies = Ask(module, BuildRequest(0, CmdGetHisAlarm));
        ASSERT_EQ(replies.size(), 3u);
        RecordRows rows(kHisAlarmColumns);
        std::vector<bool> complete;
        for (size_t i = 0; i < replies.size(); ++i) {
            EXPECT_EQ(replies[i].pauseMs, 0u);  // back to back
            const auto batch = DecodeHisAlarmReply(replies[i].frame);
            ASSERT_TRUE(batch);
            EXPECT_EQ(batch->layout, shortRecords ? HistoryLayout::Short : HistoryLayout::Full);
            complete.push_back(ApplyHisAlarmBatch(rows, *batch));
        }
        EXPECT_EQ(complete, (std::vector<bool>{false, false, true}));
        ASSERT_EQ(rows.Rows().size(), 12u);
        EXPECT_EQ(rows.Rows()[0][1], "2024-3-1 9:1:30 ");
        EXPECT_EQ(rows.Rows()[0][7], shortRecords ? "" : "ShutDown ");
        EXPECT_EQ(rows.Rows()[1][7],
                  shortRecords ? "PROTECT_PACK_OVPROTECT_BATT_OVPROTECT_CELL_OVPROTECT_PACK_UV" : "PowerON ");
        EXPECT_EQ(rows.Rows()[2][7], shortRecords ? "PROTECT_PACK_OV" : "PROTECT_PACK_OV FAULT_DIS");
        EXPECT_EQ(rows.Rows()[11][0], "12");
    }
}

TEST(SimulatedModule, RecentRecordsAreTheLastOfTheHistory) {
    auto owner = LoggedIn();
    sim::Simulator& module = *owner;
    module.UpdateModule(0, [](sim::ModuleState& m) { m.records.alarms = 12; });
    const auto replies = Ask(module, BuildRecentRecordsRequest(0, "3").frame);
    ASSERT_EQ(replies.size(), 1u);
    const auto batch = DecodeHisAlarmReply(replies[0].frame);
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->header.TotalRecords, 3);
    ASSERT_EQ(batch->records.size(), 3u);
    EXPECT_EQ(batch->records[0].second.StartTime.minute, 10);  // alarm 10 of 12
    const auto none = Ask(module, BuildRecentRecordsRequest(0, "0").frame);
    ASSERT_EQ(none.size(), 1u);
    RecordRows rows(kHisAlarmColumns);
    EXPECT_TRUE(ApplyHisAlarmBatch(rows, *DecodeHisAlarmReply(none[0].frame)));
}

TEST(SimulatedModule, DailyRecordsAndTheDeviceLog) {
    auto owner = LoggedIn();
    sim::Simulator& module = *owner;
    module.UpdateModule(0, [](sim::ModuleState& m) {
        m.records.days = 42;
        m.records.telemetry = 7;
    });
    const auto days = Ask(module, BuildRequest(0, CmdGetDailyRecords));
    ASSERT_EQ(days.size(), 2u);
    RecordRows dailyRows(kDailyColumns);
    EXPECT_FALSE(ApplyDailyBatch(dailyRows, *DecodeDailyReply(days[0].frame)));
    EXPECT_TRUE(ApplyDailyBatch(dailyRows, *DecodeDailyReply(days[1].frame)));
    ASSERT_EQ(dailyRows.Rows().size(), 42u);
    EXPECT_EQ(dailyRows.Rows()[0][1], "2023-12-1");
    EXPECT_EQ(dailyRows.Rows()[31][1], "2024-1-1");
    EXPECT_EQ(dailyRows.Rows()[9][4], "-3");

    const auto log = Ask(module, BuildRequest(0, CmdGetAutoTsbsData));
    ASSERT_EQ(log.size(), 2u);
    RecordRows logRows(kAutoTsbsColumns);
    EXPECT_FALSE(ApplyAutoTsbsBatch(logRows, *DecodeAutoTsbsReply(log[0].frame)));
    EXPECT_TRUE(ApplyAutoTsbsBatch(logRows, *DecodeAutoTsbsReply(log[1].frame)));
    ASSERT_EQ(logRows.Rows().size(), 7u);
    EXPECT_EQ(logRows.Rows()[0][6], "Pack过压保护   充电过流保护  电压传感器故障  ");
}

TEST(SimulatedModule, ScheduleClockAndRunHistory) {
    auto owner = LoggedIn();
    sim::Simulator& module = *owner;
    const RequestBuild schedule = BuildAutoTsbsSchedule(0, DeviceTime{2024, 1, 0, 2, 8, 0, 0},
                                                        DeviceTime{2024, 1, 0, 2, 9, 0, 0}, "60");
    ASSERT_EQ(AskOne(module, schedule.frame)[4], 0xAC);
    EXPECT_EQ(DecodeStoringState(AskOne(module, BuildRequest(0, CmdCheckFunction))), 1);

    const RequestBuild clock = BuildSetClock(0, {"2018", "11", "5", "9", "3", "7", "1"});
    ASSERT_TRUE(clock.Ok());
    EXPECT_EQ(AskOne(module, clock.frame)[4], 0xA0);
    const auto time = DecodeClockReply(AskOne(module, BuildRequest(0, CmdGetSysDate)));
    ASSERT_TRUE(time);
    EXPECT_EQ(ClockEditTexts(*time), (ClockEdits{"2018", "11", "5", "9", "3", "7", "1"}));

    const auto history = DecodeRunHistoryReply(AskOne(module, BuildRequest(0, CmdGetHistory)));
    ASSERT_TRUE(history);
    EXPECT_GT(history->totalMinutes, 0);
    EXPECT_EQ(MakeRunHistoryCells(*history).exitName, "Idle");
}

TEST(SimulatedModule, ReadingsVersionCalibrationAndParameters) {
    auto owner = LoggedIn();
    sim::Simulator& module = *owner;
    const auto record = DecodeTelemetryReply(AskOne(module, BuildRequest(0, CmdQuerySbs)));
    ASSERT_TRUE(record);
    const auto adc = DecodeAdcReply(AskOne(module, BuildRequest(0, CmdReadAdc)));
    ASSERT_TRUE(adc);
    EXPECT_GT((*adc)[0], 0);
    EXPECT_TRUE(DecodeIoState(AskOne(module, BuildRequest(0, CmdReadIo))));
    const auto version = DecodeVersionReply(AskOne(module, BuildRequest(0, CmdGetVer)));
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->longLayout);
    EXPECT_FALSE(DecodeSerialNumberReply(AskOne(module, BuildRequest(0, CmdReadSerialNum)))->empty());
    EXPECT_EQ(DecodeCapacityReply(AskOne(module, BuildRequest(0, CmdGetCap))), "100");

    const auto parameters = DecodeProtectionReply(AskOne(module, BuildRequest(0, CmdReadBms)));
    ASSERT_TRUE(parameters);
    const RequestBuild write = BuildProtectionWrite(0, *parameters);
    ASSERT_TRUE(write.Ok());
    EXPECT_EQ(AskOne(module, write.frame)[4], 0x89);
    EXPECT_EQ(DecodeProtectionReply(AskOne(module, BuildRequest(0, CmdReadBms))), parameters);

    const auto kb = DecodeKbReply(AskOne(module, BuildRequest(0, CmdReadKb)));
    ASSERT_TRUE(kb);
    EXPECT_EQ(kb->layout, KbLayout::Full);
    EXPECT_EQ(MakeKbDisplay(*kb).voltageKAsRead[0], "10000");
}

}  // namespace
}  // namespace tarvel

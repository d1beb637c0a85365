// The 10 ms poll clock: the parallel poll ring, the reply time-out, the
// module tiles, the real timer, and the polling record's file.

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <limits>
#include <thread>

#include "link/DeviceFrame.h"
#include "platform/base/Paths.h"
#include "tests/app/PollWindowFixture.h"

namespace tarvel::testing {
namespace {

using namespace std::chrono_literals;

constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kGrey = 0xB0ACB9;

// Parallel polling switched on as the set-up tab leaves it: the selection
// saved, the period shown in its edit, the ring at the first selected slot.
void StartPolling(TMainForm* form, std::initializer_list<int> slots, int periodSec,
                  const String& periodText) {
    form->ParaRecord = PollingRecord{};
    for (int slot : slots) form->ParaRecord.ModuleSelected[slot] = 1;
    form->ParaRecord.MultiPeriodSec = periodSec;
    form->ParaRecord.SinglePeriodSec = 1;
    form->PS_Cyc->SetText(periodText);
    // Checked as "Execute" leaves it after its question; the start's own
    // steps are set here.
    auto execute = std::move(form->PC_All_Query->OnClick);
    form->PC_All_Query->SetChecked(true);
    form->PC_All_Query->OnClick = std::move(execute);
    form->NextPollModule = std::max(form->NextSelectedModule(kModuleCount - 1), 0);
    form->PollCycleStarted = 0;
    form->PollStartPending = 1;
}
void StartPolling(TMainForm* form, std::initializer_list<int> slots, int periodSec) {
    StartPolling(form, slots, periodSec, IntToStr(periodSec));
}

// Ticks until the poll sends a request; how many ticks that took, 0 when it
// sent none within `limit`.
int TickUntilSent(TMainForm* form, int limit) {
    for (int tick = 1; tick <= limit; ++tick) {
        const uint32_t before = form->PollRequestCount;
        form->PollTick();
        if (form->PollRequestCount != before) return tick;
    }
    return 0;
}

std::vector<uint8_t> PollRequest(uint8_t address) {
    return {address, 0x00, 0x04, 0x01, 0x03, 0x55, 0xAA, 0x07};
}

TEST_F(PollWindowTest, SlotsThreeAndSevenArePolledInTurnOncePerPeriod) {
    TMainForm* form = StartStill();
    OpenPortOnPty(form);
    StartPolling(form, {3, 7}, 2);

    std::vector<int> sendTicks;
    std::vector<int> polledSlots;
    for (int tick = 1; tick <= 740; ++tick) {
        const uint32_t before = form->PollRequestCount;
        form->PollTick();
        if (form->PollRequestCount == before) continue;
        sendTicks.push_back(tick);
        polledSlots.push_back(form->PollIndex);
    }

    ASSERT_EQ(sendTicks.size(), 4u);
    EXPECT_LE(sendTicks[0], 100) << "the first poll goes out within a second";
    for (size_t i = 1; i < sendTicks.size(); ++i) EXPECT_EQ(sendTicks[i] - sendTicks[i - 1], 200);
    EXPECT_EQ(polledSlots, (std::vector<int>{3, 7, 3, 7}));
    // Slot n is module n + 1 on the line.
    std::vector<uint8_t> expected;
    for (uint8_t address : {4, 8, 4, 8}) {
        const auto request = PollRequest(address);
        expected.insert(expected.end(), request.begin(), request.end());
    }
    EXPECT_EQ(LineBytes(expected.size()), expected);
    // Nothing answered: each request was given up before the next went out.
    EXPECT_EQ(form->PollRequestCount, 4u);
    EXPECT_EQ(form->ReplyTimeoutCount, 4u);
    EXPECT_EQ(form->RequestBusy, 0);
}

TEST_F(PollWindowTest, EachStepColoursTheTileOfTheModulePolledBefore) {
    TMainForm* form = StartStill();
    StartPolling(form, {3, 7}, 1);
    TGauge* tile3 = form->RunStateGauges[3];
    TGauge* tile7 = form->RunStateGauges[7];
    const TColor untouchedBack = tile7->BackColor();

    ASSERT_NE(TickUntilSent(form, 100), 0);
    EXPECT_EQ(tile3->ForeColor(), kYellow);
    EXPECT_EQ(tile3->BackColor(), kYellow);
    EXPECT_EQ(tile7->BackColor(), untouchedBack) << "the first step colours no answer";

    // Module 3 answers: the poll store keeps its colour and raises the flag.
    form->BatColorStore->SetBackColor(0x123456);
    form->PolledModuleAnswered = 1;
    ASSERT_NE(TickUntilSent(form, 100), 0);
    EXPECT_EQ(tile7->BackColor(), kYellow);
    EXPECT_EQ(tile3->ForeColor(), kGreen);
    EXPECT_EQ(tile3->BackColor(), TColor{0x123456});
    EXPECT_EQ(form->PosGauges[3]->BackColor(), TColor{0x123456});
    EXPECT_EQ(form->PolledModuleAnswered, 0);

    // Module 7 stays silent.
    tile7->SetProgress(50);
    ASSERT_NE(TickUntilSent(form, 100), 0);
    EXPECT_EQ(tile3->BackColor(), kYellow);
    EXPECT_EQ(tile7->ForeColor(), kGrey);
    EXPECT_EQ(tile7->BackColor(), kGrey);
    EXPECT_EQ(tile7->Progress(), 0);
    EXPECT_EQ(form->PosGauges[7]->BackColor(), kGrey);
}

TEST_F(PollWindowTest, ASingleSelectedModuleShowsLastPeriodsAnswerRightAfterItsRequest) {
    TMainForm* form = StartStill();
    StartPolling(form, {5}, 1);
    ASSERT_NE(TickUntilSent(form, 100), 0);
    EXPECT_EQ(form->RunStateGauges[5]->BackColor(), kYellow);

    form->BatColorStore->SetBackColor(0x00AA00);
    form->PolledModuleAnswered = 1;
    ASSERT_NE(TickUntilSent(form, 100), 0);
    EXPECT_EQ(form->PollIndex, 5);
    EXPECT_EQ(form->RunStateGauges[5]->ForeColor(), kGreen);
    EXPECT_EQ(form->RunStateGauges[5]->BackColor(), TColor{0x00AA00});
}

TEST_F(PollWindowTest, AnUnansweredRequestIsGivenUpTheThirtyNinthTickAfterTheSendingTick) {
    TMainForm* form = StartStill();  // the port stays closed: nothing can answer
    StartPolling(form, {0}, 1);
    const int sent = TickUntilSent(form, 100);
    ASSERT_NE(sent, 0);
    EXPECT_EQ(form->RequestBusy, 1);
    EXPECT_EQ(form->PollInProgress, 1);
    form->TsbsQueryInProgress = 1;

    for (int i = 1; i <= 38; ++i) form->PollTick();
    EXPECT_EQ(form->RequestBusy, 1);
    EXPECT_EQ(form->ReplyTimeoutCount, 0u);

    form->PollTick();
    EXPECT_EQ(form->RequestBusy, 0);
    EXPECT_EQ(form->PollInProgress, 0);
    EXPECT_EQ(form->TsbsQueryInProgress, 0);
    EXPECT_EQ(form->ReplyTimeoutTicks, 0);
    EXPECT_EQ(form->ReplyTimeoutCount, 1u);

    // No retry: the next request is the next period's.
    EXPECT_EQ(TickUntilSent(form, 100), 100 - 39);
    EXPECT_EQ(form->PollRequestCount, 2u);
}

TEST_F(PollWindowTest, APollDueWhileARequestIsOutstandingGoesOutOnceTheLineIsFree) {
    TMainForm* form = StartStill();
    StartPolling(form, {2}, 1);
    for (int i = 0; i < 50; ++i) form->PollTick();
    form->RequestBusy = 1;  // another request of the clock is outstanding
    for (int i = 0; i < 150; ++i) form->PollTick();
    EXPECT_EQ(form->PollRequestCount, 0u);

    form->RequestBusy = 0;
    EXPECT_EQ(TickUntilSent(form, 1), 1);
    // Kept, not repeated: the next one is the next second's.
    EXPECT_EQ(TickUntilSent(form, 100), 99);
}

TEST_F(PollWindowTest, WithNoModuleSelectedNothingIsSentAndNothingIsLeftOutstanding) {
    TMainForm* form = StartStill();
    OpenPortOnPty(form);
    StartPolling(form, {}, 1);
    form->ParaRecord.ModuleSelected[5] = 2;  // checked on screen, but only 1 is polled
    for (int i = 0; i < 350; ++i) form->PollTick();

    EXPECT_EQ(form->PollRequestCount, 0u);
    EXPECT_EQ(form->RequestBusy, 0);
    EXPECT_EQ(form->PollInProgress, 0);
    EXPECT_EQ(form->ReplyTimeoutTicks, 0);
    EXPECT_EQ(form->ReplyTimeoutCount, 0u);
    EXPECT_EQ(LastCommand, 0);
    EXPECT_TRUE(LineBytes(1).empty());
}

TEST_F(PollWindowTest, TheSixtyFourthSlotIsAddressedAsModuleSixtyFour) {
    TMainForm* form = StartStill();
    OpenPortOnPty(form);
    StartPolling(form, {63}, 1);
    ASSERT_NE(TickUntilSent(form, 100), 0);
    EXPECT_EQ(form->PollIndex, 63);
    EXPECT_EQ(LastCommand, 0x03);
    EXPECT_EQ(std::vector<uint8_t>(form->TxFrame.begin(), form->TxFrame.begin() + 8), PollRequest(64));
    EXPECT_EQ(LineBytes(8), PollRequest(64));
    // The reply check compares module 64's answer with the reported index;
    // the box keeps showing what it showed.
    EXPECT_EQ(form->ModuleIndex(), 64);
    EXPECT_EQ(form->CB_ModuleAddr->Text(), "0");
}

TEST_F(PollWindowTest, ThePeriodEditPresetsTheFirstPoll) {
    struct Case {
        const char* text;
        int period;
        int firstTick;
        int secondTick;
    };
    const Case cases[] = {
        {"3", 3, 100, 400},        // the saved period shown: due at the next second
        {"1", 3, 200, 500},        //
        {"0", 3, 300, 600},        //
        {"-4", 3, 300, 600},       // below nothing counts as nothing
        {"", 3, 100, 400},         // no whole number: the saved period
        {"2.5", 3, 100, 400},      //
        {"abc", 3, 100, 400},      //
        {"300", 300, 100, 30100},  // periods past 255 s still fall due
    };
    for (const Case& c : cases) {
        TMainForm* form = StartStill();
        StartPolling(form, {1}, c.period, c.text);
        const int first = TickUntilSent(form, 1000);
        const int second = first + TickUntilSent(form, 40000);
        EXPECT_EQ(first, c.firstTick) << '"' << c.text << '"';
        EXPECT_EQ(second, c.secondTick) << '"' << c.text << '"';
        delete form_;
        form_ = nullptr;
    }
}

// A damaged record may hold any period: the longest falls due at the next
// second as any other, and its count goes on from there without running over.
TEST_F(PollWindowTest, ThePeriodEditPresetsTheFirstPollOfTheLongestPeriodARecordHolds) {
    constexpr int32_t kLongest = std::numeric_limits<int32_t>::max();
    TMainForm* form = StartStill();
    StartPolling(form, {1}, kLongest);
    form->ParaRecord.SinglePeriodSec = kLongest;
    form->TSBS_Cyc->SetText(IntToStr(kLongest));
    form->TsbsStartPending = 1;
    EXPECT_EQ(TickUntilSent(form, 1000), 100);
    EXPECT_EQ(TickUntilSent(form, 1000), 0);
    EXPECT_EQ(form->PollSeconds, 10);
    EXPECT_EQ(form->QuerySeconds, 10);
}

TEST_F(PollWindowTest, SelectedNeighboursWrapAroundTheRing) {
    struct Case {
        std::initializer_list<int> selected;
        int from;
        int prev;
        int next;
    };
    const Case cases[] = {
        {{3, 7}, 3, 7, 7}, {{3, 7}, 7, 3, 3},    {{3, 7}, 5, 3, 7}, {{3, 7}, 63, 7, 3}, {{3, 7}, 0, 7, 3},
        {{5}, 5, 5, 5},    {{0, 63}, 0, 63, 63}, {{}, 9, -1, -1},   {{3, 7}, -1, 7, 3},
    };
    TMainForm* form = StartStill();
    for (const Case& c : cases) {
        form->ParaRecord = PollingRecord{};
        for (int slot : c.selected) form->ParaRecord.ModuleSelected[slot] = 1;
        form->ParaRecord.ModuleSelected[10] = 2;  // not 1: never a neighbour
        EXPECT_EQ(form->PrevSelectedModule(c.from), c.prev) << "from " << c.from;
        EXPECT_EQ(form->NextSelectedModule(c.from), c.next) << "from " << c.from;
    }
}

// ---- the real timer ----

// Runs the window's loop for `wait`, as the program's loop would.
template <class Until>
bool RunLoopUntil(TUiDriver& ui, Until until, std::chrono::milliseconds wait) {
    const auto end = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < end) {
        ui.RunUntilIdle();
        if (until()) return true;
        std::this_thread::sleep_for(1ms);
    }
    return until();
}

TEST_F(PollWindowTest, TheRealClockTicksAboutAHundredTimesASecond) {
    TMainForm* form = Start();
    SupplyControls(form);
    ASSERT_NE(form->PollTimerId, 0u);

    // The reply time-out counts ticks: 40 from 1 to its give-up.
    constexpr int kRounds = 3;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 1; round <= kRounds; ++round) {
        form->ReplyTimeoutTicks = 1;
        ASSERT_TRUE(RunLoopUntil(
            ui_, [&] { return form->ReplyTimeoutCount == static_cast<uint32_t>(round); }, 3000ms));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double ticksPerSecond = kRounds * 40 / seconds;
    std::cout << "poll clock: " << ticksPerSecond << " ticks/s\n";
    EXPECT_GT(ticksPerSecond, 85.0);
    EXPECT_LT(ticksPerSecond, 115.0);
}

TEST_F(PollWindowTest, KillingTheTimerLeavesNoTickBehind) {
    TMainForm* form = Start();
    SupplyControls(form);
    const size_t boxes = ui_.Boxes().size();
    form->ReplyTimeoutTicks = 1;
    std::this_thread::sleep_for(50ms);  // ticks fall due and wait in the queue

    bool canClose = false;
    form->FormCloseQuery(form, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(form->PollTimerId, 0u);
    EXPECT_FALSE(RunLoopUntil(
        ui_, [&] { return form->ReplyTimeoutTicks != 1; }, 150ms));
    EXPECT_EQ(ui_.Boxes().size(), boxes);
}

// ---- the polling record's file ----

TEST_F(PollWindowTest, ThePollingRecordIs264LittleEndianBytesAndReadsBack) {
    TMainForm* form = StartStill();
    PollingRecord record;
    record.ModuleSelected[0] = 1;
    record.ModuleSelected[1] = 0x01020304;
    record.ModuleSelected[63] = -1;
    record.MultiPeriodSec = 300;
    record.SinglePeriodSec = -2;
    form->ParaRecord = record;
    ASSERT_TRUE(form->WriteParaRecord());

    const std::vector<uint8_t> bytes = ReadFileBytes("ParaRecord.dat");
    ASSERT_EQ(bytes.size(), 264u);
    const auto at = [&](size_t offset) {
        return std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + 4);
    };
    EXPECT_EQ(at(0), (std::vector<uint8_t>{0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(at(4), (std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(at(252), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(at(256), (std::vector<uint8_t>{0x2C, 0x01, 0x00, 0x00}));
    EXPECT_EQ(at(260), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));

    form->ParaRecord = PollingRecord{};
    ASSERT_TRUE(form->ReadParaRecord());
    EXPECT_EQ(form->ParaRecord.ModuleSelected, record.ModuleSelected);
    EXPECT_EQ(form->ParaRecord.MultiPeriodSec, 300);
    EXPECT_EQ(form->ParaRecord.SinglePeriodSec, -2);
}

TEST_F(PollWindowTest, AShortPollingRecordFillsOnlyTheFrontOfTheRecord) {
    TMainForm* form = StartStill();
    const uint8_t shortFile[] = {0x01, 0, 0, 0, 0x02, 0, 0, 0, 0x07, 0x00};
    WriteFileBytes("ParaRecord.dat", shortFile, sizeof shortFile);
    form->ParaRecord = PollingRecord{};
    form->ParaRecord.ModuleSelected[2] = 0x11223344;
    form->ParaRecord.ModuleSelected[3] = 1;
    form->ParaRecord.MultiPeriodSec = 5;
    const size_t boxes = ui_.Boxes().size();

    EXPECT_TRUE(form->ReadParaRecord());
    EXPECT_EQ(form->ParaRecord.ModuleSelected[0], 1);
    EXPECT_EQ(form->ParaRecord.ModuleSelected[1], 2);
    EXPECT_EQ(form->ParaRecord.ModuleSelected[2], 0x11220007) << "only its two bytes in the file";
    EXPECT_EQ(form->ParaRecord.ModuleSelected[3], 1);
    EXPECT_EQ(form->ParaRecord.MultiPeriodSec, 5);
    EXPECT_EQ(ui_.Boxes().size(), boxes);
}

TEST_F(PollWindowTest, AMissingPollingRecordIsMadeEmptyAndTheUserTold) {
    struct Case {
        bool write;
        const char* message;
        size_t sizeAfter;
    };
    const Case cases[] = {{false, "No paraRecord.dat for read！", 0},
                          {true, "No paraRecord.dat for write!", 264}};
    TMainForm* form = StartStill();
    for (const Case& c : cases) {
        std::filesystem::remove("ParaRecord.dat");
        form->ParaRecord = PollingRecord{};
        form->ParaRecord.MultiPeriodSec = 9;
        const bool done = c.write ? form->WriteParaRecord() : form->ReadParaRecord();

        EXPECT_EQ(done, c.write);
        ASSERT_FALSE(ui_.Boxes().empty());
        EXPECT_EQ(ui_.Boxes().back().text, c.message);
        EXPECT_EQ(std::filesystem::file_size("ParaRecord.dat"), c.sizeAfter);
        EXPECT_EQ(form->ParaRecord.MultiPeriodSec, 9);
    }
}

TEST_F(PollWindowTest, APollingRecordThatCannotBeWrittenIsNamedInABox) {
    TMainForm* form = StartStill();
    std::filesystem::remove("ParaRecord.dat");
    std::filesystem::create_directory("ParaRecord.dat");
    EXPECT_FALSE(form->WriteParaRecord());
    ASSERT_FALSE(ui_.Boxes().empty());
    EXPECT_EQ(ui_.Boxes().back().text, "ParaRecord.dat cannot be written!");
}

}  // namespace
}  // namespace tarvel::testing

// A telemetry reply on the telemetry page: the grid's value cells, the
// lamps and the battery picture.

#include <functional>
#include <regex>

#include "telemetry/StatusWords.h"
#include "tests/app/TelemetryFixture.h"

namespace tarvel::testing {
namespace {

using TelemetryDisplay = TelemetryWindowTest;

TEST_F(TelemetryDisplay, FillsTheValueCellsAsReceived) {
    telemetry_.pack = 52100;
    telemetry_.batt = -1;
    telemetry_.cells[0] = 0xFFFF;
    telemetry_.cells[15] = 3315;
    telemetry_.current = -1000;
    telemetry_.temps[0] = -10;
    telemetry_.temps[7] = 32;
    telemetry_.others = 0x1F;
    telemetry_.alarm = 0x80000000;
    telemetry_.protection = 256;
    telemetry_.fail = 0x8001;
    telemetry_.balance = 0xFFFF0000;
    telemetry_.battState = 1;
    telemetry_.soc = 87;
    telemetry_.socHealth = 98;
    telemetry_.discTimes = 0x80000000;
    telemetry_.totalDiscSoc = 0xFFFFFFFF;
    const String title = Cell(0, 0), unit = Cell(2, 0);
    Show();

    const struct {
        int col, row;
        const char* text;
    } cells[] = {
        {1, 0, "52100"},       {1, 1, "-1"},          {1, 2, "65535"}, {1, 17, "3315"},      {1, 18, "-1000"},
        {4, 0, "-10"},         {4, 7, "32"},          {4, 8, "31"},    {4, 9, "2147483648"}, {4, 10, "256"},
        {4, 11, "32769"},      {4, 12, "4294901760"}, {4, 13, "1"},    {4, 14, "87"},        {4, 15, "98"},
        {4, 16, "2147483648"}, {4, 17, "4294967295"},
    };
    for (const auto& c : cells) EXPECT_EQ(Cell(c.col, c.row), c.text) << c.col << "," << c.row;
    EXPECT_TRUE(std::regex_match(Cell(4, 18), std::regex(R"(\d{4}-\d\d-\d\d \d\d-\d\d-\d\d)")))
        << Cell(4, 18);
    // Titles and units are not the display's to write.
    EXPECT_EQ(Cell(0, 0), title);
    EXPECT_EQ(Cell(2, 0), unit);
    EXPECT_EQ(form_->DoneTsbs, 1);

    const auto& last = form_->LastStatusWords;
    EXPECT_EQ(last.Alarm, 0x80000000u);
    EXPECT_EQ(last.Fail, 0x8001u);
    EXPECT_EQ(last.BattState, 1);
    EXPECT_EQ(last.DiscTimes, 0x80000000u);
    EXPECT_EQ(last.Balance, 0u);  // kept by the parallel display only
    EXPECT_EQ(form_->TsbsSeqNumText, "");
}

struct LampCase {
    const char* name;
    std::function<void(sim::Telemetry&)> set;
    std::vector<std::pair<const char*, TColor>> lamps;
    TColor body, cap;
};

TEST_F(TelemetryDisplay, LampsAndBatteryPictureFollowTheStatusWords) {
    const TColor normal = StatusColour::Normal, clear = StatusColour::Clear, alarm = StatusColour::Alarm,
                 prot = StatusColour::Protection, off = StatusColour::Inactive;
    const LampCase cases[] = {
        {"discharging, nothing set",
         [](sim::Telemetry& t) { t.battState = 2; },
         {{"S_Alarm1", normal},
          {"S_Protect1", normal},
          {"S_Fail1", normal},
          {"S_Heater", clear},
          {"S_DisStatus", StatusColour::Discharging},
          {"S_ChgStatus", off},
          {"S_IdleStatus", off}},
         StatusColour::Discharging,
         StatusColour::Discharging},
        {"charging with alarm bit 15",
         [](sim::Telemetry& t) { t.battState = 1, t.alarm = 1u << 15; },
         {{"S_Alarm16", alarm},
          {"S_Protect16", normal},
          {"S_Alarm15", normal},
          {"S_ChgStatus", StatusColour::Charging}},
         alarm,
         alarm},
        {"alarm bit 16 has no visible lamp",
         [](sim::Telemetry& t) { t.battState = 0, t.alarm = 1u << 16; },
         {{"S_Alarm16", normal}, {"S_Alarm18", normal}, {"S_Alarm17", alarm}, {"S_IdleStatus", clear}},
         alarm,
         alarm},
        {"alarm bit 3 and protection bit 13 show only as the picture",
         [](sim::Telemetry& t) { t.battState = 4, t.alarm = 0x8, t.protection = 0x2000; },
         {{"S_Alarm3", normal},
          {"S_Alarm5", normal},
          {"S_Protect13", normal},
          {"S_Protect15", normal},
          {"S_FullStatus", normal}},
         prot,
         prot},
        {"protection bit 19 and its alarm lamp",
         [](sim::Telemetry& t) { t.battState = 2, t.alarm = 0xFFFFFFFF, t.protection = 1u << 19; },
         {{"S_Protect20", prot}, {"S_Alarm21", normal}, {"S_Alarm1", alarm}, {"S_Protect1", normal}},
         prot,
         prot},
        {"fail bit 8 over an alarm",
         [](sim::Telemetry& t) { t.battState = 1, t.alarm = 1, t.fail = 1u << 8; },
         {{"S_Fail9", prot}, {"S_Fail1", normal}, {"S_Alarm1", alarm}},
         prot,
         prot},
        {"others and balance bits",
         [](sim::Telemetry& t) { t.battState = 0, t.others = 0x11, t.balance = 0x8001; },
         {{"S_Heater", normal},
          {"S_ChgFullT", clear},
          {"S_Chg_Limit", normal},
          {"Bls1", normal},
          {"Bls2", clear},
          {"Bls16", normal}},
         clear,
         clear},
        {"an unknown battery state",
         [](sim::Telemetry& t) { t.battState = 3; },
         {{"S_IdleStatus", off}, {"S_ChgStatus", off}, {"S_DisStatus", off}, {"S_FullStatus", off}},
         clWhite,
         cl3DLight},
    };
    for (const LampCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Telemetry t = telemetry_;
        c.set(t);
        Show(t);
        for (const auto& [lamp, colour] : c.lamps)
            EXPECT_EQ(ui_.Find<TShape>(form_, lamp)->Brush()->Color(), colour) << lamp;
        EXPECT_EQ(form_->TSBS_BatRunState->BackColor(), c.body);
        EXPECT_EQ(form_->BatPositiveCG->BackColor(), c.cap);
    }
}

TEST_F(TelemetryDisplay, LampsAreSilverUntilTheFirstReply) {
    for (const char* lamp : {"S_Alarm1", "S_Protect20", "S_Fail9", "S_Chg_Limit", "S_FullStatus"})
        EXPECT_EQ(ui_.Find<TShape>(form_, lamp)->Brush()->Color(), clSilver) << lamp;
}

TEST_F(TelemetryDisplay, GaugeTakesTheStateOfCharge) {
    for (uint16_t soc : {0, 37, 100, 150}) {
        telemetry_.soc = soc;
        Show();
        EXPECT_EQ(form_->TSBS_BatRunState->Progress(), std::min<int>(soc, 100)) << soc;
        EXPECT_EQ(form_->PB_SOC->Position(), soc);
        EXPECT_EQ(form_->L_SOC->Caption(), "SOC-" + std::to_string(soc) + "%");
        EXPECT_EQ(Cell(4, 14), std::to_string(soc));
    }
}

TEST_F(TelemetryDisplay, FillsTheLifeGridWithSignedCounters) {
    telemetry_.soc = 55;
    telemetry_.discTimes = 0x80000000;
    Show();
    EXPECT_EQ(ui_.CellText(form_->SG_Life, 1, 0), "55");
    EXPECT_EQ(ui_.CellText(form_->SG_Life, 1, 2), "-2147483648");
}

// Frames that are not a whole telemetry reply, with the bytes of an earlier
// whole one left behind them: nothing of those bytes may be shown or stored.
TEST_F(TelemetryDisplay, RefusesAFrameThatDoesNotHoldTheRecord) {
    telemetry_.pack = 11111;
    Show();
    const std::vector<uint8_t> whole = TelemetryFrame(telemetry_);
    const std::vector<uint8_t> record(whole.begin() + 8, whole.end() - 1);
    const struct {
        const char* name;
        std::vector<uint8_t> frame;
    } cases[] = {
        {"acknowledgement only", sim::MakeReply(1, 0x83, 0, {})},
        {"one byte short",
         sim::MakeReply(1, 0x83, 0, std::vector<uint8_t>(record.begin(), record.end() - 1))},
        {"half a record",
         sim::MakeReply(1, 0x83, 0, std::vector<uint8_t>(record.begin(), record.begin() + 48))},
        {"one byte long",
         [&] {
             std::vector<uint8_t> longer = record;
             longer.push_back(0);
             return sim::MakeReply(1, 0x83, 0, longer);
         }()},
        {"another reply's code", sim::MakeReply(1, 0x86, 0, record)},
    };
    const std::string csv = ReadFileText(DataFile("NoModule.csv"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form_->DoneTsbs = 0;
        PutRxFrame(whole);
        PutRxFrame(c.frame, false);
        form_->SG_TSBS->SetCells(1, 0, "before");
        form_->ShowTelemetry();
        EXPECT_EQ(Cell(1, 0), "before");
        EXPECT_EQ(form_->DoneTsbs, 0);
        EXPECT_EQ(form_->L_Info->Caption(), "    Telemetry reply of a wrong length, not shown!");
        EXPECT_EQ(ReadFileText(DataFile("NoModule.csv")), csv);
    }
}

}  // namespace
}  // namespace tarvel::testing

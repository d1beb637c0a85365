// Every CSV file the tool writes follows one rule: a text holding a comma, a
// quote or a line break is quoted, anything else is written as it is. Read
// back by a CSV reader, each row keeps its columns and each text comes back.

#include <gtest/gtest.h>

#include "platform/base/DateTime.h"
#include "records/AutoTsbs.h"
#include "records/DailyRecords.h"
#include "records/FullExport.h"
#include "records/HisAlarm.h"
#include "records/ReadingStore.h"
#include "telemetry/AdcReading.h"
#include "tests/CsvReader.h"

namespace tarvel {
namespace {

// Texts a module or a user may put in a cell.
const std::vector<std::string> kAwkward = {"16S LFP, balance, heater", "say \"hi\"", "two\r\nlines", "plain"};

// `count` cells, the awkward texts first.
std::vector<std::string> Cells(size_t count) {
    std::vector<std::string> cells(count);
    for (size_t i = 0; i < count; ++i) cells[i] = i < kAwkward.size() ? kAwkward[i] : std::to_string(i);
    return cells;
}

// The parsed rows with the empty field after a closing comma dropped.
std::vector<testing::CsvRow> Rows(const std::string& text) {
    auto rows = testing::ParseCsv(text);
    EXPECT_TRUE(rows) << text;
    if (!rows) return {};
    for (testing::CsvRow& row : *rows)
        if (row.size() > 1 && row.back().empty()) row.pop_back();
    return *rows;
}

TEST(CsvFiles, EveryWriterQuotesWhatMustBeAndKeepsItsColumns) {
    TelemetryTexts telemetry;
    const auto cells = Cells(telemetry.size());
    std::copy(cells.begin(), cells.end(), telemetry.begin());
    std::array<std::string, kAdcCountCount> adc;
    const auto adcCells = Cells(adc.size());
    std::copy(adcCells.begin(), adcCells.end(), adc.begin());

    struct Case {
        const char* writer;
        std::string text;
        size_t headerRows;             // rows before the data
        std::vector<std::string> row;  // the first data row as written
    };
    const std::string serial = "SN,1";
    std::vector<std::string> reading = {"12:00:00", serial};
    reading.insert(reading.end(), telemetry.begin(), telemetry.end());
    std::vector<std::string> adcRow = {TimeToStr(EncodeDateTime({2024, 1, 2, 12, 0, 0, 0}))};
    adcRow.insert(adcRow.end(), adc.begin(), adc.end());
    const Case cases[] = {
        {"history alarms", HisAlarmCsvText({Cells(29)}), 1, Cells(29)},
        {"daily records", DailyCsvText({Cells(6)}), 1, Cells(6)},
        {"automatic records", AutoTsbsCsvText({Cells(kAutoTsbsColumns)}), 1, Cells(kAutoTsbsColumns)},
        {"readings",
         ReadingCsvHeader(ReadingTable::MoreModule) +
             ReadingCsvLine(ReadingTable::MoreModule, "12:00:00", serial, telemetry),
         1, reading},
        {"ADC log", AdcLogHeader() + AdcLogLine(EncodeDateTime({2024, 1, 2, 12, 0, 0, 0}), adc), 1, adcRow},
        {"export history", ExportHistorySection({Cells(29)}), 2, Cells(29)},
        {"export daily records", ExportDailySection({Cells(6)}), 2, Cells(6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.writer);
        const auto rows = Rows(c.text);
        ASSERT_EQ(rows.size(), c.headerRows + 1);
        EXPECT_EQ(rows.back(), c.row);
        // A field without a comma, quote or line break stays byte for byte.
        EXPECT_NE(c.text.find(",plain,"), std::string::npos);
        EXPECT_NE(c.text.find("\"16S LFP, balance, heater\""), std::string::npos);
        EXPECT_NE(c.text.find("\"say \"\"hi\"\"\""), std::string::npos);
    }
}

}  // namespace
}  // namespace tarvel

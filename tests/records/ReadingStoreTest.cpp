#include "records/ReadingStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include "platform/base/Paths.h"
#include "tests/TempFolderFixture.h"
#include "tests/platform/base/SmallDiskFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel {
namespace {

TelemetryTexts Values() {
    return TelemetryValueTexts(*DecodeTelemetryReply(testing::DeviceFixture("telemetry_83.hex")));
}

std::string Header(bool serial) {
    std::string h = serial ? "RecordTime,SerialNO,PACK,BATT," : "RecordTime,PACK,BATT,";
    for (int i = 1; i <= 16; ++i) h += "V" + std::to_string(i) + ",";
    h += "I,";
    for (int i = 1; i <= 8; ++i) h += "T" + std::to_string(i) + ",";
    return h + "Others,Alarm,Protection,Fail,Balance,BattState,SOC,SOCHealth,DiscTimes,TotalDiscSOC,\r\n";
}

constexpr std::chrono::seconds kDrain{20};

// The database's part of the readings stored so far, once the writer is done.
StoreReport Drained(ReadingStore& store) {
    EXPECT_TRUE(store.Drain(kDrain));
    return store.TakeDatabaseReport();
}

// All that storing one reading told: the store's answer and the writer's
// news once it is done. A writer quick to fail has its news in the answer.
StoreReport StoredAndDrained(ReadingStore& store, ReadingTable table, std::string_view time,
                             std::string_view serialNo = "") {
    StoreReport report = store.Store(table, time, serialNo, Values());
    StoreReport told = Drained(store);
    report.failures.insert(report.failures.end(), told.failures.begin(), told.failures.end());
    report.logLines.insert(report.logLines.end(), told.logLines.begin(), told.logLines.end());
    return report;
}

size_t RowsOf(const std::string& path, ReadingTable table) {
    ReadingDatabase db(path);
    return db.SelectDays(table, "2000-01-01", "2999-12-31", std::nullopt, "").rows.size();
}

const char* const kLineValues =
    "52100,-1,65535,3301,3302,3303,3304,3305,3306,3307,3308,3309,3310,3311,3312,3313,3314,3315,-1000,"
    "-10,25,26,27,28,29,30,31,31,2147483648,8192,256,32769,1,87,98,2147483648,4294967295,\r\n";

TEST(ReadingStore, CsvLineFirstThenDatabaseRow) {
    testing::TempFolder folder;
    ReadingStore store(folder.Path().string());
    for (int i = 0; i < 2; ++i) {
        const StoreReport report = store.Store(ReadingTable::NoModule, "2018-11-22 14-05-09", "", Values());
        EXPECT_TRUE(report.failures.empty());
    }
    EXPECT_TRUE(store.Store(ReadingTable::MoreModule, "2018-11-22 14-05-10", "7", Values()).failures.empty());
    EXPECT_TRUE(Drained(store).failures.empty());
    const std::string line = std::string("2018-11-22 14-05-09,") + kLineValues;
    EXPECT_EQ(ReadFileText(folder.File("NoModule.csv")), Header(false) + line + line);
    EXPECT_EQ(ReadFileText(folder.File("MoreModule.csv")),
              Header(true) + "2018-11-22 14-05-10,7," + kLineValues);

    ReadingDatabase db(folder.File("Data.db"));
    EXPECT_EQ(db.SelectDays(ReadingTable::NoModule, "2000-01-01", "2999-12-31", std::nullopt, "").rows.size(),
              2u);
    const auto more = db.SelectDays(ReadingTable::MoreModule, "2000-01-01", "2999-12-31", std::nullopt, "");
    ASSERT_EQ(more.rows.size(), 1u);
    EXPECT_EQ(more.rows[0][1], "7");
    EXPECT_EQ(more.rows[0][2], "52100");
    EXPECT_EQ(more.rows[0][38], "4294967295");
}

// Another program holding the write lock delays the rows, in order, and
// loses none; the window hears nothing of the wait.
TEST(ReadingStore, ALockedDatabaseWritesTheQueuedRowsInOrderWhenItFrees) {
    testing::TempFolder folder;
    ReadingStore store(folder.Path().string());
    EXPECT_TRUE(store.Store(ReadingTable::SingleModule, "t0", "0", Values()).failures.empty());
    ASSERT_TRUE(store.Drain(kDrain));
    Database other(folder.File("Data.db"));
    other.Execute("BEGIN EXCLUSIVE");
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(
            store.Store(ReadingTable::SingleModule, "t", std::to_string(i), Values()).failures.empty());
    EXPECT_FALSE(store.Drain(std::chrono::milliseconds(300)));
    EXPECT_EQ(store.Pending(), 3u);
    other.Execute("COMMIT");
    const StoreReport told = Drained(store);
    EXPECT_TRUE(told.failures.empty());
    EXPECT_TRUE(told.logLines.empty());

    ReadingDatabase db(folder.File("Data.db"));
    std::vector<std::string> serials;
    for (const auto& row :
         db.SelectDays(ReadingTable::SingleModule, "2000-01-01", "2999-12-31", std::nullopt, "").rows)
        serials.push_back(row[1]);
    EXPECT_EQ(serials, (std::vector<std::string>{"0", "1", "2", "3"}));
    const std::string csv = ReadFileText(folder.File("SingleModule.csv"));
    for (int i = 1; i <= 3; ++i) EXPECT_NE(csv.find("\r\nt," + std::to_string(i) + ","), std::string::npos);
}

// A row that waits longer than the bound is given up and said to be so, on
// the info line and in the log; its line stays in the CSV file.
TEST(ReadingStore, ARowThatWaitsTooLongIsReportedAndStaysInTheCsv) {
    testing::TempFolder folder;
    ReadingStore store(folder.Path().string(), std::chrono::milliseconds(300));
    EXPECT_TRUE(store.Store(ReadingTable::NoModule, "t0", "", Values()).failures.empty());
    ASSERT_TRUE(store.Drain(kDrain));
    Database other(folder.File("Data.db"));
    other.Execute("BEGIN EXCLUSIVE");
    const StoreReport told = StoredAndDrained(store, ReadingTable::NoModule, "t1");
    ASSERT_EQ(told.failures.size(), 1u);
    EXPECT_EQ(told.failures[0].rfind("Fail to store the reading in the database: ", 0), 0u)
        << told.failures[0];
    EXPECT_NE(told.failures[0].find("database is locked"), std::string::npos) << told.failures[0];
    ASSERT_EQ(told.logLines.size(), 1u);
    EXPECT_NE(told.logLines[0].find("1 reading is only in the CSV file"), std::string::npos)
        << told.logLines[0];
    other.Execute("COMMIT");

    EXPECT_TRUE(StoredAndDrained(store, ReadingTable::NoModule, "t2").failures.empty());
    EXPECT_EQ(RowsOf(folder.File("Data.db"), ReadingTable::NoModule), 2u);
    EXPECT_NE(ReadFileText(folder.File("NoModule.csv")).find("\r\nt1,"), std::string::npos);
}

// The database file deleted, or another put in its place, while the tool
// runs: the next row goes into a database at the path, and the change is
// told once.
TEST(ReadingStore, ADatabaseDeletedOrReplacedIsOpenedAgainAtItsPath) {
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "deleted");
        testing::TempFolder folder;
        const std::string path = folder.File("Data.db");
        ReadingStore store(folder.Path().string());
        ASSERT_TRUE(StoredAndDrained(store, ReadingTable::NoModule, "t0").logLines.empty());
        if (replaced) {
            {
                ReadingDatabase other(folder.File("Other.db"));
                other.Insert(ReadingTable::NoModule, "", ReadingValues{});
            }
            std::filesystem::rename(folder.File("Other.db"), path);
        } else {
            std::filesystem::remove(path);
        }
        const StoreReport told = StoredAndDrained(store, ReadingTable::NoModule, "t1");
        ASSERT_EQ(told.logLines.size(), 1u);
        EXPECT_NE(told.logLines[0].find("was deleted or replaced"), std::string::npos) << told.logLines[0];
        EXPECT_EQ(told.failures, told.logLines);
        EXPECT_TRUE(StoredAndDrained(store, ReadingTable::NoModule, "t2").logLines.empty());
        EXPECT_EQ(RowsOf(path, ReadingTable::NoModule), replaced ? 3u : 2u);
    }
}

// Makes the file unwritable even for root where the file system allows it.
bool MakeReadOnly(const std::string& path) {
    if (std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) == 0) return true;
    if (geteuid() == 0) return false;
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    return true;
}

TEST(ReadingStore, ReadOnlyDatabaseKeepsTheCsvLine) {
    testing::TempFolder folder;
    { ReadingDatabase created(folder.File("Data.db")); }
    if (!MakeReadOnly(folder.File("Data.db"))) GTEST_SKIP() << "cannot make a file read-only here";
    ReadingStore store(folder.Path().string());
    const StoreReport report = StoredAndDrained(store, ReadingTable::NoModule, "t1");
    std::system(("chattr -i '" + folder.File("Data.db") + "' 2>/dev/null").c_str());
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_NE(report.failures[0].find("readonly"), std::string::npos) << report.failures[0];
    EXPECT_NE(ReadFileText(folder.File("NoModule.csv")).find("\r\nt1,"), std::string::npos);
}

TEST(ReadingStore, AFileThatIsNoDatabaseIsReported) {
    testing::TempFolder folder;
    WriteFileText(folder.File("Data.db"), std::string(4096, 'x'));
    ReadingStore store(folder.Path().string());
    const StoreReport report = StoredAndDrained(store, ReadingTable::NoModule, "t1");
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_NE(report.failures[0].find("not a database"), std::string::npos) << report.failures[0];
    EXPECT_TRUE(FileExists(folder.File("NoModule.csv")));
}

TEST(ReadingStore, MissingFolderReportsBothFailures) {
    testing::TempFolder folder;
    ReadingStore store(folder.File("absent"));
    const StoreReport told = StoredAndDrained(store, ReadingTable::NoModule, "t");
    ASSERT_EQ(told.failures.size(), 2u);
    EXPECT_EQ(told.failures[0], "Fail to build record file!");
    EXPECT_NE(told.failures[1].find("unable to open database file"), std::string::npos) << told.failures[1];
    EXPECT_EQ(told.logLines, std::vector<std::string>{told.failures[1]});
}

TEST(ReadingStore, UnwritableCsvStillInsertsTheRow) {
    testing::TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "NoModule.csv");  // a folder in the file's place
    ReadingStore store(folder.Path().string());
    const StoreReport report = store.Store(ReadingTable::NoModule, "t", "", Values());
    EXPECT_EQ(report.failures, (std::vector<std::string>{"Fail to build record file!"}));
    EXPECT_TRUE(Drained(store).failures.empty());
    EXPECT_EQ(RowsOf(folder.File("Data.db"), ReadingTable::NoModule), 1u);
}

// The database keeps its own room (WAL and shared memory) on a disk of 1 MB.
class ReadingStoreOnAFullDisk : public testing::SmallDisk {
protected:
    ReadingStoreOnAFullDisk() : SmallDisk("1m") {}
};

// A line that does not fit is cut back whole and said to be a write failure;
// the next line starts on a line of its own.
TEST_F(ReadingStoreOnAFullDisk, ALineThatDoesNotFitLeavesNoHalfLine) {
    ReadingStore store(Folder());
    ASSERT_TRUE(store.Store(ReadingTable::NoModule, "t0", "", Values()).failures.empty());
    ASSERT_TRUE(Drained(store).failures.empty());
    // Up to a few bytes before the end of the file's page, so the line starts to fit.
    const std::string path = File("NoModule.csv");
    std::string before = ReadFileText(path);
    const std::string padding = std::string(4096 - before.size() % 4096 - 12, 'x') + "\r\n";
    // In place: the file the store keeps open is the one filled.
    std::ofstream(path, std::ios::binary | std::ios::app) << padding;
    before += padding;
    Fill();
    const StoreReport full = store.Store(ReadingTable::NoModule, "t1", "", Values());
    ASSERT_FALSE(full.failures.empty());
    EXPECT_EQ(full.failures[0], "Fail to write record file!");
    EXPECT_EQ(ReadFileText(path), before);
    Drained(store);  // the row may not have fitted either

    Free();
    EXPECT_TRUE(store.Store(ReadingTable::NoModule, "t2", "", Values()).failures.empty());
    EXPECT_EQ(ReadFileText(path), before + "t2," + kLineValues);
}

// Garbage over a page of a closed database is found when it opens again:
// reported on every reading, logged once, and the CSV lines go on.
TEST(ReadingStore, ADamagedDatabasePageIsReportedAndTheCsvGoesOn) {
    testing::TempFolder folder;
    const std::string path = folder.File("Data.db");
    {
        ReadingDatabase db(path);
        ReadingValues values;
        values.fill("1234567890");
        for (int i = 0; i < 200; ++i) db.Insert(ReadingTable::SingleModule, std::to_string(i), values);
    }
    ASSERT_GT(std::filesystem::file_size(path), 5u * 4096);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        // Over the roots of the tables and their indexes, headers and all.
        file.seekp(2 * 4096);
        const std::string garbage(6 * 4096, '\x5A');
        file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    EXPECT_THROW(ReadingDatabase{path}, EDatabaseDamaged);

    ReadingStore store(folder.Path().string());
    const StoreReport first = StoredAndDrained(store, ReadingTable::SingleModule, "t1", "1");
    ASSERT_EQ(first.failures.size(), 1u);
    EXPECT_NE(first.failures[0].find("damaged"), std::string::npos) << first.failures[0];
    EXPECT_EQ(first.logLines, first.failures);
    const StoreReport second = StoredAndDrained(store, ReadingTable::SingleModule, "t2", "1");
    EXPECT_EQ(second.failures, first.failures);
    EXPECT_TRUE(second.logLines.empty());
    const std::string csv = ReadFileText(folder.File("SingleModule.csv"));
    EXPECT_NE(csv.find("\r\nt1,"), std::string::npos);
    EXPECT_NE(csv.find("\r\nt2,"), std::string::npos);
}

}  // namespace
}  // namespace tarvel

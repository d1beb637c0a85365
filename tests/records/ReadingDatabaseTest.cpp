#include "records/ReadingDatabase.h"
#include "tests/TempFolderFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

namespace tarvel {
namespace {

namespace fs = std::filesystem;

class ReadingDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.Path();
        path_ = (folder_ / "Data.db").string();
    }

    static ReadingValues Values(int first) {
        ReadingValues values;
        for (int i = 0; i < kReadingValueCount; ++i)
            values[static_cast<size_t>(i)] = std::to_string(first + i);
        return values;
    }

    testing::TempFolder temp_;
    fs::path folder_;
    std::string path_;
};

TEST_F(ReadingDatabaseTest, CreatesTheThreeTablesWithTheirColumns) {
    ReadingDatabase db(path_);
    for (ReadingTable table :
         {ReadingTable::NoModule, ReadingTable::SingleModule, ReadingTable::MoreModule}) {
        Statement info =
            db.Connection().Prepare(std::string("PRAGMA table_info(") + ReadingTableName(table) + ")");
        std::vector<std::string> names;
        while (info.Step()) names.push_back(info.ColumnText(1));
        EXPECT_EQ(names, ReadingColumns(table)) << ReadingTableName(table);
    }
    EXPECT_EQ(ReadingColumns(ReadingTable::NoModule).size(), 38u);
    EXPECT_EQ(ReadingColumns(ReadingTable::MoreModule).size(), 39u);
    Statement mode = db.Connection().Prepare("PRAGMA journal_mode");
    ASSERT_TRUE(mode.Step());
    EXPECT_EQ(mode.ColumnText(0), "wal");
}

TEST_F(ReadingDatabaseTest, RowsReadBackWithTheSqliteShellAsTheGridShowedThem) {
    {
        ReadingDatabase db(path_);
        ReadingValues values = Values(0);
        values[0] = "-1";           // PACK, signed
        values[28] = "2147483648";  // Alarm, unsigned 32-bit
        db.Insert(ReadingTable::NoModule, "ignored", values);
        db.Insert(ReadingTable::SingleModule, "", Values(100));
        db.Insert(ReadingTable::MoreModule, "7", Values(200));
        db.Insert(ReadingTable::MoreModule, "it's", Values(300));  // a quote is data, not SQL
    }
    if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sqlite3 shell";
    const auto shell = [&](const std::string& sql) {
        const std::string command = "sqlite3 -separator , '" + path_ + "' \"" + sql + "\"";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        std::string out;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe.get())) > 0) out.append(buf, n);
        return out;
    };
    EXPECT_EQ(shell("select PACK,V1,Alarm,TotalDiscSOC from NoModule"), "-1,2,2147483648,36\n");
    EXPECT_EQ(shell("select SerialNO,PACK from SingleModule"), ",100\n");
    EXPECT_EQ(shell("select SerialNO,BATT from MoreModule order by BATT"), "7,201\nit's,301\n");
    const std::string time = shell("select RecordTime from NoModule");
    EXPECT_EQ(time.size(), 20u) << time;  // "yyyy-mm-dd hh:mm:ss\n"
}

TEST_F(ReadingDatabaseTest, DayRangeAndSerialFilterAreBoundValues) {
    ReadingDatabase db(path_);
    db.Insert(ReadingTable::MoreModule, "2", Values(0));
    db.Insert(ReadingTable::MoreModule, "1", Values(10));
    db.Insert(ReadingTable::MoreModule, "1' or '1'='1", Values(20));
    db.Connection().Execute("UPDATE MoreModule SET RecordTime='2018-11-05 23:59:59' WHERE BATT='11'");
    db.Connection().Execute("UPDATE MoreModule SET RecordTime='2018-11-06 00:00:00' WHERE BATT='1'");
    db.Connection().Execute("UPDATE MoreModule SET RecordTime='2018-11-04 10:00:00' WHERE BATT='21'");

    EXPECT_EQ(db.SerialNumbers(ReadingTable::MoreModule),
              (std::vector<std::string>{"1", "1' or '1'='1", "2"}));
    auto day = db.SelectDays(ReadingTable::MoreModule, "2018-11-05", "2018-11-05", std::nullopt, "BATT");
    ASSERT_EQ(day.rows.size(), 1u);
    EXPECT_EQ(day.rows[0][1], "1");
    auto two =
        db.SelectDays(ReadingTable::MoreModule, "2018-11-04", "2018-11-06", std::nullopt, "BATT; drop");
    ASSERT_EQ(two.rows.size(), 3u);
    EXPECT_EQ(two.rows[0][0], "2018-11-04 10:00:00");  // unknown order column falls back to RecordTime
    auto one = db.SelectDays(ReadingTable::MoreModule, "2018-11-01", "2018-11-30",
                             std::string_view("1' or '1'='1"), "RecordTime");
    ASSERT_EQ(one.rows.size(), 1u);
    EXPECT_EQ(db.DeleteDays(ReadingTable::MoreModule, "2018-11-06", "2018-11-06", std::nullopt), 1);
    EXPECT_EQ(
        db.SelectDays(ReadingTable::MoreModule, "2000-01-01", "2099-01-01", std::nullopt, "").rows.size(),
        2u);
}

TEST_F(ReadingDatabaseTest, LockedDatabaseRaisesAndTheNextInsertWorks) {
    ReadingDatabase db(path_);
    Database other(path_);
    other.Execute("BEGIN EXCLUSIVE");
    EXPECT_THROW(db.Insert(ReadingTable::NoModule, "", Values(0)), EDatabaseError);
    other.Execute("COMMIT");
    EXPECT_NO_THROW(db.Insert(ReadingTable::NoModule, "", Values(0)));
}

// Another writer's short transaction is waited for, not failed.
TEST_F(ReadingDatabaseTest, AnotherWritersLockIsWaitedFor) {
    ReadingDatabase db(path_);
    Database other(path_);
    other.Execute("BEGIN EXCLUSIVE");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        other.Execute("COMMIT");
    });
    EXPECT_NO_THROW(db.Insert(ReadingTable::NoModule, "", Values(0)));
    release.join();
}

// A file of an older version, made without indexes, gains them when it
// opens; its rows stay as they were.
TEST_F(ReadingDatabaseTest, AnOlderFileGainsItsIndexesAndKeepsItsRows) {
    const auto dump = [&](Database& db) {
        std::vector<std::string> rows;
        for (const char* table : {"NoModule", "SingleModule", "MoreModule"}) {
            Statement select = db.Prepare(std::string("SELECT * FROM ") + table + " ORDER BY rowid");
            while (select.Step()) {
                std::string row = table;
                for (int c = 0; c < select.ColumnCount(); ++c) row += "," + select.ColumnText(c);
                rows.push_back(row);
            }
        }
        return rows;
    };
    const auto indexes = [&](Database& db) {
        std::vector<std::string> names;
        Statement select = db.Prepare("SELECT name FROM sqlite_master WHERE type='index' ORDER BY name");
        while (select.Step()) names.push_back(select.ColumnText(0));
        return names;
    };
    std::vector<std::string> before;
    {
        ReadingDatabase made(path_);
        for (const std::string& name : indexes(made.Connection()))
            made.Connection().Execute("DROP INDEX " + name);
        for (int i = 0; i < 50; ++i) {
            made.Insert(ReadingTable::NoModule, "", Values(i));
            made.Insert(ReadingTable::SingleModule, std::to_string(i % 3), Values(i));
            made.Insert(ReadingTable::MoreModule, std::to_string(i % 7), Values(i));
        }
        ASSERT_TRUE(indexes(made.Connection()).empty());
        before = dump(made.Connection());
    }
    ReadingDatabase db(path_);
    EXPECT_EQ(indexes(db.Connection()),
              (std::vector<std::string>{"MoreModule_RecordTime", "MoreModule_SerialNO", "NoModule_RecordTime",
                                        "SingleModule_RecordTime", "SingleModule_SerialNO"}));
    EXPECT_EQ(dump(db.Connection()), before);
    EXPECT_EQ(db.SerialNumbers(ReadingTable::MoreModule),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
    // The range and the serial-number list run over them.
    Statement plan = db.Connection().Prepare(
        "EXPLAIN QUERY PLAN SELECT RecordTime,BATT FROM MoreModule WHERE RecordTime>='2018-01-01' AND "
        "RecordTime<'2018-02-01' ORDER BY RecordTime");
    std::string steps;
    while (plan.Step()) steps += plan.ColumnText(3) + ";";
    EXPECT_NE(steps.find("USING INDEX MoreModule_RecordTime"), std::string::npos) << steps;
}

// A serial number left empty (NULL) is listed first, as a grouped list would.
TEST_F(ReadingDatabaseTest, TheSerialNumberListHoldsEachNumberOnceInOrder) {
    ReadingDatabase db(path_);
    for (const char* serial : {"9", "10", "9", "A", "10"})
        db.Insert(ReadingTable::SingleModule, serial, Values(0));
    EXPECT_EQ(db.SerialNumbers(ReadingTable::SingleModule), (std::vector<std::string>{"10", "9", "A"}));
    db.Connection().Execute(
        "INSERT INTO SingleModule(RecordTime,SerialNO) VALUES('2020-01-01 00:00:00',NULL)");
    EXPECT_EQ(db.SerialNumbers(ReadingTable::SingleModule), (std::vector<std::string>{"", "10", "9", "A"}));
    EXPECT_TRUE(db.SerialNumbers(ReadingTable::MoreModule).empty());
}

TEST_F(ReadingDatabaseTest, MissingFolderRaisesOnOpen) {
    EXPECT_THROW(ReadingDatabase((folder_ / "absent" / "Data.db").string()), EDatabaseError);
}

}  // namespace
}  // namespace tarvel

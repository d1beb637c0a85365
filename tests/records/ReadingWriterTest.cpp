// The database writer's thread against the thread that queues: rows queued
// while another connection holds the lock, released from a third thread,
// all written once and in order; its news collected while it works.

#include "records/ReadingWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

QueuedReading Reading(int n) {
    QueuedReading reading;
    reading.table = ReadingTable::MoreModule;
    reading.recordTime = "2024-03-01 10:00:00";
    reading.serialNo = std::to_string(n);
    reading.values.fill("1");
    return reading;
}

std::vector<std::string> StoredSerials(const std::string& path) {
    ReadingDatabase db(path);
    Statement select = db.Connection().Prepare("SELECT SerialNO FROM MoreModule ORDER BY rowid");
    std::vector<std::string> serials;
    while (select.Step()) serials.push_back(select.ColumnText(0));
    return serials;
}

TEST(ReadingWriter, RowsQueuedWhileTheLockIsHeldElsewhereAreWrittenOnceInOrder) {
    testing::TempFolder folder;
    const std::string path = folder.File("Data.db");
    { ReadingDatabase made(path); }
    std::atomic<int> told{0};
    constexpr int kRows = 600;
    std::vector<std::string> expected;
    {
        ReadingWriter writer(path, [&] { ++told; });
        Database other(path);
        other.Execute("BEGIN EXCLUSIVE");
        std::atomic<bool> released{false};
        std::thread holder([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            other.Execute("COMMIT");
            released = true;
        });
        for (int n = 0; n < kRows; ++n) {
            writer.Queue(Reading(n));
            expected.push_back(std::to_string(n));
            if (n % 50 == 0) {
                EXPECT_TRUE(writer.TakeReport().Empty());
                EXPECT_LE(writer.Pending(), static_cast<size_t>(n + 1));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
        EXPECT_TRUE(writer.Drain(std::chrono::seconds(20)));
        holder.join();
        EXPECT_TRUE(released);
        EXPECT_EQ(writer.Pending(), 0u);
        EXPECT_TRUE(writer.TakeReport().Empty());
    }
    EXPECT_EQ(told, 0);
    EXPECT_EQ(StoredSerials(path), expected);
}

// A lock held past the bound: every row is given up and counted in the
// log, none waits longer than the bound.
TEST(ReadingWriter, ALockHeldPastTheBoundGivesUpTheRowsAndCountsThem) {
    testing::TempFolder folder;
    const std::string path = folder.File("Data.db");
    { ReadingDatabase made(path); }
    Database other(path);
    other.Execute("BEGIN EXCLUSIVE");
    std::atomic<int> told{0};
    WriterReport report;
    const auto start = std::chrono::steady_clock::now();
    {
        ReadingWriter writer(
            path, [&] { ++told; }, std::chrono::milliseconds(500));
        for (int n = 0; n < 5; ++n) writer.Queue(Reading(n));
        EXPECT_FALSE(writer.Drain(std::chrono::milliseconds(100)));
        EXPECT_TRUE(writer.Drain(std::chrono::seconds(20)));
        report = writer.TakeReport();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    other.Execute("COMMIT");
    EXPECT_GE(told, 1);
    ASSERT_FALSE(report.failures.empty());
    size_t givenUp = 0;
    for (const std::string& line : report.logLines) {
        const size_t at = line.rfind('(');
        ASSERT_NE(at, std::string::npos) << line;
        givenUp += std::stoul(line.substr(at + 1));
    }
    EXPECT_EQ(givenUp, 5u);
    EXPECT_TRUE(StoredSerials(path).empty());
}

}  // namespace
}  // namespace tarvel

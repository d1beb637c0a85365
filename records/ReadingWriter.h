#pragma once
// The database rows of the readings, written by a thread of their own so
// that a busy database never holds up the window: rows wait in a queue, in
// the order they came, and a database locked by another program is tried
// again until the lock frees. A row that cannot be written within a bounded
// time, or that the database refuses, is given up and reported; its reading
// stays in the CSV file. The thread touches only its own connection and the
// locked queue; what it has to tell is collected by TakeReport, and
// `reported` (called on the writer's thread) says when there is something.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "records/ReadingDatabase.h"

namespace tarvel {

struct QueuedReading {
    ReadingTable table = ReadingTable::NoModule;
    std::string recordTime;  // "yyyy-mm-dd hh:nn:ss", when the reading came
    std::string serialNo;
    ReadingValues values;
};

struct WriterReport {
    // Texts for the info line in the failure colour, in the order they arose.
    std::vector<std::string> failures;
    // Lines for the information log.
    std::vector<std::string> logLines;
    bool Empty() const { return failures.empty() && logLines.empty(); }
};

class ReadingWriter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kDefaultGiveUpAfter{30000};

    explicit ReadingWriter(std::string path, std::function<void()> reported = {},
                           std::chrono::milliseconds giveUpAfter = kDefaultGiveUpAfter);
    // Waits for the queue as Drain(giveUpAfter) does, then gives up what is left.
    ~ReadingWriter();
    ReadingWriter(const ReadingWriter&) = delete;
    ReadingWriter& operator=(const ReadingWriter&) = delete;

    void Queue(QueuedReading reading);
    // Waits until every queued row is written or given up, at most `timeout`;
    // true when nothing is left.
    bool Drain(std::chrono::milliseconds timeout);
    // Rows queued and not yet written or given up.
    size_t Pending() const;
    // What happened since the last call.
    WriterReport TakeReport();

private:
    struct Waiting {
        QueuedReading reading;
        Clock::time_point queued;
    };
    enum class Outcome { Written, Busy, Failed };

    void Run();
    // Writes the rows in one transaction; `error` says why not.
    Outcome Write(const std::vector<Waiting>& rows, std::string& error);
    void OpenIfNeeded();
    void Report(std::string failure, std::string logLine);

    const std::string path_;
    const std::function<void()> reported_;
    const std::chrono::milliseconds giveUpAfter_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Waiting> queue_;
    size_t batchRows_ = 0;  // rows taken from the queue and not yet written or given up
    bool stopping_ = false;
    WriterReport report_;

    // The writer thread's own.
    std::unique_ptr<ReadingDatabase> db_;
    std::string damage_;
    std::string lastError_;
    std::thread thread_;
};

}  // namespace tarvel

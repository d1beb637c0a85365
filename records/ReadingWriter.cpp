#include "records/ReadingWriter.h"

#include <algorithm>
#include <utility>

namespace tarvel {

namespace {

const std::string kFailurePrefix = "Fail to store the reading in the database: ";

// Rows written in one transaction at most: a backlog after a lock is
// written quickly without holding the lock for long.
constexpr size_t kBatchRows = 256;
// How long one try waits for another connection's lock before the writer
// looks again at its queue and its clock.
constexpr int kBusyTimeoutMs = 100;
// The pause between tries while the database stays locked.
constexpr std::chrono::milliseconds kRetryPause{50};

void RollBack(Database& db) {
    try {
        db.Execute("ROLLBACK");
    } catch (const EDatabaseError&) {
        // Nothing was begun, or SQLite rolled back itself.
    }
}

}  // namespace

ReadingWriter::ReadingWriter(std::string path, std::function<void()> reported,
                             std::chrono::milliseconds giveUpAfter)
    : path_(std::move(path)), reported_(std::move(reported)), giveUpAfter_(giveUpAfter) {
    thread_ = std::thread([this] { Run(); });
}

ReadingWriter::~ReadingWriter() {
    Drain(giveUpAfter_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ReadingWriter::Queue(QueuedReading reading) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back({std::move(reading), Clock::now()});
    }
    changed_.notify_all();
}

bool ReadingWriter::Drain(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return queue_.empty() && batchRows_ == 0; });
}

size_t ReadingWriter::Pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size() + batchRows_;
}

WriterReport ReadingWriter::TakeReport() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(report_, {});
}

void ReadingWriter::Report(std::string failure, std::string logLine) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failure.empty()) report_.failures.push_back(std::move(failure));
        if (!logLine.empty()) report_.logLines.push_back(std::move(logLine));
    }
    if (reported_) reported_();
}

void ReadingWriter::Run() {
    std::vector<Waiting> batch;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this, &batch] { return stopping_ || !queue_.empty() || !batch.empty(); });
        // Later readings join the rows waiting for a lock behind them, in order.
        while (batch.size() < kBatchRows && !queue_.empty()) {
            batch.push_back(std::move(queue_.front()));
            queue_.pop_front();
        }
        batchRows_ = batch.size();
        if (batch.empty()) break;  // stopping, and nothing left
        const bool stopping = stopping_;
        lock.unlock();

        std::string error;
        const Outcome outcome = Write(batch, error);
        size_t givenUp = 0;
        if (outcome == Outcome::Written) {
            batch.clear();
            lastError_.clear();
        } else if (outcome == Outcome::Failed) {
            // The database refused the rows: they are reported and the next
            // readings try again (with the file opened and checked anew).
            givenUp = batch.size();
            batch.clear();
            const std::string failure = kFailurePrefix + error;
            Report(failure, error != lastError_ ? failure : std::string());
            lastError_ = error;
        } else {
            // Busy: the rows waiting longer than the bound are given up, the
            // rest wait for the lock, unless the writer is being stopped.
            const Clock::time_point now = Clock::now();
            const auto expired = std::find_if(
                batch.begin(), batch.end(), [&](const Waiting& w) { return now - w.queued < giveUpAfter_; });
            givenUp = stopping ? batch.size() : static_cast<size_t>(expired - batch.begin());
            if (givenUp > 0) {
                batch.erase(batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(givenUp));
                const std::string failure = kFailurePrefix + error;
                Report(failure, failure + " (" + std::to_string(givenUp) +
                                    (givenUp == 1 ? " reading is" : " readings are") +
                                    " only in the CSV file)");
            }
        }

        lock.lock();
        batchRows_ = batch.size();
        if (outcome == Outcome::Busy && !batch.empty() && !stopping_) {
            lock.unlock();
            changed_.notify_all();
            lock.lock();
            changed_.wait_for(lock, kRetryPause, [this] { return stopping_; });
            continue;
        }
        lock.unlock();
        changed_.notify_all();
        lock.lock();
    }
    lock.unlock();
    changed_.notify_all();
    db_.reset();
}

void ReadingWriter::OpenIfNeeded() {
    if (!damage_.empty()) throw EDatabaseDamaged(damage_);
    bool moved = false;
    if (db_ && !db_->Connection().IsFileAtPath()) {
        // The rows written since would go into a file nobody can reach. The
        // old file's log, named after the path, is emptied first, so none of
        // its pages can be taken for pages of the file now at the path.
        try {
            db_->Connection().Execute("PRAGMA wal_checkpoint(TRUNCATE)");
        } catch (const EDatabaseError&) {
        }
        db_.reset();
        moved = true;
    }
    if (!db_) {
        try {
            db_ = std::make_unique<ReadingDatabase>(path_, kBusyTimeoutMs);
        } catch (const EDatabaseDamaged& e) {
            damage_ = e.Message();
            throw;
        }
    }
    if (moved) {
        const std::string text = "The database file " + path_ +
                                 " was deleted or replaced: the readings now go into the file at its path";
        Report(text, text);
    }
}

ReadingWriter::Outcome ReadingWriter::Write(const std::vector<Waiting>& rows, std::string& error) {
    try {
        OpenIfNeeded();
        Database& connection = db_->Connection();
        const bool together = rows.size() > 1;
        if (together) connection.Execute("BEGIN IMMEDIATE");
        try {
            for (const Waiting& w : rows)
                db_->Insert(w.reading.table, w.reading.recordTime, w.reading.serialNo, w.reading.values);
            if (together) connection.Execute("COMMIT");
        } catch (const EDatabaseError&) {
            if (together) RollBack(connection);
            throw;
        }
        return Outcome::Written;
    } catch (const EDatabaseError& e) {
        error = e.Message();
        if (e.Busy()) return Outcome::Busy;
        // A connection that failed is opened and checked again for the next rows.
        if (damage_.empty()) db_.reset();
        return Outcome::Failed;
    }
}

}  // namespace tarvel

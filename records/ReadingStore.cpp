#include "records/ReadingStore.h"

#include <array>
#include <mutex>

#include "platform/base/Csv.h"
#include "platform/base/DateTime.h"
#include "platform/base/Paths.h"

namespace tarvel {

std::string ReadingCsvFileName(ReadingTable table) { return std::string(ReadingTableName(table)) + ".csv"; }

std::string ReadingCsvHeader(ReadingTable table) {
    std::string line;
    for (const std::string& column : ReadingColumns(table)) line += column + ",";
    return line + "\r\n";
}

std::string ReadingCsvLine(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                           const TelemetryTexts& values) {
    std::string line;
    AppendCsvField(line, timeText);
    if (ReadingTableHasSerial(table)) AppendCsvField(line, serialNo);
    for (const std::string& value : values) AppendCsvField(line, value);
    return line + "\r\n";
}

// Where the writer's news goes: set on the GUI thread, read by the writer.
struct ReadingStore::Sink {
    std::mutex mutex;
    PostToGui post;
    std::function<void()> show;
};

ReadingStore::ReadingStore(std::string folder, std::chrono::milliseconds giveUpAfter)
    : folder_(std::move(folder)), giveUpAfter_(giveUpAfter), sink_(std::make_shared<Sink>()) {}

ReadingStore::~ReadingStore() {
    writer_.reset();
    sink_.reset();
}

void ReadingStore::OnDatabaseReport(PostToGui post, std::function<void()> show) {
    std::lock_guard<std::mutex> lock(sink_->mutex);
    sink_->post = std::move(post);
    sink_->show = std::move(show);
}

std::string ReadingStore::AppendCsvLine(ReadingTable table, const std::string& line) {
    auto& file = csv_[static_cast<size_t>(table)];
    if (!file) file = std::make_unique<AppendFile>(folder_ + "/" + ReadingCsvFileName(table));
    try {
        static const std::array<std::string, 3> kHeaders = {ReadingCsvHeader(ReadingTable::NoModule),
                                                            ReadingCsvHeader(ReadingTable::SingleModule),
                                                            ReadingCsvHeader(ReadingTable::MoreModule)};
        file->Append(line, kHeaders[static_cast<size_t>(table)]);
        return {};
    } catch (const EWriteError&) {
        return "Fail to write record file!";
    } catch (const Exception&) {
        // The open failed and changed nothing: the file is there or not as before.
        return FileExists(file->Path()) ? "Fail to open record file!" : "Fail to build record file!";
    }
}

StoreReport ReadingStore::Store(ReadingTable table, std::string_view timeText, std::string_view serialNo,
                                const TelemetryTexts& values) {
    StoreReport report;
    if (std::string failure = AppendCsvLine(table, ReadingCsvLine(table, timeText, serialNo, values));
        !failure.empty()) {
        report.failures.push_back(std::move(failure));
    }
    if (!writer_) {
        // The news is posted only while the store lives: a task that runs
        // later finds the sink gone.
        std::weak_ptr<Sink> weak = sink_;
        writer_ = std::make_unique<ReadingWriter>(
            folder_ + "/Data.db",
            [weak] {
                const auto sink = weak.lock();
                if (!sink) return;
                PostToGui post;
                {
                    std::lock_guard<std::mutex> lock(sink->mutex);
                    post = sink->post;
                }
                if (!post) return;
                post([weak] {
                    const auto alive = weak.lock();
                    if (!alive) return;
                    std::function<void()> show;
                    {
                        std::lock_guard<std::mutex> lock(alive->mutex);
                        show = alive->show;
                    }
                    if (show) show();
                });
            },
            giveUpAfter_);
    }
    QueuedReading reading;
    reading.table = table;
    // The row carries the PC's time of the reading, however late it is written.
    reading.recordTime = DateTimeToStr(Now());
    reading.serialNo = serialNo;
    reading.values = values;
    writer_->Queue(std::move(reading));

    StoreReport told = TakeDatabaseReport();
    report.failures.insert(report.failures.end(), told.failures.begin(), told.failures.end());
    report.logLines = std::move(told.logLines);
    return report;
}

StoreReport ReadingStore::TakeDatabaseReport() {
    StoreReport report;
    if (!writer_) return report;
    WriterReport told = writer_->TakeReport();
    report.failures = std::move(told.failures);
    report.logLines = std::move(told.logLines);
    return report;
}

bool ReadingStore::Drain(std::chrono::milliseconds timeout) { return !writer_ || writer_->Drain(timeout); }

size_t ReadingStore::Pending() const { return writer_ ? writer_->Pending() : 0; }

}  // namespace tarvel

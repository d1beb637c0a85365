#pragma once
// The readings database "DataAccess/Data.db": the tables NoModule,
// SingleModule and MoreModule, created when missing, with one prepared insert
// per table. Values are stored as the texts the telemetry grid shows.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Database.h"

namespace tarvel {

enum class ReadingTable { NoModule, SingleModule, MoreModule };

constexpr int kReadingValueCount = 37;  // PACK .. TotalDiscSOC
using ReadingValues = std::array<std::string, kReadingValueCount>;

const char* ReadingTableName(ReadingTable table);
bool ReadingTableHasSerial(ReadingTable table);
// PACK, BATT, V1..V16, I, T1..T8, Others .. TotalDiscSOC.
const std::array<const char*, kReadingValueCount>& ReadingValueColumns();
// "RecordTime", ["SerialNO",] then the value columns.
std::vector<std::string> ReadingColumns(ReadingTable table);

struct ReadingQueryResult {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

// The file is there but damaged: reported, and the file is left as it is.
class EDatabaseDamaged : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

class ReadingDatabase {
public:
    // AppPath("DataAccess/Data.db").
    static std::string DefaultPath();

    // Opens (or creates) the file, checks it, and creates the tables and
    // indexes it lacks; raises EDatabaseDamaged when the check finds damage,
    // EDatabaseError for any other failure. A statement waits up to
    // `busyTimeoutMs` for another connection's lock.
    explicit ReadingDatabase(const std::string& path, int busyTimeoutMs = 2000);

    // RecordTime is `recordTime` ("yyyy-mm-dd hh:nn:ss") or, without it, the
    // database's local time; `serialNo` is ignored for NoModule. Raises
    // EDatabaseError.
    void Insert(ReadingTable table, std::optional<std::string_view> recordTime, std::string_view serialNo,
                const ReadingValues& values);
    void Insert(ReadingTable table, std::string_view serialNo, const ReadingValues& values);

    // The stored serial numbers of a table, in order.
    std::vector<std::string> SerialNumbers(ReadingTable table);
    // Rows with RecordTime on the days `firstDay` to `lastDay` ("yyyy-mm-dd"),
    // of one serial number when given, ordered by `orderColumn` (a column
    // name of the table; anything else orders by RecordTime).
    ReadingQueryResult SelectDays(ReadingTable table, std::string_view firstDay, std::string_view lastDay,
                                  std::optional<std::string_view> serialNo, std::string_view orderColumn);
    // The same query bound and not yet run, for a reader that takes its rows
    // as it needs them.
    Statement PrepareSelectDays(ReadingTable table, std::string_view firstDay, std::string_view lastDay,
                                std::optional<std::string_view> serialNo, std::string_view orderColumn);
    // The same with only `columns` (names of the table; all when empty), for
    // a reader that needs a few of the 39.
    Statement PrepareSelectColumns(ReadingTable table, const std::vector<std::string>& columns,
                                   std::string_view firstDay, std::string_view lastDay,
                                   std::optional<std::string_view> serialNo, std::string_view orderColumn);
    int DeleteDays(ReadingTable table, std::string_view firstDay, std::string_view lastDay,
                   std::optional<std::string_view> serialNo);

    Database& Connection() { return db_; }

private:
    void CreateMissingSchema();
    Statement& InsertStatement(ReadingTable table);

    Database db_;
    std::array<std::optional<Statement>, 3> inserts_;
};

}  // namespace tarvel

#include "records/ReadingDatabase.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/base/Paths.h"

namespace tarvel {

namespace {

const std::array<const char*, kReadingValueCount> kValueColumns = {
    "PACK",      "BATT", "V1",        "V2",        "V3",          "V4",         "V5",   "V6",
    "V7",        "V8",   "V9",        "V10",       "V11",         "V12",        "V13",  "V14",
    "V15",       "V16",  "I",         "T1",        "T2",          "T3",         "T4",   "T5",
    "T6",        "T7",   "T8",        "Others",    "Alarm",       "Protection", "Fail", "Balance",
    "BattState", "SOC",  "SOCHealth", "DiscTimes", "TotalDiscSOC"};

std::string JoinColumns(ReadingTable table, const char* valueType) {
    std::string text = "RecordTime";
    if (valueType) text += " TEXT";
    if (ReadingTableHasSerial(table)) text += valueType ? ",SerialNO TEXT" : ",SerialNO";
    for (const char* column : kValueColumns) {
        text += ',';
        text += column;
        if (valueType) {
            text += ' ';
            text += valueType;
        }
    }
    return text;
}

}  // namespace

const char* ReadingTableName(ReadingTable table) {
    switch (table) {
        case ReadingTable::NoModule: return "NoModule";
        case ReadingTable::SingleModule: return "SingleModule";
        case ReadingTable::MoreModule: return "MoreModule";
    }
    return "NoModule";
}

bool ReadingTableHasSerial(ReadingTable table) { return table != ReadingTable::NoModule; }

const std::array<const char*, kReadingValueCount>& ReadingValueColumns() { return kValueColumns; }

std::vector<std::string> ReadingColumns(ReadingTable table) {
    std::vector<std::string> columns{"RecordTime"};
    if (ReadingTableHasSerial(table)) columns.emplace_back("SerialNO");
    columns.insert(columns.end(), kValueColumns.begin(), kValueColumns.end());
    return columns;
}

std::string ReadingDatabase::DefaultPath() { return AppPath("DataAccess/Data.db"); }

ReadingDatabase::ReadingDatabase(const std::string& path, int busyTimeoutMs) : db_(path) {
    // Another copy of the tool, or the sqlite3 shell, may hold the lock for a moment.
    db_.SetBusyTimeout(busyTimeoutMs);
    db_.Execute("PRAGMA journal_mode=WAL");
    // In WAL mode NORMAL keeps the file consistent and spares an fsync per reading.
    db_.Execute("PRAGMA synchronous=NORMAL");
    // The file is checked once here, before anything is written into it.
    if (const std::string damage = db_.QuickCheck(); !damage.empty())
        throw EDatabaseDamaged("the database file is damaged: " + damage);
    CreateMissingSchema();
}

// Only what is missing is created, so opening a complete file writes
// nothing and needs no write lock. An older file gains the indexes that
// date ranges and the serial-number list run over; its rows stay.
void ReadingDatabase::CreateMissingSchema() {
    // SQLite's names are the same in any case.
    const auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::set<std::string> present;
    {
        Statement names = db_.Prepare("SELECT name FROM sqlite_master WHERE type IN ('table','index')");
        while (names.Step()) present.insert(lower(names.ColumnText(0)));
    }
    const auto missing = [&](const std::string& name) { return !present.contains(lower(name)); };
    std::string sql;
    for (ReadingTable table :
         {ReadingTable::NoModule, ReadingTable::SingleModule, ReadingTable::MoreModule}) {
        const std::string name = ReadingTableName(table);
        if (missing(name)) sql += "CREATE TABLE " + name + "(" + JoinColumns(table, "INTEGER") + ");";
        if (missing(name + "_RecordTime"))
            sql += "CREATE INDEX " + name + "_RecordTime ON " + name + "(RecordTime);";
        // With the time second, one module's range is read in order from this index too.
        if (ReadingTableHasSerial(table) && missing(name + "_SerialNO"))
            sql += "CREATE INDEX " + name + "_SerialNO ON " + name + "(SerialNO,RecordTime);";
    }
    if (sql.empty()) return;
    db_.Execute("BEGIN IMMEDIATE");
    try {
        db_.Execute(sql);
        db_.Execute("COMMIT");
    } catch (const EDatabaseError&) {
        try {
            db_.Execute("ROLLBACK");
        } catch (const EDatabaseError&) {
        }
        throw;
    }
}

Statement& ReadingDatabase::InsertStatement(ReadingTable table) {
    auto& slot = inserts_[static_cast<size_t>(table)];
    if (!slot) {
        // The time is bound: a row written late still carries the time of its reading.
        std::string sql = std::string("INSERT INTO ") + ReadingTableName(table) + "(" +
                          JoinColumns(table, nullptr) + ") VALUES(coalesce(?,datetime('now','localtime'))";
        const int count = kReadingValueCount + (ReadingTableHasSerial(table) ? 1 : 0);
        for (int i = 0; i < count; ++i) sql += ",?";
        sql += ")";
        slot.emplace(db_.Prepare(sql));
    }
    return *slot;
}

void ReadingDatabase::Insert(ReadingTable table, std::string_view serialNo, const ReadingValues& values) {
    Insert(table, std::nullopt, serialNo, values);
}

void ReadingDatabase::Insert(ReadingTable table, std::optional<std::string_view> recordTime,
                             std::string_view serialNo, const ReadingValues& values) {
    Statement& insert = InsertStatement(table);
    if (recordTime)
        insert.BindText(1, *recordTime);
    else
        insert.BindNull(1);
    int index = 2;
    if (ReadingTableHasSerial(table)) insert.BindText(index++, serialNo);
    for (const std::string& value : values) insert.BindText(index++, value);
    insert.Run();
}

std::vector<std::string> ReadingDatabase::SerialNumbers(ReadingTable table) {
    std::vector<std::string> serials;
    if (!ReadingTableHasSerial(table)) return serials;
    // Each next number is one step down the index, not a pass over every
    // row: a month of readings holds millions of rows and a few dozen numbers.
    const std::string name = ReadingTableName(table);
    Statement hasNull = db_.Prepare("SELECT EXISTS(SELECT 1 FROM " + name + " WHERE SerialNO IS NULL)");
    if (hasNull.Step() && hasNull.ColumnInt64(0) != 0) serials.emplace_back();
    Statement select = db_.Prepare("WITH RECURSIVE s(n) AS (SELECT min(SerialNO) FROM " + name +
                                   " UNION ALL SELECT (SELECT min(SerialNO) FROM " + name +
                                   " WHERE SerialNO>s.n) FROM s WHERE s.n IS NOT NULL) "
                                   "SELECT n FROM s WHERE n IS NOT NULL");
    while (select.Step()) serials.push_back(select.ColumnText(0));
    return serials;
}

ReadingQueryResult ReadingDatabase::SelectDays(ReadingTable table, std::string_view firstDay,
                                               std::string_view lastDay,
                                               std::optional<std::string_view> serialNo,
                                               std::string_view orderColumn) {
    Statement select = PrepareSelectDays(table, firstDay, lastDay, serialNo, orderColumn);
    ReadingQueryResult result;
    for (int c = 0; c < select.ColumnCount(); ++c) result.columns.push_back(select.ColumnName(c));
    while (select.Step()) {
        auto& row = result.rows.emplace_back();
        for (int c = 0; c < select.ColumnCount(); ++c) row.push_back(select.ColumnText(c));
    }
    return result;
}

Statement ReadingDatabase::PrepareSelectDays(ReadingTable table, std::string_view firstDay,
                                             std::string_view lastDay,
                                             std::optional<std::string_view> serialNo,
                                             std::string_view orderColumn) {
    return PrepareSelectColumns(table, {}, firstDay, lastDay, serialNo, orderColumn);
}

Statement ReadingDatabase::PrepareSelectColumns(ReadingTable table, const std::vector<std::string>& columns,
                                                std::string_view firstDay, std::string_view lastDay,
                                                std::optional<std::string_view> serialNo,
                                                std::string_view orderColumn) {
    const std::vector<std::string> known = ReadingColumns(table);
    std::string order = "RecordTime";
    for (const std::string& column : known) {
        if (column == orderColumn) order = column;
    }
    // Only names of the table go into the statement.
    std::string list;
    for (const std::string& column : columns) {
        if (std::find(known.begin(), known.end(), column) == known.end())
            throw EDatabaseError("no such column: " + column);
        list += (list.empty() ? "" : ",") + column;
    }
    if (list.empty()) list = "*";
    std::string sql = "SELECT " + list + " FROM " + ReadingTableName(table) +
                      " WHERE RecordTime>=? AND RecordTime<date(?,'+1 day')";
    if (serialNo && ReadingTableHasSerial(table)) sql += " AND SerialNO=?";
    sql += " ORDER BY " + order;
    Statement select = db_.Prepare(sql);
    select.BindText(1, firstDay);
    select.BindText(2, lastDay);
    if (serialNo && ReadingTableHasSerial(table)) select.BindText(3, *serialNo);
    return select;
}

int ReadingDatabase::DeleteDays(ReadingTable table, std::string_view firstDay, std::string_view lastDay,
                                std::optional<std::string_view> serialNo) {
    std::string sql = std::string("DELETE FROM ") + ReadingTableName(table) +
                      " WHERE RecordTime>=? AND RecordTime<date(?,'+1 day')";
    if (serialNo && ReadingTableHasSerial(table)) sql += " AND SerialNO=?";
    Statement remove = db_.Prepare(sql);
    remove.BindText(1, firstDay);
    remove.BindText(2, lastDay);
    if (serialNo && ReadingTableHasSerial(table)) remove.BindText(3, *serialNo);
    remove.Run();
    Statement changes = db_.Prepare("SELECT changes()");
    changes.Step();
    return static_cast<int>(changes.ColumnInt64(0));
}

}  // namespace tarvel

#include "records/ReadingDatabase.h"

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

ReadingDatabase::ReadingDatabase(const std::string& path) : db_(path) {
    // Another copy of the tool, or the sqlite3 shell, may hold the lock for a moment.
    db_.SetBusyTimeout(2000);
    db_.Execute("PRAGMA journal_mode=WAL");
    // In WAL mode NORMAL keeps the file consistent and spares an fsync per reading.
    db_.Execute("PRAGMA synchronous=NORMAL");
    for (ReadingTable table :
         {ReadingTable::NoModule, ReadingTable::SingleModule, ReadingTable::MoreModule}) {
        db_.Execute(std::string("CREATE TABLE IF NOT EXISTS ") + ReadingTableName(table) + "(" +
                    JoinColumns(table, "INTEGER") + ")");
    }
    if (const std::string damage = db_.QuickCheck(); !damage.empty())
        throw EDatabaseDamaged("the database file is damaged: " + damage);
}

Statement& ReadingDatabase::InsertStatement(ReadingTable table) {
    auto& slot = inserts_[static_cast<size_t>(table)];
    if (!slot) {
        std::string sql = std::string("INSERT INTO ") + ReadingTableName(table) + "(" +
                          JoinColumns(table, nullptr) + ") VALUES(datetime('now','localtime')";
        const int count = kReadingValueCount + (ReadingTableHasSerial(table) ? 1 : 0);
        for (int i = 0; i < count; ++i) sql += ",?";
        sql += ")";
        slot.emplace(db_.Prepare(sql));
    }
    return *slot;
}

void ReadingDatabase::Insert(ReadingTable table, std::string_view serialNo, const ReadingValues& values) {
    Statement& insert = InsertStatement(table);
    int index = 1;
    if (ReadingTableHasSerial(table)) insert.BindText(index++, serialNo);
    for (const std::string& value : values) insert.BindText(index++, value);
    insert.Run();
}

std::vector<std::string> ReadingDatabase::SerialNumbers(ReadingTable table) {
    std::vector<std::string> serials;
    if (!ReadingTableHasSerial(table)) return serials;
    Statement select = db_.Prepare(std::string("SELECT SerialNO FROM ") + ReadingTableName(table) +
                                   " GROUP BY SerialNO ORDER BY SerialNO");
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
    std::string order = "RecordTime";
    for (const std::string& column : ReadingColumns(table)) {
        if (column == orderColumn) order = column;
    }
    std::string sql = std::string("SELECT * FROM ") + ReadingTableName(table) +
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

#include "platform/db/Database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <charconv>
#include <climits>
#include <string>

namespace tarvel {

namespace {

std::string ErrorText(sqlite3* db, int rc, const char* what) {
    std::string message = what;
    message += ": ";
    message += db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return message;
}

int CheckedLength(std::string_view text) {
    if (text.size() > static_cast<size_t>(INT_MAX)) throw EDatabaseError("text too long for the database");
    return static_cast<int>(text.size());
}

}  // namespace

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool EDatabaseError::Busy() const {
    const int primary = code_ & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void Statement::Check(int rc, const char* what) const {
    if (rc != SQLITE_OK) throw EDatabaseError(ErrorText(db_, rc, what), rc);
}

void Statement::BindText(int index, std::string_view text) {
    Check(sqlite3_bind_text(stmt_, index, text.data(), CheckedLength(text), SQLITE_TRANSIENT), "bind");
}

void Statement::BindInt64(int index, int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value), "bind");
}

void Statement::BindNull(int index) { Check(sqlite3_bind_null(stmt_, index), "bind"); }

bool Statement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const std::string message = ErrorText(db_, rc, "step");
    sqlite3_reset(stmt_);
    throw EDatabaseError(message, rc);
}

void Statement::Run() {
    try {
        while (Step()) {
        }
    } catch (...) {
        sqlite3_clear_bindings(stmt_);
        throw;
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

std::string Statement::ColumnText(int column) const {
    const auto* text = sqlite3_column_text(stmt_, column);
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

int64_t Statement::ColumnInt64(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::ColumnDouble(int column) const { return sqlite3_column_double(stmt_, column); }

std::string_view Statement::ColumnView(int column) const {
    const auto* text = sqlite3_column_text(stmt_, column);
    if (!text) return {};
    return {reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

void Statement::AppendColumnText(int column, std::string& to) const {
    // The connection is opened without SQLite's mutex (one thread at a time),
    // so the column's value may be read directly.
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL: return;
        case SQLITE_INTEGER: {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, sqlite3_value_int64(value)).ptr;
            to.append(digits, end);
            return;
        }
        default: {
            const auto* text = sqlite3_value_text(value);
            // Only a failed allocation gives no text for a value that is not NULL.
            if (!text) throw EDatabaseError(ErrorText(nullptr, SQLITE_NOMEM, "read"), SQLITE_NOMEM);
            to.append(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_value_bytes(value)));
        }
    }
}

bool Statement::ColumnNumberOrText(int column, double& number, std::string_view& text) const {
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        number = sqlite3_value_double(value);
        return true;
    }
    text = {};
    if (type == SQLITE_NULL) return false;
    const auto* chars = sqlite3_value_text(value);
    if (!chars) throw EDatabaseError(ErrorText(nullptr, SQLITE_NOMEM, "read"), SQLITE_NOMEM);
    text = {reinterpret_cast<const char*>(chars), static_cast<size_t>(sqlite3_value_bytes(value))};
    return false;
}

bool Statement::ColumnIsNumber(int column) const {
    const int type = sqlite3_column_type(stmt_, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

Database::Database(const std::string& path) : path_(path) {
    // A pipe or a device in the file's place would hold the first read for
    // ever; it is refused as a folder is.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw EDatabaseError(ErrorText(nullptr, SQLITE_CANTOPEN, "open"));
    // A connection is used by one thread at a time (the GUI thread, or the
    // database writer with its own), so SQLite need not lock it for every call.
    const int rc = sqlite3_open_v2(path.c_str(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = ErrorText(db_, rc, "open");
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDatabaseError(message, rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    // SQLite opens (or creates) the file at once: this is the file in use.
    if (::stat(path.c_str(), &st) == 0) {
        device_ = static_cast<uint64_t>(st.st_dev);
        inode_ = static_cast<uint64_t>(st.st_ino);
    }
}

bool Database::IsFileAtPath() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) return false;
    return static_cast<uint64_t>(st.st_dev) == device_ && static_cast<uint64_t>(st.st_ino) == inode_;
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::Execute(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = "execute: ";
        message += error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw EDatabaseError(message, rc);
    }
}

Statement Database::Prepare(std::string_view sql) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), CheckedLength(sql), &stmt, nullptr);
    if (rc != SQLITE_OK) throw EDatabaseError(ErrorText(db_, rc, "prepare"), rc);
    return Statement(db_, stmt);
}

void Database::SetBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

std::string Database::QuickCheck() {
    // A few findings say enough; a badly damaged file can list thousands.
    constexpr int kFindings = 3;
    try {
        Statement check = Prepare("PRAGMA quick_check(" + std::to_string(kFindings) + ")");
        std::string findings;
        while (check.Step()) {
            const std::string line = check.ColumnText(0);
            if (line == "ok") continue;
            if (!findings.empty()) findings += "; ";
            findings += line;
        }
        return findings;
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
}

}  // namespace tarvel

#pragma once
// A connection to one SQLite file, with prepared statements. Every failure
// raises EDatabaseError carrying SQLite's own message. A connection and its
// statements are used by one thread at a time.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Exceptions.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tarvel {

class EDatabaseError : public Exception {
public:
    explicit EDatabaseError(std::string message, int code = 0) : Exception(std::move(message)), code_(code) {}
    // SQLite's result code (0 when the failure is none of SQLite's own).
    int Code() const { return code_; }
    // Another connection holds the lock: trying again later may succeed.
    bool Busy() const;

private:
    int code_ = 0;
};

class Database;

// One prepared statement. Parameters are numbered from 1, columns from 0.
class Statement {
public:
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    void BindText(int index, std::string_view text);
    void BindInt64(int index, int64_t value);
    void BindNull(int index);
    // True while a row is available; false when the statement is done.
    bool Step();
    // Runs the statement to its end, then resets it and clears the bindings.
    void Run();
    void Reset();

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    std::string ColumnText(int column) const;  // "" for NULL
    int64_t ColumnInt64(int column) const;
    double ColumnDouble(int column) const;
    // The text of a column, valid until the next step; empty for NULL.
    std::string_view ColumnView(int column) const;
    // Appends the text of a column to `to` (nothing for NULL): the same text
    // as ColumnText, with one call into SQLite and integers written here
    // rather than through SQLite's heap.
    void AppendColumnText(int column, std::string& to) const;
    // A column's value with one call into SQLite: true with the number when
    // it is stored as one (integer or real), else false with its text (empty
    // for NULL), valid until the next step.
    bool ColumnNumberOrText(int column, double& number, std::string_view& text) const;
    // The value is stored as a number (integer or real), not as text or NULL.
    bool ColumnIsNumber(int column) const;

private:
    friend class Database;
    Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    void Check(int rc, const char* what) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    // Opens the file, creating it when missing (its folder must exist).
    explicit Database(const std::string& path);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // One or more statements without parameters.
    void Execute(std::string_view sql);
    Statement Prepare(std::string_view sql);
    // How long a statement waits for another connection's lock.
    void SetBusyTimeout(int milliseconds);
    // A quick integrity check of the file: "" when sound, else what is
    // damaged (SQLite's first findings, or the error that stopped the check).
    std::string QuickCheck();
    const std::string& Path() const { return path_; }
    // False once the file opened is no longer the one at the path: deleted,
    // renamed away, or replaced by another file.
    bool IsFileAtPath() const;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
    // The opened file's device and inode.
    uint64_t device_ = 0, inode_ = 0;
};

}  // namespace tarvel

#pragma once
// A connection to one SQLite file, with prepared statements. Every failure
// raises EDatabaseError carrying SQLite's own message.

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
    using Exception::Exception;
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

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

}  // namespace tarvel

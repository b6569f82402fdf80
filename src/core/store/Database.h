// A small RAII layer over SQLite: connections, prepared statements with bound
// parameters, typed reads and transactions. No value is ever pasted into SQL text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace xinghe::db {

// A database error; what() carries SQLite's own text and the statement that failed.
class Error : public std::runtime_error {
public:
    Error(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Stored truth values keep the established convention: true is -1, false is 0.
inline constexpr std::int64_t kTrue = -1;
inline constexpr std::int64_t kFalse = 0;

using Null = std::monostate;
// One stored value: NULL, integer, real or text (UTF-8).
using Value = std::variant<Null, std::int64_t, double, std::string>;

bool isNull(const Value& v);
// The text form of a value: "" for NULL, integers in decimal, reals in shortest form.
std::string toText(const Value& v);

class Connection;

// A prepared statement. Parameters are bound by 1-based index or by name (":Name").
// Columns are read by index or by name, the name matched without regard to case.
class Statement {
public:
    Statement(Connection& conn, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;

    Statement& bind(int index, const Value& v);
    Statement& bind(std::string_view name, const Value& v);
    Statement& bind(int index, const char* text) { return bind(index, Value{std::string(text)}); }
    Statement& bind(std::string_view name, const char* text) {
        return bind(name, Value{std::string(text)});
    }
    Statement& bind(int index, std::string_view text) {
        return bind(index, Value{std::string(text)});
    }
    Statement& bind(std::string_view name, std::string_view text) {
        return bind(name, Value{std::string(text)});
    }
    Statement& bind(int index, const std::string& text) { return bind(index, Value{text}); }
    Statement& bind(std::string_view name, const std::string& text) {
        return bind(name, Value{text});
    }
    Statement& bind(int index, int n) { return bind(index, Value{std::int64_t{n}}); }
    Statement& bind(std::string_view name, int n) { return bind(name, Value{std::int64_t{n}}); }
    Statement& bind(int index, std::int64_t n) { return bind(index, Value{n}); }
    Statement& bind(std::string_view name, std::int64_t n) { return bind(name, Value{n}); }
    Statement& bind(int index, double d) { return bind(index, Value{d}); }
    Statement& bind(std::string_view name, double d) { return bind(name, Value{d}); }

    // Advances to the next row; false when there is none.
    bool step();
    // Runs a statement that returns no rows.
    void exec();
    // Makes the statement ready to run again with new parameters.
    void reset();

    int columnCount() const;
    std::string columnName(int index) const;
    // Index of a column by name (case-insensitive); -1 when absent.
    int columnIndex(std::string_view name) const;

    Value value(int index) const;
    Value value(std::string_view name) const;
    std::string text(int index) const;
    std::string text(std::string_view name) const;
    std::optional<std::int64_t> integer(int index) const;
    std::optional<std::int64_t> integer(std::string_view name) const;
    std::optional<double> real(int index) const;
    std::optional<double> real(std::string_view name) const;
    bool isNull(int index) const;
    bool isNull(std::string_view name) const;

private:
    int requireColumn(std::string_view name) const;
    int requireParameter(std::string_view name) const;
    void check(int rc) const;

    Connection* conn_;
    sqlite3_stmt* stmt_ = nullptr;
};

// One open database file.
class Connection {
public:
    enum class Mode { ReadWriteCreate, ReadWrite, ReadOnly };

    explicit Connection(const std::filesystem::path& file, Mode mode = Mode::ReadWriteCreate);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs one or more statements that take no parameters (schema text, pragmas).
    void execScript(std::string_view sql);
    Statement prepare(std::string_view sql) { return Statement(*this, sql); }

    bool tableExists(std::string_view table);
    // Column names of a table in their stored order.
    std::vector<std::string> columns(std::string_view table);
    std::int64_t lastInsertRowId() const;
    int changes() const;

    const std::filesystem::path& file() const { return file_; }
    sqlite3* handle() const { return db_; }
    std::string lastError() const;

private:
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

// A transaction that rolls back unless committed. Nested use is allowed through
// savepoints, so a helper that opens its own transaction can run inside a caller's.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& conn_;
    std::string name_;
    bool done_ = false;
};

// Copies a live database into another file with SQLite's online backup API: the
// copy is consistent even while another connection writes to the source.
void backupDatabase(const std::filesystem::path& source, const std::filesystem::path& target);
void backupDatabase(Connection& source, const std::filesystem::path& target);

// True when the file is a readable SQLite database.
bool isDatabaseFile(const std::filesystem::path& file);

}  // namespace xinghe::db

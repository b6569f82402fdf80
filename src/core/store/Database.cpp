#include "core/store/Database.h"

#include "core/text/Ascii.h"

#include <sqlite3.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace xinghe::db {

namespace {

using text::equalsIgnoringCase;

}  // namespace

bool isNull(const Value& v) {
    return std::holds_alternative<Null>(v);
}

std::string toText(const Value& v) {
    if (std::holds_alternative<Null>(v)) return {};
    if (auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (auto* d = std::get_if<double>(&v)) {
        if (std::isfinite(*d) && *d == std::floor(*d) && std::fabs(*d) < 1e15) {
            return std::to_string(static_cast<std::int64_t>(*d));
        }
        char buf[64];
        // Shortest text that reads back to the same number.
        for (int precision = 1; precision <= 17; ++precision) {
            std::snprintf(buf, sizeof buf, "%.*g", precision, *d);
            if (std::strtod(buf, nullptr) == *d) break;
        }
        return buf;
    }
    return std::get<std::string>(v);
}

// ---- Statement ----

Statement::Statement(Connection& conn, std::string_view sql) : conn_(&conn) {
    int rc = sqlite3_prepare_v2(conn.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                                nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = conn.lastError() + " [" + std::string(sql) + "]";
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw Error(msg, rc);
    }
}

Statement::~Statement() {
    if (stmt_) sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : conn_(other.conn_), stmt_(other.stmt_) {
    other.stmt_ = nullptr;
}

void Statement::check(int rc) const {
    if (rc != SQLITE_OK) {
        const char* sql = sqlite3_sql(stmt_);
        throw Error(conn_->lastError() + " [" + (sql ? sql : "") + "]", rc);
    }
}

Statement& Statement::bind(int index, const Value& v) {
    int rc = SQLITE_OK;
    if (std::holds_alternative<Null>(v)) {
        rc = sqlite3_bind_null(stmt_, index);
    } else if (auto* i = std::get_if<std::int64_t>(&v)) {
        rc = sqlite3_bind_int64(stmt_, index, *i);
    } else if (auto* d = std::get_if<double>(&v)) {
        rc = sqlite3_bind_double(stmt_, index, *d);
    } else {
        const auto& s = std::get<std::string>(v);
        rc =
            sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    check(rc);
    return *this;
}

int Statement::requireParameter(std::string_view name) const {
    std::string key(name);
    if (key.empty() || (key[0] != ':' && key[0] != '@' && key[0] != '$')) key = ":" + key;
    // Parameter names match without regard to case, as column names do.
    int n = sqlite3_bind_parameter_count(stmt_);
    for (int i = 1; i <= n; ++i) {
        const char* p = sqlite3_bind_parameter_name(stmt_, i);
        if (p && equalsIgnoringCase(p, key)) return i;
    }
    throw Error("no parameter named " + key + " in [" + std::string(sqlite3_sql(stmt_)) + "]",
                SQLITE_RANGE);
}

Statement& Statement::bind(std::string_view name, const Value& v) {
    return bind(requireParameter(name), v);
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const char* sql = sqlite3_sql(stmt_);
    std::string msg = conn_->lastError() + " [" + (sql ? sql : "") + "]";
    sqlite3_reset(stmt_);
    throw Error(msg, rc);
}

void Statement::exec() {
    while (step()) {
    }
    sqlite3_reset(stmt_);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string Statement::columnName(int index) const {
    const char* n = sqlite3_column_name(stmt_, index);
    return n ? n : "";
}

int Statement::columnIndex(std::string_view name) const {
    int n = columnCount();
    for (int i = 0; i < n; ++i) {
        const char* c = sqlite3_column_name(stmt_, i);
        if (c && equalsIgnoringCase(c, name)) return i;
    }
    return -1;
}

int Statement::requireColumn(std::string_view name) const {
    int i = columnIndex(name);
    if (i < 0) throw Error("no column named " + std::string(name), SQLITE_RANGE);
    return i;
}

Value Statement::value(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
        case SQLITE_NULL:
            return Null{};
        case SQLITE_INTEGER:
            return std::int64_t{sqlite3_column_int64(stmt_, index)};
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt_, index);
        default: {
            auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
            int len = sqlite3_column_bytes(stmt_, index);
            return std::string(p ? p : "", static_cast<size_t>(len));
        }
    }
}

Value Statement::value(std::string_view name) const {
    return value(requireColumn(name));
}
std::string Statement::text(int index) const {
    return toText(value(index));
}
std::string Statement::text(std::string_view name) const {
    return text(requireColumn(name));
}

std::optional<std::int64_t> Statement::integer(int index) const {
    Value v = value(index);
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (auto* d = std::get_if<double>(&v)) return static_cast<std::int64_t>(std::llround(*d));
    if (auto* s = std::get_if<std::string>(&v)) {
        try {
            size_t pos = 0;
            long long n = std::stoll(*s, &pos);
            if (pos == s->size()) return n;
        } catch (...) {
        }
    }
    return std::nullopt;
}
std::optional<std::int64_t> Statement::integer(std::string_view name) const {
    return integer(requireColumn(name));
}

std::optional<double> Statement::real(int index) const {
    Value v = value(index);
    if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* s = std::get_if<std::string>(&v)) {
        try {
            size_t pos = 0;
            double d = std::stod(*s, &pos);
            if (pos == s->size()) return d;
        } catch (...) {
        }
    }
    return std::nullopt;
}
std::optional<double> Statement::real(std::string_view name) const {
    return real(requireColumn(name));
}

bool Statement::isNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}
bool Statement::isNull(std::string_view name) const {
    return isNull(requireColumn(name));
}

// ---- Connection ----

Connection::Connection(const std::filesystem::path& file, Mode mode) : file_(file) {
    int flags = SQLITE_OPEN_FULLMUTEX;
    switch (mode) {
        case Mode::ReadWriteCreate:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
        case Mode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case Mode::ReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
    }
    int rc = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = "cannot open database " + file.string() + ": " +
                          (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw Error(msg, rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    // Another connection (the import worker, a packaging copy) may hold a lock briefly.
    sqlite3_busy_timeout(db_, 10000);
    // Reading the header proves that the file is a database at all.
    try {
        execScript("PRAGMA schema_version;");
        if (mode != Mode::ReadOnly) {
            // Write-ahead logging lets the windows read while an import writes, and a
            // commit then needs no flush to disk of its own: a power cut may lose the
            // last documents, never the database.
            execScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
        }
    } catch (const Error& e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw Error("cannot open database " + file.string() + ": " + e.what(), e.code());
    }
}

Connection::~Connection() {
    if (db_) sqlite3_close_v2(db_);
}

std::string Connection::lastError() const {
    return db_ ? sqlite3_errmsg(db_) : "no database";
}

void Connection::execScript(std::string_view sql) {
    std::string text(sql);
    char* err = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throw Error(msg + " [" + text + "]", rc);
    }
}

bool Connection::tableExists(std::string_view table) {
    auto st = prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
    st.bind(1, table);
    return st.step();
}

std::vector<std::string> Connection::columns(std::string_view table) {
    std::vector<std::string> out;
    auto st = prepare("SELECT name FROM pragma_table_info(?1)");
    st.bind(1, table);
    while (st.step()) out.push_back(st.text(0));
    return out;
}

std::int64_t Connection::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}
int Connection::changes() const {
    return sqlite3_changes(db_);
}

// ---- Transaction ----

Transaction::Transaction(Connection& conn) : conn_(conn) {
    static std::atomic<unsigned> counter{0};
    name_ = "sp" + std::to_string(++counter);
    conn_.execScript("SAVEPOINT " + name_);
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        conn_.execScript("ROLLBACK TO " + name_ + "; RELEASE " + name_);
    } catch (...) {
        // Nothing more can be done from a destructor; the connection reports the error next time.
    }
}

void Transaction::commit() {
    conn_.execScript("RELEASE " + name_);
    done_ = true;
}

// ---- Backup ----

void backupDatabase(Connection& source, const std::filesystem::path& target) {
    sqlite3* dest = nullptr;
    int rc =
        sqlite3_open_v2(target.c_str(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = "cannot open " + target.string() + ": " +
                          (dest ? sqlite3_errmsg(dest) : sqlite3_errstr(rc));
        sqlite3_close(dest);
        throw Error(msg, rc);
    }
    sqlite3_busy_timeout(dest, 10000);
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source.handle(), "main");
    if (!b) {
        std::string msg = std::string("cannot copy database: ") + sqlite3_errmsg(dest);
        sqlite3_close(dest);
        throw Error(msg, sqlite3_errcode(dest));
    }
    // Copy everything in one step: the copy is a snapshot of one moment even while
    // another connection keeps writing to the source.
    do {
        rc = sqlite3_backup_step(b, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(20);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(b);
    int finalRc = sqlite3_errcode(dest);
    std::string msg = sqlite3_errmsg(dest);
    sqlite3_close(dest);
    if (rc != SQLITE_DONE) {
        throw Error("cannot copy database to " + target.string() + ": " +
                        (finalRc != SQLITE_OK ? msg : std::string(sqlite3_errstr(rc))),
                    rc);
    }
}

void backupDatabase(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (!std::filesystem::exists(source)) {
        throw Error("database file missing: " + source.string(), SQLITE_CANTOPEN);
    }
    Connection src(source, Connection::Mode::ReadOnly);
    backupDatabase(src, target);
}

bool isDatabaseFile(const std::filesystem::path& file) {
    try {
        Connection c(file, Connection::Mode::ReadOnly);
        return true;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace xinghe::db

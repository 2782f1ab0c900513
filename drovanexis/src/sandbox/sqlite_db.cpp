#include "sandbox/sqlite_db.h"

#include <limits>

namespace drovanexis::sandbox {

namespace {

// How long a connection waits for another process's write lock.
constexpr int kBusyTimeoutMs = 30000;
// Idle compiled statements kept per connection: more than the sandbox's
// distinct statements, few enough to stay small.
constexpr std::size_t kMaxIdleStatements = 64;

int as_length(std::string_view bytes, const SqliteDb& db) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    db.fail("value too large to store");
  }
  return static_cast<int>(bytes.size());
}

}  // namespace

SqliteDb::SqliteDb(const std::filesystem::path& file) : file_(file) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StateError(file.string() + ": cannot open the sandbox state file: " + message);
  }
  // A damaged file ("file is not a database") fails here, after the open
  // succeeded: the destructor does not run for a constructor that throws, so
  // the connection (and its descriptor) is closed before the error leaves.
  try {
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=FULL");
    exec("PRAGMA foreign_keys=ON");
  } catch (...) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw;
  }
}

// close_v2 closes once the last statement is finalized, so that no path can
// leave the connection open.
SqliteDb::~SqliteDb() {
  for (const auto& [sql, statement] : idle_) sqlite3_finalize(statement);
  sqlite3_close_v2(db_);
}

sqlite3_stmt* SqliteDb::acquire(std::string_view sql) {
  {
    std::lock_guard lock(idle_mutex_);
    for (auto it = idle_.rbegin(); it != idle_.rend(); ++it) {
      if (it->first == sql) {
        sqlite3_stmt* statement = it->second;
        idle_.erase(std::next(it).base());
        return statement;
      }
    }
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), as_length(sql, *this), &statement, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(statement);
    fail("cannot prepare a statement");
  }
  return statement;
}

void SqliteDb::release(std::string sql, sqlite3_stmt* statement) noexcept {
  if (statement == nullptr) return;
  // Reset ends the statement's read of the file, so that an idle statement
  // holds no lock; the values bound (a whole stamped XML) are let go.
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  try {
    std::lock_guard lock(idle_mutex_);
    if (idle_.size() == kMaxIdleStatements) {
      sqlite3_finalize(idle_.front().second);
      idle_.erase(idle_.begin());
    }
    idle_.emplace_back(std::move(sql), statement);
  } catch (...) {
    sqlite3_finalize(statement);  // no memory to keep it: compiled again next time
  }
}

void SqliteDb::exec(std::string_view sql) {
  Statement statement(*this, sql);
  while (statement.step()) {
  }
}

void SqliteDb::exec_script(const std::string& sql) {
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    fail("cannot update the schema");
  }
}

void SqliteDb::fail(std::string_view what) const {
  throw StateError(file_.string() + ": " + std::string(what) + ": " + sqlite3_errmsg(db_));
}

Statement::Statement(SqliteDb& db, std::string_view sql)
    : db_(db), sql_(sql), stmt_(db.acquire(sql_)) {}

Statement::~Statement() { db_.release(std::move(sql_), stmt_); }

void Statement::check(int rc, std::string_view what) const {
  if (rc != SQLITE_OK) db_.fail(what);
}

Statement& Statement::bind(int index, std::string_view text) {
  check(sqlite3_bind_text(stmt_, index, text.data(), as_length(text, db_), SQLITE_TRANSIENT),
        "cannot bind a value");
  return *this;
}

Statement& Statement::bind_blob(int index, std::string_view bytes) {
  check(sqlite3_bind_blob(stmt_, index, bytes.data(), as_length(bytes, db_), SQLITE_TRANSIENT),
        "cannot bind a value");
  return *this;
}

Statement& Statement::bind(int index, std::int64_t number) {
  check(sqlite3_bind_int64(stmt_, index, number), "cannot bind a value");
  return *this;
}

Statement& Statement::bind_null(int index) {
  check(sqlite3_bind_null(stmt_, index), "cannot bind a value");
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.fail("statement failed");
}

void Statement::run() {
  while (step()) {
  }
}

std::string Statement::text(int column) const {
  const void* bytes = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (bytes == nullptr) return {};
  return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

bool Statement::is_null(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Transaction::Transaction(SqliteDb& db) : db_(db), owner_(sqlite3_get_autocommit(db.handle()) != 0) {
  if (owner_) db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (owner_ && open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
  if (owner_) db_.exec("COMMIT");
  open_ = false;
}

}  // namespace drovanexis::sandbox

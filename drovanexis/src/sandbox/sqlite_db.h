#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace drovanexis::sandbox {

// A failure of the sandbox's state file; the text names the file and what
// SQLite reported.
class StateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SqliteDb;

// A prepared statement. Parameters are numbered from 1, columns from 0. The
// compiled statement comes from the connection's cache when the same text
// was run before, and goes back to it, reset, when this object ends.
class Statement {
 public:
  Statement(SqliteDb& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, std::string_view text);
  Statement& bind_blob(int index, std::string_view bytes);
  Statement& bind(int index, std::int64_t number);
  Statement& bind_null(int index);

  // Advances to the next row; false when there are no more.
  bool step();
  // Runs a statement that returns no rows.
  void run();

  std::string text(int column) const;
  std::int64_t integer(int column) const;
  bool is_null(int column) const;

 private:
  void check(int rc, std::string_view what) const;

  SqliteDb& db_;
  std::string sql_;  // the text may be a temporary of the caller's
  sqlite3_stmt* stmt_ = nullptr;
};

// One connection to a state file, with the settings every connection of the
// sandbox uses: write-ahead log (readers never block the writer), a busy
// timeout so that a second process waits for the first instead of failing,
// and foreign keys.
class SqliteDb {
 public:
  explicit SqliteDb(const std::filesystem::path& file);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // Runs one statement, discarding any rows it returns.
  void exec(std::string_view sql);
  // Runs several statements separated by ";".
  void exec_script(const std::string& sql);
  sqlite3* handle() const { return db_; }
  const std::filesystem::path& file() const { return file_; }

  // "<file>: <what>: <SQLite message>"
  [[noreturn]] void fail(std::string_view what) const;

  // A compiled statement for the text: an idle one from this connection's
  // cache, else a newly prepared one. Throws StateError.
  sqlite3_stmt* acquire(std::string_view sql);
  // Takes back a statement from acquire(): reset, its values cleared, and
  // kept for the next use of the same text while the cache has room.
  void release(std::string sql, sqlite3_stmt* statement) noexcept;

 private:
  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
  // Compiling a statement costs more than running most of ours; each text a
  // connection runs is compiled once and reused. Most recently used last;
  // bounded, so that generated texts cannot make it grow.
  std::mutex idle_mutex_;
  std::vector<std::pair<std::string, sqlite3_stmt*>> idle_;
};

// BEGIN IMMEDIATE … COMMIT; rolled back when left without commit(). An
// immediate transaction takes the write lock at once, so two processes that
// read the balance and then write it cannot interleave. Inside a transaction
// already open on the connection it joins that one: the outer one commits.
class Transaction {
 public:
  explicit Transaction(SqliteDb& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();

 private:
  SqliteDb& db_;
  bool owner_;
  bool open_ = true;
};

}  // namespace drovanexis::sandbox

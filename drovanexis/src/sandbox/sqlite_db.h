#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace drovanexis::sandbox {

// A failure of the sandbox's state file; the text names the file and what
// SQLite reported.
class StateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SqliteDb;

// A prepared statement. Parameters are numbered from 1, columns from 0.
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

 private:
  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
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

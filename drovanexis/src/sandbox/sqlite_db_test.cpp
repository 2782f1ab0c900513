#include "sandbox/sqlite_db.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "portable/test_folder.h"

namespace drovanexis::sandbox {
namespace {

std::optional<std::string> text_of(SqliteDb& db, std::string_view sql) {
  Statement statement(db, sql);
  if (!statement.step()) return std::nullopt;
  return statement.is_null(0) ? std::string("NULL") : statement.text(0);
}

// Statements are kept compiled and reused: a reused one must start afresh,
// with no value left bound from its last use and no row still being read.
class ReusedStatements : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.emplace("state.db");
    db_->exec("CREATE TABLE t (k TEXT PRIMARY KEY, v TEXT)");
  }
  portable::TestFolder folder_;
  std::optional<SqliteDb> db_;
};

TEST_F(ReusedStatements, ValuesBoundBeforeAreNotReused) {
  constexpr const char* kInsert = "INSERT INTO t (k, v) VALUES (?, ?)";
  Statement(*db_, kInsert).bind(1, "a").bind(2, "uno").run();
  Statement(*db_, kInsert).bind(1, "b").run();  // v left unbound: NULL
  EXPECT_EQ(text_of(*db_, "SELECT v FROM t WHERE k = 'a'"), "uno");
  EXPECT_EQ(text_of(*db_, "SELECT v FROM t WHERE k = 'b'"), "NULL");
}

TEST_F(ReusedStatements, AFailedRunDoesNotSpoilTheNext) {
  constexpr const char* kInsert = "INSERT INTO t (k, v) VALUES (?, ?)";
  Statement(*db_, kInsert).bind(1, "a").bind(2, "uno").run();
  EXPECT_THROW(Statement(*db_, kInsert).bind(1, "a").bind(2, "otra").run(), StateError);
  Statement(*db_, kInsert).bind(1, "b").bind(2, "dos").run();
  EXPECT_EQ(text_of(*db_, "SELECT COUNT(*) FROM t"), "2");
}

// A statement left after its first row must not keep its connection on the
// file as it was then: another connection's later write is seen.
TEST_F(ReusedStatements, AStatementLeftMidwayHoldsNoOldView) {
  db_->exec("PRAGMA journal_mode=WAL");
  Statement(*db_, "INSERT INTO t (k, v) VALUES ('a', '1'), ('b', '2')").run();
  {
    Statement rows(*db_, "SELECT v FROM t ORDER BY k");
    ASSERT_TRUE(rows.step());
  }
  SqliteDb other("state.db");
  Statement(other, "UPDATE t SET v = '9' WHERE k = 'a'").run();
  EXPECT_EQ(text_of(*db_, "SELECT v FROM t WHERE k = 'a'"), "9");
  Statement rows(*db_, "SELECT v FROM t ORDER BY k");
  ASSERT_TRUE(rows.step());
  EXPECT_EQ(rows.text(0), "9");
}

// A text built for one call (a temporary) is reused and finished safely,
// and many distinct texts neither fail nor stop reuse of the first.
TEST_F(ReusedStatements, ManyDistinctTextsStillRun) {
  for (int i = 0; i < 200; ++i) {
    Statement(*db_, "INSERT INTO t (k, v) VALUES ('k" + std::to_string(i) + "', ?)")
        .bind(1, std::to_string(i))
        .run();
  }
  EXPECT_EQ(text_of(*db_, "SELECT COUNT(*) FROM t"), "200");
  EXPECT_EQ(text_of(*db_, "SELECT v FROM t WHERE k = 'k123'"), "123");
}

}  // namespace
}  // namespace drovanexis::sandbox

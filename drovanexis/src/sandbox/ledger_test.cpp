#include "sandbox/ledger.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "issue/provider_codes.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/state_file.h"
#include "sandbox/uuid.h"

namespace drovanexis::sandbox {
namespace {

LedgerEntry entry_for(const std::string& account) {
  LedgerEntry entry;
  entry.uuid = new_uuid();
  entry.account = account;
  entry.issuer_rfc = "CACX7605101P8";
  entry.receiver_rfc = "VDN020304QX7";
  entry.total = "1102.00";
  entry.document_type = "I";
  entry.stamped_xml = "<x/>";
  return entry;
}

std::int64_t ledger_rows(SqliteDb& db) {
  Statement count(db, "SELECT COUNT(*) FROM ledger");
  count.step();
  return count.integer(0);
}

TEST(Ledger, StampTakesOneFromBalanceAndNumbersOperations) {
  portable::TestFolder folder;
  auto db = open_state("state.db");
  store_account(*db, "acct", "pw", 2);
  const auto first = record_stamp(*db, entry_for("acct"));
  const auto second = record_stamp(*db, entry_for("acct"));
  EXPECT_EQ(first.balance_left, 1);
  EXPECT_EQ(second.balance_left, 0);
  EXPECT_EQ(second.operation_number, first.operation_number + 1);
  EXPECT_EQ(account_balance(*db, "acct"), 0);
}

TEST(Ledger, ZeroBalanceRefusedAndNothingRecorded) {
  portable::TestFolder folder;
  auto db = open_state("state.db");
  store_account(*db, "empty", "pw", 0);
  try {
    record_stamp(*db, entry_for("empty"));
    FAIL() << "expected a refusal";
  } catch (const StampRefused& refusal) {
    EXPECT_EQ(refusal.code(), kCodeNoStampsLeft);
  }
  EXPECT_EQ(ledger_rows(*db), 0);
  EXPECT_EQ(account_balance(*db, "empty"), 0);
}

TEST(Ledger, UnknownAccountRefused) {
  portable::TestFolder folder;
  auto db = open_state("state.db");
  try {
    record_stamp(*db, entry_for("nobody"));
    FAIL() << "expected a refusal";
  } catch (const StampRefused& refusal) {
    EXPECT_EQ(refusal.code(), kCodeBadCredentials);
  }
}

TEST(Ledger, DuplicateUuidLeavesBalanceUntouched) {
  portable::TestFolder folder;
  auto db = open_state("state.db");
  store_account(*db, "acct", "pw", 5);
  LedgerEntry entry = entry_for("acct");
  record_stamp(*db, entry);
  EXPECT_THROW(record_stamp(*db, entry), StateError);
  EXPECT_EQ(account_balance(*db, "acct"), 4);
  EXPECT_EQ(ledger_rows(*db), 1);
}

TEST(Accounts, PasswordCheckedUnlessAccountAcceptsAny) {
  portable::TestFolder folder;
  auto db = open_state("state.db");
  store_account(*db, "strict", "right", 1);
  store_account(*db, "open", std::nullopt, 1);
  EXPECT_TRUE(authenticate(*db, "strict", "right"));
  EXPECT_FALSE(authenticate(*db, "strict", "wrong"));
  EXPECT_TRUE(authenticate(*db, "open", "anything"));
  EXPECT_FALSE(authenticate(*db, "missing", "right"));
}

TEST(Uuid, UpperCaseVersionFourAndDistinct) {
  const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::string uuid = new_uuid();
    EXPECT_TRUE(std::regex_match(uuid, form)) << uuid;
    seen.insert(uuid);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace drovanexis::sandbox

// The sandbox's batch of stamps: a group is recorded in one transaction
// with its files written before it commits; an input is stamped once per
// account, whoever asks; what cannot be delivered costs nothing.
#include "sandbox/stamp_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "issue/provider_codes.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/stamp_sources.h"
#include "sandbox/state_schema.h"

namespace drovanexis::sandbox {
namespace {

using namespace sandbox::testing;

// Remembers what it was asked to write; fails the write of one item, or the
// flush, when told to.
class RecordingDelivery final : public BatchDelivery {
 public:
  std::vector<std::string> written;  // uuids, in order
  int flushes = 0;
  std::string fail_write_of;  // an input name
  bool fail_flush = false;

  bool write(const BatchItem& item) override {
    if (item.source.input_name == fail_write_of) return false;
    written.push_back(item.uuid);
    return true;
  }
  bool flush() override {
    ++flushes;
    return !fail_flush;
  }
};

PreparedStamp prepared(const std::string& uuid) {
  PreparedStamp stamp;
  stamp.uuid = uuid;
  stamp.fecha_timbrado = "2026-12-01T10:00:00";
  stamp.stamped_xml = "<cfdi:Comprobante UUID=\"" + uuid + "\"/>";
  stamp.issuer_rfc = "CACX7605101P8";
  stamp.receiver_rfc = "XAXX010101000";
  stamp.total = "1.00";
  stamp.document_type = "I";
  stamp.fecha = "2026-12-01T09:00:00";
  return stamp;
}

BatchItem item(const std::string& input, const std::string& uuid) {
  BatchItem item;
  item.source = {"/in/" + input, "sha-of-" + input};
  if (!uuid.empty()) item.prepared = prepared(uuid);
  return item;
}

std::string uuid(int n) {
  char text[37];
  std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012d", n);
  return text;
}

class StampBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prepare_working_folder();
    provider_.emplace(SandboxProvider::open("Drovanexis.db"));
    store_account(provider_->db(), "lote", "clave", 3);
  }

  std::unique_ptr<StampBatch> open() {
    return provider_->open_batch("lote", "clave", [](const Element&) { return std::string(); });
  }
  std::int64_t rows() {
    Statement count(provider_->db(), "SELECT COUNT(*) FROM stamp_sources WHERE account = 'lote'");
    count.step();
    return count.integer(0);
  }

  portable::TestFolder folder_;
  std::optional<SandboxProvider> provider_;
};

TEST_F(StampBatchTest, AWrongSecretOpensNoBatch) {
  try {
    provider_->open_batch("lote", "otra", {});
    FAIL() << "opened";
  } catch (const ProviderRefusal& refusal) {
    EXPECT_EQ(refusal.failures().front().code, std::to_string(kCodeBadCredentials));
  }
}

// New inputs are stamped while the balance lasts; one input given twice in
// a group, or again later, or to another batch (another process), gets the
// stamp recorded first, for nothing.
TEST_F(StampBatchTest, EachInputIsStampedOnceWhileTheBalanceLasts) {
  auto batch = open();
  std::vector<BatchItem> group{item("a.xml", uuid(1)), item("b.xml", uuid(2)),
                               item("a.xml", uuid(3)), item("c.xml", uuid(4)),
                               item("d.xml", uuid(5))};
  RecordingDelivery delivery;
  batch->commit(group, delivery);
  EXPECT_EQ(group[0].outcome, BatchOutcome::kStamped);
  EXPECT_EQ(group[1].outcome, BatchOutcome::kStamped);
  EXPECT_EQ(group[2].outcome, BatchOutcome::kRecovered);
  EXPECT_EQ(group[2].uuid, uuid(1));
  EXPECT_EQ(group[2].stamped_xml, prepared(uuid(1)).stamped_xml);
  EXPECT_EQ(group[3].outcome, BatchOutcome::kStamped);
  EXPECT_EQ(group[4].outcome, BatchOutcome::kRefused);
  EXPECT_EQ(group[4].code, kCodeNoStampsLeft);
  EXPECT_EQ(delivery.written, (std::vector<std::string>{uuid(1), uuid(2), uuid(1), uuid(4)}));
  EXPECT_EQ(delivery.flushes, 1);
  EXPECT_EQ(batch->balance(), 0);
  EXPECT_EQ(rows(), 3);

  // Another batch on its own connections, as another process would be.
  auto other = open();
  ASSERT_TRUE(other->recorded(group[1].source));
  EXPECT_EQ(other->recorded(group[1].source)->uuid, uuid(2));
  std::vector<BatchItem> again{item("b.xml", uuid(6)), item("c.xml", "")};
  RecordingDelivery second;
  other->commit(again, second);
  EXPECT_EQ(again[0].outcome, BatchOutcome::kRecovered);
  EXPECT_EQ(again[0].uuid, uuid(2));
  EXPECT_EQ(again[1].outcome, BatchOutcome::kRecovered);
  EXPECT_EQ(again[1].uuid, uuid(4));
  EXPECT_EQ(rows(), 3);
  EXPECT_FALSE(find_ledger_entry(provider_->db(), uuid(6)));
}

// A document whose file cannot be written is not recorded; a flush that
// fails records nothing of the group.
TEST_F(StampBatchTest, WhatCannotBeDeliveredCostsNothing) {
  auto batch = open();
  std::vector<BatchItem> group{item("a.xml", uuid(1)), item("b.xml", uuid(2))};
  RecordingDelivery failing_write;
  failing_write.fail_write_of = "/in/b.xml";
  batch->commit(group, failing_write);
  EXPECT_EQ(group[0].outcome, BatchOutcome::kStamped);
  EXPECT_EQ(group[1].outcome, BatchOutcome::kNotDelivered);
  EXPECT_EQ(rows(), 1);
  EXPECT_EQ(batch->balance(), 2);

  std::vector<BatchItem> next{item("b.xml", uuid(3)), item("c.xml", uuid(4))};
  RecordingDelivery failing_flush;
  failing_flush.fail_flush = true;
  batch->commit(next, failing_flush);
  EXPECT_EQ(next[0].outcome, BatchOutcome::kNotDelivered);
  EXPECT_EQ(next[1].outcome, BatchOutcome::kNotDelivered);
  EXPECT_EQ(rows(), 1);
  EXPECT_EQ(batch->balance(), 2);
  EXPECT_FALSE(find_ledger_entry(provider_->db(), uuid(3)));
}

// The ledger itself refuses a second source row for one input and account.
TEST_F(StampBatchTest, TheLedgerHoldsOneStampPerInputAndAccount) {
  const StampSource source{"/in/a.xml", "sha"};
  for (const std::string& id : {uuid(1), uuid(2)}) {
    LedgerEntry entry = ledger_entry_for(prepared(id), "lote", "<x/>");
    record_stamp(provider_->db(), entry);
  }
  record_stamp_source(provider_->db(), uuid(1), "lote", source);
  EXPECT_THROW(record_stamp_source(provider_->db(), uuid(2), "lote", source), StateError);
  // Another account may stamp the same file.
  store_account(provider_->db(), "otra", "x", 1);
  record_stamp(provider_->db(), ledger_entry_for(prepared(uuid(3)), "otra", "<x/>"));
  EXPECT_NO_THROW(record_stamp_source(provider_->db(), uuid(3), "otra", source));
}

// A state file written before sources named their account, where an input
// was stamped twice: the latest stamp stays its source.
TEST(StampSourcesUpgrade, DuplicatesOfEarlierRunsKeepTheLatestStamp) {
  portable::TestFolder folder;
  auto db = std::make_unique<SqliteDb>("old.db");
  // The tables the upgrade reads, as an earlier release left them.
  db->exec_script(
      "CREATE TABLE accounts (user TEXT PRIMARY KEY, any_password INTEGER NOT NULL DEFAULT 0, "
      "password_hash TEXT, balance INTEGER NOT NULL);"
      "CREATE TABLE ledger (uuid TEXT PRIMARY KEY COLLATE NOCASE, operation_number INTEGER NOT "
      "NULL UNIQUE, account TEXT, issuer_rfc TEXT NOT NULL, receiver_rfc TEXT NOT NULL, total "
      "TEXT NOT NULL, document_type TEXT NOT NULL, fecha TEXT NOT NULL, fecha_timbrado TEXT NOT "
      "NULL, stamped_xml BLOB NOT NULL, status TEXT NOT NULL DEFAULT 'Vigente');"
      "CREATE TABLE stamp_sources (uuid TEXT PRIMARY KEY COLLATE NOCASE REFERENCES ledger (uuid), "
      "input_name TEXT NOT NULL, input_sha256 TEXT NOT NULL);"
      "INSERT INTO ledger VALUES ('u-1', 1000001, 'demo', 'A', 'B', '1', 'I', 'f', 't', 'x1', "
      "'Vigente');"
      "INSERT INTO ledger VALUES ('u-2', 1000002, 'demo', 'A', 'B', '1', 'I', 'f', 't', 'x2', "
      "'Vigente');"
      "INSERT INTO stamp_sources VALUES ('u-1', '/in/a.xml', 'sha');"
      "INSERT INTO stamp_sources VALUES ('u-2', '/in/a.xml', 'sha');");
  db->exec("PRAGMA user_version = 3");
  // Only the step this file needs: the later ones change tables it lacks.
  migrate_state_to(*db, 4);
  const auto found = find_stamp_by_source(*db, "demo", {"/in/a.xml", "sha"});
  ASSERT_TRUE(found);
  EXPECT_EQ(found->uuid, "u-2");
  EXPECT_EQ(found->stamped_xml, "x2");
  EXPECT_TRUE(find_ledger_entry(*db, "u-1")) << "the earlier stamp stays in the ledger";
  EXPECT_THROW(record_stamp_source(*db, "u-1", "demo", {"/in/a.xml", "sha"}), StateError);
}

}  // namespace
}  // namespace drovanexis::sandbox

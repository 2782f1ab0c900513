#include "sandbox/stamp_batch.h"

#include <map>
#include <utility>

#include "issue/provider_codes.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/stamp_sources.h"

namespace drovanexis::sandbox {

namespace {

bool to_deliver(const BatchItem& item) {
  return item.outcome == BatchOutcome::kStamped || item.outcome == BatchOutcome::kRecovered;
}

void refuse(BatchItem& item, int code, std::string_view detail) {
  item.outcome = BatchOutcome::kRefused;
  item.code = code;
  item.message = std::string(describe_provider_code(code));
  if (!detail.empty()) item.message += ": " + std::string(detail);
  item.uuid.clear();
  item.stamped_xml.clear();
}

}  // namespace

SandboxBatch::SandboxBatch(SandboxProvider provider, std::string user, XmlSerializer serialize)
    : provider_(std::move(provider)),
      user_(std::move(user)),
      serialize_(std::move(serialize)),
      reader_(std::make_unique<SqliteDb>(provider_.db().file())) {
  // Look-ups go to random places of an index that grows with every stamp: a
  // small page cache keeps this connection's memory from growing with it
  // (the system's file cache still holds the pages).
  reader_->exec("PRAGMA cache_size = -128");
}

std::optional<RecordedStamp> SandboxBatch::recorded(const StampSource& source) {
  try {
    std::lock_guard lock(reader_mutex_);
    return find_stamp_by_source(*reader_, user_, source);
  } catch (const StateError& error) {
    throw ProviderUnavailable(error.what());
  }
}

PreparedStamp SandboxBatch::prepare(Element& comprobante) {
  provider_.check_stampable(comprobante);
  return provider_.sign_stamp(comprobante, serialize_);
}

std::int64_t SandboxBatch::balance() {
  try {
    std::lock_guard lock(reader_mutex_);
    return account_balance(*reader_, user_).value_or(0);
  } catch (const StateError& error) {
    throw ProviderUnavailable(error.what());
  }
}

void SandboxBatch::decide(std::span<BatchItem> group) {
  SqliteDb& db = provider_.db();
  std::int64_t left = account_balance(db, user_).value_or(0);
  // The inputs this group stamps, so that one given twice is stamped once.
  std::map<std::pair<std::string, std::string>, const BatchItem*> stamped;
  for (BatchItem& item : group) {
    const auto key = std::make_pair(item.source.input_name, item.source.input_sha256);
    if (const auto earlier = stamped.find(key); earlier != stamped.end()) {
      item.outcome = BatchOutcome::kRecovered;
      item.uuid = earlier->second->uuid;
      item.stamped_xml = earlier->second->stamped_xml;
    } else if (auto recorded = find_stamp_by_source(db, user_, item.source)) {
      item.outcome = BatchOutcome::kRecovered;
      item.uuid = std::move(recorded->uuid);
      item.stamped_xml = std::move(recorded->stamped_xml);
    } else if (!item.prepared) {
      refuse(item, kCodeInternalError, "no stamp is recorded for " + item.source.input_name);
    } else if (left <= 0) {
      refuse(item, kCodeNoStampsLeft, "cuenta " + user_);
    } else {
      --left;
      item.outcome = BatchOutcome::kStamped;
      item.uuid = item.prepared->uuid;
      item.stamped_xml = std::move(item.prepared->stamped_xml);
      stamped.emplace(key, &item);
    }
  }
}

void SandboxBatch::record(std::span<BatchItem> group) {
  SqliteDb& db = provider_.db();
  for (BatchItem& item : group) {
    if (item.outcome != BatchOutcome::kStamped) continue;
    record_stamp(db, ledger_entry_for(*item.prepared, user_, item.stamped_xml));
    record_stamp_source(db, item.uuid, user_, item.source);
  }
}

void SandboxBatch::commit(std::span<BatchItem> group, BatchDelivery& delivery) {
  try {
    // The write lock is taken first: the look-ups, the files and the rows
    // of the group are one step for every process that stamps on this file.
    Transaction transaction(provider_.db());
    decide(group);
    bool written = false;
    for (BatchItem& item : group) {
      if (!to_deliver(item)) continue;
      if (delivery.write(item)) {
        written = true;
      } else {
        item.outcome = BatchOutcome::kNotDelivered;
      }
    }
    if (written && !delivery.flush()) {
      for (BatchItem& item : group) {
        if (to_deliver(item)) item.outcome = BatchOutcome::kNotDelivered;
      }
      return;  // nothing recorded: the transaction is undone
    }
    record(group);
    transaction.commit();
  } catch (const StampRefused& refusal) {
    throw ProviderUnavailable(refusal.what());
  } catch (const StateError& error) {
    throw ProviderUnavailable(error.what());
  }
}

}  // namespace drovanexis::sandbox

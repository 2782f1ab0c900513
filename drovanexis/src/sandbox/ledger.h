#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "issue/provider.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// One stamped document as the provider remembers it.
struct LedgerEntry {
  std::string uuid;
  std::int64_t operation_number = 0;  // assigned when recorded
  std::string account;
  std::string issuer_rfc;
  std::string receiver_rfc;
  std::string total;
  std::string document_type;  // TipoDeComprobante
  std::string fecha;
  std::string fecha_timbrado;
  std::string stamped_xml;
  std::string status = "Vigente";
};

// The entry that records a prepared stamp for the account.
LedgerEntry ledger_entry_for(const PreparedStamp& stamp, std::string account,
                             std::string stamped_xml);

// The provider refused to take a stamp from the account.
class StampRefused : public std::runtime_error {
 public:
  StampRefused(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

struct StampReceipt {
  std::int64_t operation_number = 0;
  std::int64_t balance_left = 0;
};

// Takes one stamp from the account and records the entry, both in one
// immediate transaction: either the ledger holds the document and the
// balance is one lower, or neither changed. The operation number is the next
// one after the highest recorded, which the write lock makes unique across
// processes. before_commit runs inside the transaction once the row is
// written: a throw from it rolls the row and the balance back and propagates.
// Throws StampRefused (no stamps left) or StateError.
StampReceipt record_stamp(SqliteDb& db, LedgerEntry entry,
                          const std::function<void()>& before_commit = {});

// Records an entry without touching any balance (sample documents); assigns
// and returns its operation number.
std::int64_t insert_ledger_entry(SqliteDb& db, const LedgerEntry& entry);

std::optional<LedgerEntry> find_ledger_entry(SqliteDb& db, std::string_view uuid);

}  // namespace drovanexis::sandbox

#include "sandbox/ledger.h"

#include "issue/provider_codes.h"
#include "sandbox/accounts.h"

namespace drovanexis::sandbox {

namespace {

// Operation numbers start here, so that they read like a provider's folio.
constexpr std::int64_t kFirstOperationNumber = 1000001;

std::int64_t next_operation_number(SqliteDb& db) {
  Statement statement(db, "SELECT MAX(operation_number) FROM ledger");
  statement.step();
  return statement.is_null(0) ? kFirstOperationNumber : statement.integer(0) + 1;
}

std::int64_t insert_row(SqliteDb& db, const LedgerEntry& entry) {
  const std::int64_t number = next_operation_number(db);
  Statement(db,
            "INSERT INTO ledger (uuid, operation_number, account, issuer_rfc, receiver_rfc, "
            "total, document_type, fecha, fecha_timbrado, stamped_xml, status) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
      .bind(1, entry.uuid)
      .bind(2, number)
      .bind(3, entry.account)
      .bind(4, entry.issuer_rfc)
      .bind(5, entry.receiver_rfc)
      .bind(6, entry.total)
      .bind(7, entry.document_type)
      .bind(8, entry.fecha)
      .bind(9, entry.fecha_timbrado)
      .bind_blob(10, entry.stamped_xml)
      .bind(11, entry.status)
      .run();
  return number;
}

[[noreturn]] void refuse(int code) {
  throw StampRefused(code, std::string(describe_provider_code(code)));
}

}  // namespace

LedgerEntry ledger_entry_for(const PreparedStamp& stamp, std::string account,
                             std::string stamped_xml) {
  LedgerEntry entry;
  entry.uuid = stamp.uuid;
  entry.account = std::move(account);
  entry.issuer_rfc = stamp.issuer_rfc;
  entry.receiver_rfc = stamp.receiver_rfc;
  entry.total = stamp.total;
  entry.document_type = stamp.document_type;
  entry.fecha = stamp.fecha;
  entry.fecha_timbrado = stamp.fecha_timbrado;
  entry.stamped_xml = std::move(stamped_xml);
  return entry;
}

StampReceipt record_stamp(SqliteDb& db, LedgerEntry entry,
                          const std::function<void()>& before_commit) {
  Transaction transaction(db);
  const auto left = account_balance(db, entry.account);
  if (!left) refuse(kCodeBadCredentials);
  if (*left <= 0) refuse(kCodeNoStampsLeft);
  StampReceipt receipt;
  receipt.operation_number = insert_row(db, entry);
  Statement(db, "UPDATE accounts SET balance = balance - 1 WHERE user = ?")
      .bind(1, entry.account)
      .run();
  receipt.balance_left = *left - 1;
  // A throw here rolls the row and the balance back with the transaction.
  if (before_commit) before_commit();
  transaction.commit();
  return receipt;
}

std::int64_t insert_ledger_entry(SqliteDb& db, const LedgerEntry& entry) {
  Transaction transaction(db);
  const std::int64_t number = insert_row(db, entry);
  transaction.commit();
  return number;
}

std::optional<LedgerEntry> find_ledger_entry(SqliteDb& db, std::string_view uuid) {
  Statement statement(db,
                      "SELECT uuid, operation_number, account, issuer_rfc, receiver_rfc, total, "
                      "document_type, fecha, fecha_timbrado, stamped_xml, status "
                      "FROM ledger WHERE uuid = ?");
  statement.bind(1, uuid);
  if (!statement.step()) return std::nullopt;
  LedgerEntry entry;
  entry.uuid = statement.text(0);
  entry.operation_number = statement.integer(1);
  entry.account = statement.text(2);
  entry.issuer_rfc = statement.text(3);
  entry.receiver_rfc = statement.text(4);
  entry.total = statement.text(5);
  entry.document_type = statement.text(6);
  entry.fecha = statement.text(7);
  entry.fecha_timbrado = statement.text(8);
  entry.stamped_xml = statement.text(9);
  entry.status = statement.text(10);
  return entry;
}

}  // namespace drovanexis::sandbox

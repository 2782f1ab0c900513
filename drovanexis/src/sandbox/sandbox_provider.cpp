#include "sandbox/sandbox_provider.h"

#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/mexico_time.h"
#include "sandbox/provider_codes.h"
#include "sandbox/provider_key_cache.h"
#include "sandbox/provider_store.h"
#include "sandbox/state_file.h"
#include "sandbox/uuid.h"

namespace drovanexis::sandbox {

namespace {

std::string attribute_or_empty(const Element* element, std::string_view name) {
  if (element == nullptr) return {};
  const std::string* value = element->attribute(name);
  return value ? *value : std::string();
}

LedgerEntry ledger_entry_for(const Element& comprobante, const StampFields& stamp,
                             const std::string& user, std::string stamped_xml) {
  LedgerEntry entry;
  entry.uuid = stamp.uuid;
  entry.account = user;
  entry.issuer_rfc = attribute_or_empty(comprobante.child("cfdi:Emisor"), "Rfc");
  entry.receiver_rfc = attribute_or_empty(comprobante.child("cfdi:Receptor"), "Rfc");
  entry.total = attribute_or_empty(&comprobante, "Total");
  entry.document_type = attribute_or_empty(&comprobante, "TipoDeComprobante");
  entry.fecha = attribute_or_empty(&comprobante, "Fecha");
  entry.fecha_timbrado = stamp.fecha_timbrado;
  entry.stamped_xml = std::move(stamped_xml);
  return entry;
}

[[noreturn]] void refuse(int code) {
  throw StampRefused(code, std::string(describe_provider_code(code)));
}

}  // namespace

SandboxProvider::SandboxProvider(std::unique_ptr<SqliteDb> db,
                                 std::unique_ptr<ProviderSigner> signer, std::string provider_name,
                                 Certificate authority)
    : db_(std::move(db)),
      signer_(std::move(signer)),
      provider_name_(std::move(provider_name)),
      authority_(std::move(authority)) {}

SandboxProvider SandboxProvider::open(const std::filesystem::path& state_file) {
  auto db = open_existing_state(state_file);
  const auto provider = load_provider(*db);
  const auto authority = load_authority(*db);
  if (!provider || !authority) {
    throw StateError(state_file.string() +
                     ": the sandbox state file holds no provider or authority certificate "
                     "(create it with \"drovanexis-sandbox init\")");
  }
  const std::string source = state_file.string();
  auto signer = std::make_unique<ProviderSigner>(ProviderSigner{
      provider->rfc,
      Certificate::from_bytes(provider->credentials.certificate_der, source + " (provider)"),
      open_provider_key(state_file, provider->credentials.key_der,
                        provider->credentials.key_password, source + " (provider)")});
  return SandboxProvider(
      std::move(db), std::move(signer), provider->name,
      Certificate::from_bytes(authority->certificate_der, source + " (authority)"));
}

StampResult SandboxProvider::stamp(Element& comprobante, const std::string& user,
                                   const std::string& password, const XmlSerializer& serialize) {
  if (!authenticate(*db_, user, password)) refuse(kCodeBadCredentials);
  // Checked again inside the transaction; this spares the signature when the
  // account is already empty.
  if (account_balance(*db_, user).value_or(0) <= 0) refuse(kCodeNoStampsLeft);
  try {
    return stamp_and_record(comprobante, user, serialize);
  } catch (...) {
    remove_stamp(comprobante);
    throw;
  }
}

StampResult SandboxProvider::stamp_and_record(Element& comprobante, const std::string& user,
                                              const XmlSerializer& serialize) {
  StampResult result;
  result.stamp = add_stamp(comprobante, *signer_, new_uuid(), mexico_now());
  result.stamped_xml = serialize(comprobante);
  const StampReceipt receipt =
      record_stamp(*db_, ledger_entry_for(comprobante, result.stamp, user, result.stamped_xml));
  result.operation_number = receipt.operation_number;
  result.balance_left = receipt.balance_left;
  result.provider_rfc = signer_->rfc;
  result.provider_name = provider_name_;
  return result;
}

}  // namespace drovanexis::sandbox

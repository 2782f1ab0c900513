#include "sandbox/sandbox_provider.h"

#include <chrono>
#include <ctime>

#include "cadena/cadena.h"
#include "crypto/base64.h"
#include "crypto/seal.h"
#include "crypto/signature.h"
#include "issue/provider_codes.h"
#include "sandbox/accounts.h"
#include "sandbox/acknowledgement.h"
#include "sandbox/cancellation.h"
#include "sandbox/download_store.h"
#include "sandbox/ledger.h"
#include "sandbox/provider_key_cache.h"
#include "sandbox/provider_store.h"
#include "sandbox/stamp_batch.h"
#include "sandbox/state_file.h"
#include "sandbox/status_query.h"
#include "sandbox/uuid.h"
#include "time/central_mexico.h"
#include "validate/validation.h"

namespace drovanexis::sandbox {

namespace {

std::string attribute_or_empty(const Element* element, std::string_view name) {
  if (element == nullptr) return {};
  const std::string* value = element->attribute(name);
  return value ? *value : std::string();
}

[[noreturn]] void refuse(int code) {
  throw StampRefused(code, std::string(describe_provider_code(code)));
}

// The central Mexico wall clock of an instant, as validation compares dates.
LocalDateTime mexico_local(std::time_t utc_seconds) {
  return central_mexico::local_time(std::chrono::system_clock::from_time_t(utc_seconds));
}

// The certificate the document was sealed with, as its Certificado carries
// it; nullopt when there is none that can be read.
std::optional<Certificate> sealing_certificate(const Element& comprobante) {
  const std::string* certificado = comprobante.attribute("Certificado");
  if (certificado == nullptr) return std::nullopt;
  const auto der = base64_decode(*certificado);
  if (!der) return std::nullopt;
  try {
    return Certificate::from_bytes(*der, "Certificado");
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// A document of a version whose business rules are not all checked (CFDI
// 4.0: the rules of its complements are missing) is not known to be
// stampable: it is refused rather than stamped on a partial judgement.
void refuse_unless_rules_checked(const Element& comprobante) {
  const CfdiVersion version = cfdi_version(comprobante);  // validated: known and consistent
  if (checks_business_rules(version)) return;
  throw ProviderRefusal(
      {Failure{"301", "cfdi:Comprobante", "Version",
               "El proveedor todavía no timbra CFDI " + std::string(version_text(version)) +
                   ": no se verifican aún las reglas de negocio de todos sus "
                   "complementos."}});
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

ValidationContext SandboxProvider::validation_context(const Element& comprobante) const {
  return validation_context(comprobante, std::time(nullptr));
}

ValidationContext SandboxProvider::validation_context(const Element& comprobante,
                                                      std::time_t at) const {
  ValidationContext context;
  if (const auto certificate = sealing_certificate(comprobante)) {
    context.certificate.rfc = certificate->rfc();
    context.certificate.is_csd = certificate->is_csd();
    context.certificate.issued_by_authority = certificate->issued_by(authority_);
    context.certificate.not_before = mexico_local(certificate->valid_from());
    context.certificate.not_after = mexico_local(certificate->valid_until());
  }
  context.seal_verified = seal_verifies(comprobante);
  context.now = mexico_local(at);
  return context;
}

void SandboxProvider::check_stampable(const Element& comprobante) const {
  auto failures = validate_document(comprobante, validation_context(comprobante));
  if (!failures.empty()) throw ProviderRefusal(std::move(failures));
  refuse_unless_rules_checked(comprobante);
}

StampResult SandboxProvider::stamp(const StampRequest& request) {
  check_stampable(request.comprobante);
  if (request.report) request.report("Validación: el comprobante cumple todas las reglas");
  try {
    return stamp_validated(request.comprobante, request.user, request.password, request.serialize,
                           request.deliver);
  } catch (const StampRefused& refusal) {
    throw ProviderRefusal(refusal.code(), "cuenta " + request.user);
  } catch (const StateError& error) {
    throw ProviderRefusal(kCodeStateUnavailable, error.what());
  }
}

std::int64_t SandboxProvider::balance(const std::string& user, const std::string& password) {
  try {
    if (!authenticate(*db_, user, password)) refuse(kCodeBadCredentials);
    return account_balance(*db_, user).value_or(0);
  } catch (const StampRefused& refusal) {
    throw ProviderRefusal(refusal.code(), "cuenta " + user);
  } catch (const StateError& error) {
    throw ProviderRefusal(kCodeStateUnavailable, error.what());
  }
}

std::int64_t SandboxProvider::stamps_used(const std::string& user) {
  try {
    Statement statement(*db_, "SELECT COUNT(*) FROM ledger WHERE account = ?");
    statement.bind(1, user);
    statement.step();
    return statement.integer(0);
  } catch (const StateError& error) {
    throw ProviderRefusal(kCodeStateUnavailable, error.what());
  }
}

StampResult SandboxProvider::stamp_validated(Element& comprobante, const std::string& user,
                                             const std::string& password,
                                             const XmlSerializer& serialize,
                                             const Delivery& deliver) {
  if (!authenticate(*db_, user, password)) refuse(kCodeBadCredentials);
  // Checked again inside the transaction; this spares the signature when the
  // account is already empty.
  if (account_balance(*db_, user).value_or(0) <= 0) refuse(kCodeNoStampsLeft);
  try {
    return stamp_and_record(comprobante, user, serialize, deliver);
  } catch (...) {
    remove_stamp(comprobante);
    throw;
  }
}

PreparedStamp SandboxProvider::sign_stamp(Element& comprobante, const XmlSerializer& serialize,
                                          StampFields* fields) const {
  StampFields stamp = add_stamp(comprobante, *signer_, new_uuid(),
                                central_mexico::format(std::chrono::system_clock::now()));
  PreparedStamp prepared;
  prepared.uuid = stamp.uuid;
  prepared.fecha_timbrado = stamp.fecha_timbrado;
  prepared.issuer_rfc = attribute_or_empty(comprobante.child("cfdi:Emisor"), "Rfc");
  prepared.receiver_rfc = attribute_or_empty(comprobante.child("cfdi:Receptor"), "Rfc");
  prepared.total = attribute_or_empty(&comprobante, "Total");
  prepared.document_type = attribute_or_empty(&comprobante, "TipoDeComprobante");
  prepared.fecha = attribute_or_empty(&comprobante, "Fecha");
  prepared.stamped_xml = serialize(comprobante);
  if (fields != nullptr) *fields = std::move(stamp);
  return prepared;
}

StampResult SandboxProvider::stamp_and_record(Element& comprobante, const std::string& user,
                                              const XmlSerializer& serialize,
                                              const Delivery& deliver) {
  StampResult result;
  PreparedStamp prepared = sign_stamp(comprobante, serialize, &result.stamp);
  result.stamped_xml = prepared.stamped_xml;
  const StampReceipt receipt =
      record_stamp(*db_, ledger_entry_for(prepared, user, std::move(prepared.stamped_xml)), [&] {
        if (deliver) deliver(result.stamped_xml);
      });
  result.operation_number = receipt.operation_number;
  result.balance_left = receipt.balance_left;
  result.provider_rfc = signer_->rfc;
  result.provider_name = provider_name_;
  return result;
}

std::vector<Failure> SandboxProvider::check_rules(Element comprobante, std::time_t at) {
  remove_stamp(comprobante);
  return validate_document(comprobante, validation_context(comprobante, at));
}

bool SandboxProvider::stamp_seal_verifies(const Element& timbre) {
  const std::string* number = timbre.attribute("NoCertificadoSAT");
  const std::string* sello = timbre.attribute("SelloSAT");
  if (number == nullptr || sello == nullptr) return false;
  if (*number != signer_->certificate.number()) return false;
  try {
    return verify_sha256_base64(signer_->certificate, cadena_tfd11(timbre), *sello);
  } catch (const std::exception&) {
    return false;
  }
}

namespace {

// Runs one bulk download operation; a state file failure becomes the
// service's internal error.
template <typename Fn>
auto download_operation(Fn&& fn) {
  try {
    return fn();
  } catch (const StateError& error) {
    throw DownloadRefusal("404", error.what());
  }
}

}  // namespace

std::string SandboxProvider::request_download(const DownloadRequest& request, std::time_t now) {
  return download_operation([&] {
    return file_download_request(*db_, request, std::chrono::system_clock::from_time_t(now));
  });
}

DownloadVerification SandboxProvider::verify_download(const std::string& rfc,
                                                      const std::string& request_id) {
  return download_operation([&] { return verify_download_request(*db_, rfc, request_id); });
}

DownloadPackage SandboxProvider::download_package(const std::string& rfc,
                                                  const std::string& package_id) {
  return download_operation([&] { return build_download_package(*db_, rfc, package_id); });
}

CancellationAnswer SandboxProvider::cancel(const CancellationRequest& request) {
  return cancel_cfdi(*db_, authority_, request);
}

StatusAnswer SandboxProvider::status(const StatusRequest& request) {
  return query_status(*db_, request);
}

std::optional<Acknowledgement> SandboxProvider::acknowledgement(
    const AcknowledgementRequest& request) {
  return retrieve_acknowledgement(*db_, request);
}

std::optional<CfdiDescription> SandboxProvider::recorded_cfdi(const std::string& uuid) {
  const auto entry = find_ledger_entry(*db_, uuid);
  if (!entry) return std::nullopt;
  return CfdiDescription{entry->uuid, entry->issuer_rfc, entry->receiver_rfc, entry->total};
}

std::unique_ptr<StampBatch> SandboxProvider::open_batch(const std::string& user,
                                                        const std::string& password,
                                                        XmlSerializer serialize) {
  try {
    if (!authenticate(*db_, user, password)) refuse(kCodeBadCredentials);
    return std::make_unique<SandboxBatch>(SandboxProvider::open(db_->file()), user,
                                          std::move(serialize));
  } catch (const StampRefused& refusal) {
    throw ProviderRefusal(refusal.code(), "cuenta " + user);
  } catch (const StateError& error) {
    throw ProviderUnavailable(error.what());
  }
}

}  // namespace drovanexis::sandbox

#include "sandbox/processing.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "cadena/cadena.h"
#include "crypto/crypto_error.h"
#include "crypto/seal.h"
#include "document/output_rules.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"
#include "sandbox/element_copy.h"
#include "sandbox/external_document.h"
#include "sandbox/ledger.h"
#include "sandbox/mexico_time.h"
#include "sandbox/processing_failure.h"
#include "sandbox/processing_log.h"
#include "sandbox/provider_codes.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/state_file.h"
#include "time/central_mexico.h"
#include "xml/xml_writer.h"

namespace drovanexis {

namespace {

using sandbox::ProcessingFailure;

constexpr const char* kRoot = "cfdi:Comprobante";

[[noreturn]] void fail(int code, std::string node, std::string attribute,
                       const std::string& detail) {
  std::string explanation(sandbox::describe_provider_code(code));
  if (!detail.empty()) explanation += ": " + detail;
  throw ProcessingFailure(std::to_string(code), std::move(node), std::move(attribute),
                          std::move(explanation));
}

// The central Mexico wall clock of an instant, as validation compares dates.
LocalDateTime mexico_local(std::time_t utc_seconds) {
  return central_mexico::local_time(std::chrono::system_clock::from_time_t(utc_seconds));
}

std::string mexico_text(std::time_t utc_seconds) {
  return sandbox::format_mexico_time(sandbox::Clock::from_time_t(utc_seconds));
}

std::string attribute_text(const Element& element, std::string_view name) {
  const std::string* value = element.attribute(name);
  return value ? *value : std::string();
}

// One run of the pipeline over one document. Each step logs what it did or
// throws ProcessingFailure.
class Pipeline {
 public:
  Pipeline(Document& document, std::string_view certificate_file, std::string_view key_file,
           std::string_view key_password, std::string_view output_file, sandbox::ProcessingLog& log)
      : document_(document),
        root_(document.complete_xml ? Element("cfdi:Comprobante")
                                    : sandbox::copy_element(document.root)),
        certificate_file_(certificate_file),
        key_file_(key_file),
        key_password_(key_password),
        output_file_(output_file),
        log_(log) {}

  void run() {
    check_output_target();
    read_external_xml();
    prepare_for_sealing(root_, sandbox::mexico_now());
    load_credentials();
    seal_document();
    open_provider();
    validate();
    stamp();
    write_output();
    fill_values();
    // From now on the document is the stamped tree, external or not, so that
    // processing it again is refused as already stamped (307).
    document_.root = std::move(root_);
    document_.complete_xml.reset();
  }

 private:
  // Refuses, before any stamp is taken, an output name that cannot be
  // written: empty, in a folder that does not exist, or naming a folder.
  void check_output_target() const {
    if (output_file_.empty()) {
      fail(sandbox::kCodeOutputNotWritten, "", "", "no se indicó el nombre del archivo");
    }
    const std::filesystem::path target = portable::resolve_path(output_file_);
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
      fail(sandbox::kCodeOutputNotWritten, "", "",
           output_file_ + ": la carpeta " + folder.string() + " no existe");
    }
    if (std::filesystem::is_directory(target, ec)) {
      fail(sandbox::kCodeOutputNotWritten, "", "", output_file_ + " es una carpeta");
    }
  }

  void read_external_xml() {
    if (!document_.complete_xml) return;
    root_ = sandbox::read_external_document(*document_.complete_xml);
    log_.step("XML externo leído (" + std::to_string(document_.complete_xml->size()) + " bytes)");
  }

  void load_credentials() {
    try {
      certificate_.emplace(Certificate::load(certificate_file_));
    } catch (const CryptoError& error) {
      fail(sandbox::kCodeCertificateUnreadable, kRoot, "Certificado", error.what());
    }
    log_.step("Certificado leído: " + certificate_file_ + " (No. " + certificate_->number() +
              ", RFC " + certificate_->rfc() + ", vigencia " +
              mexico_text(certificate_->valid_from()) + " a " +
              mexico_text(certificate_->valid_until()) + ")");
    try {
      key_.emplace(PrivateKey::load(key_file_, key_password_));
    } catch (const CryptoError& error) {
      fail(error.code() == CryptoErrorCode::kWrongPassword ? sandbox::kCodeWrongKeyPassword
                                                           : sandbox::kCodeKeyUnreadable,
           kRoot, "Sello", error.what());
    }
    log_.step("Llave privada leída: " + key_file_);
  }

  void seal_document() {
    try {
      seal(root_, *certificate_, *key_);
    } catch (const CryptoError& error) {
      fail(error.code() == CryptoErrorCode::kKeyMismatch ? sandbox::kCodeKeyDoesNotMatch
                                                         : sandbox::kCodeCertificateUnreadable,
           kRoot, "Sello", error.what());
    }
    log_.step("Sello generado con el certificado " + attribute_text(root_, "NoCertificado") +
              " (Fecha " + attribute_text(root_, "Fecha") + ")");
  }

  void open_provider() {
    const auto state_file = sandbox::default_state_path();
    try {
      provider_.emplace(sandbox::SandboxProvider::open(state_file));
    } catch (const std::exception& error) {
      fail(sandbox::kCodeStateUnavailable, "", "", error.what());
    }
  }

  ValidationContext validation_context() const {
    ValidationContext context;
    context.certificate.rfc = certificate_->rfc();
    context.certificate.is_csd = certificate_->is_csd();
    context.certificate.issued_by_authority = certificate_->issued_by(provider_->authority());
    context.certificate.not_before = mexico_local(certificate_->valid_from());
    context.certificate.not_after = mexico_local(certificate_->valid_until());
    context.seal_verified = seal_verifies(root_);
    context.now = mexico_local(std::time(nullptr));
    return context;
  }

  void validate() {
    auto failures = validate_document(root_, validation_context());
    if (!failures.empty()) throw ProcessingFailure(std::move(failures));
    log_.step("Validación: el comprobante cumple todas las reglas");
  }

  void stamp() {
    try {
      stamped_.emplace(provider_->stamp(root_, document_.service_user, document_.service_password,
                                        [](const Element& root) { return write_xml(root); }));
    } catch (const sandbox::StampRefused& refusal) {
      fail(refusal.code(), "", "", "cuenta " + document_.service_user);
    } catch (const sandbox::StateError& error) {
      fail(sandbox::kCodeStateUnavailable, "", "", error.what());
    }
    log_.step("Timbre: UUID " + stamped_->stamp.uuid + ", FechaTimbrado " +
              stamped_->stamp.fecha_timbrado + ", operación " +
              std::to_string(stamped_->operation_number) + ", timbres disponibles " +
              std::to_string(stamped_->balance_left));
  }

  // The stamp is already in the ledger: if the file cannot be written the
  // document is not lost, and the log names its UUID.
  void write_output() {
    try {
      portable::write_file_atomic(output_file_, stamped_->stamped_xml);
    } catch (const std::exception& error) {
      fail(sandbox::kCodeOutputNotWritten, "", "",
           std::string(error.what()) + " (el documento quedó timbrado con UUID " +
               stamped_->stamp.uuid + " y registrado por el proveedor)");
    }
    log_.step("Archivo escrito: " + portable::resolve_path(output_file_).string());
  }

  void fill_values() {
    auto& values = document_.values;
    const sandbox::StampFields& stamp = stamped_->stamp;
    values[1] = "0";
    values[2] = "";
    values[3] = attribute_text(root_, "NoCertificado");
    values[4] = stamp.sello_sat;
    values[5] = cadena_cfdi33(root_);
    values[6] = stamp.no_certificado_sat;
    values[7] = attribute_text(root_, "Sello");
    values[8] = stamp.original_string;
    values[9] = stamp.uuid;
    values[10] = stamp.fecha_timbrado;
    values[11] = mexico_text(certificate_->valid_from());
    values[12] = mexico_text(certificate_->valid_until());
    values[13] = std::to_string(stamped_->operation_number);
    values[14] = std::to_string(stamped_->balance_left);
    values[15] = DROVANEXIS_VERSION;
    values[16] = attribute_text(root_, "Fecha");
    values[17] = "";
    values[18] = stamped_->provider_rfc + " - " + stamped_->provider_name;
  }

  Document& document_;
  // The tree being processed: a copy of the document's, or the external XML
  // read; it replaces the document's tree only when processing succeeds.
  Element root_;
  std::string certificate_file_;
  std::string key_file_;
  std::string key_password_;
  std::string output_file_;
  sandbox::ProcessingLog& log_;
  std::optional<Certificate> certificate_;
  std::optional<PrivateKey> key_;
  std::optional<sandbox::SandboxProvider> provider_;
  std::optional<sandbox::StampResult> stamped_;
};

void report_failure(Document& document, const ProcessingFailure& failure,
                    sandbox::ProcessingLog& log) {
  for (const auto& item : failure.failures()) {
    log.error(item.code, item.node, item.attribute, item.explanation);
  }
  document.values.fill("");
  document.values[1] = failure.code();
  document.values[2] = failure.code() + ": " + failure.description();
  log.result(failure.result_number(), failure.failures().size());
}

std::string document_label(std::string_view output_file, const Document& document) {
  return std::string(output_file) +
         (document.complete_xml ? " (XML externo)" : " (comprobante construido)");
}

}  // namespace

int process_document(Document& document, std::string_view certificate_file,
                     std::string_view key_file, std::string_view key_password,
                     std::string_view output_file) noexcept {
  try {
    document.values.fill("");
    sandbox::ProcessingLog log(sandbox::mexico_now(), DROVANEXIS_VERSION,
                               document_label(output_file, document));
    int result = 0;
    try {
      Pipeline(document, certificate_file, key_file, key_password, output_file, log).run();
      log.result(0);
    } catch (const ProcessingFailure& failure) {
      report_failure(document, failure, log);
      result = failure.result_number();
    } catch (const std::exception& error) {
      const ProcessingFailure failure(
          std::to_string(sandbox::kCodeInternalError), "", "",
          std::string(sandbox::describe_provider_code(sandbox::kCodeInternalError)) + ": " +
              error.what());
      report_failure(document, failure, log);
      result = failure.result_number();
    }
    log.write(kProcessingLogFile);
    return result;
  } catch (...) {
    return sandbox::kCodeInternalError;
  }
}

int report_missing_document(std::int32_t handle, std::string_view output_file) noexcept {
  try {
    sandbox::ProcessingLog log(
        sandbox::mexico_now(), DROVANEXIS_VERSION,
        std::string(output_file) + " (documento " + std::to_string(handle) + ")");
    log.error(std::to_string(sandbox::kCodeNoDocument), "", "",
              std::string(sandbox::describe_provider_code(sandbox::kCodeNoDocument)) +
                  ": el identificador " + std::to_string(handle) +
                  " no corresponde a ningún documento (no se creó o ya se liberó).");
    log.result(sandbox::kCodeNoDocument, 1);
    log.write(kProcessingLogFile);
  } catch (...) {
  }
  return sandbox::kCodeNoDocument;
}

}  // namespace drovanexis

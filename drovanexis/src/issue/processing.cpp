#include "issue/processing.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "cadena/cadena.h"
#include "crypto/crypto_error.h"
#include "crypto/seal.h"
#include "document/output_rules.h"
#include "issue/csd_key_cache.h"
#include "issue/element_copy.h"
#include "issue/external_document.h"
#include "issue/output_guard.h"
#include "issue/processing_failure.h"
#include "issue/processing_log.h"
#include "issue/provider.h"
#include "issue/provider_codes.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"
#include "xml/xml_parts.h"
#include "xml/xml_writer.h"

namespace drovanexis {

namespace {

using issue::ProcessingFailure;

constexpr const char* kRoot = "cfdi:Comprobante";

[[noreturn]] void fail(int code, std::string node, std::string attribute,
                       const std::string& detail) {
  std::string explanation(describe_provider_code(code));
  if (!detail.empty()) explanation += ": " + detail;
  throw ProcessingFailure(std::to_string(code), std::move(node), std::move(attribute),
                          std::move(explanation));
}

std::string mexico_text(std::time_t utc_seconds) {
  return central_mexico_time(std::chrono::system_clock::from_time_t(utc_seconds));
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
           std::string_view key_password, std::string_view output_file, issue::ProcessingLog& log,
           bool stamp)
      : document_(document),
        stamp_(stamp),
        root_(document.complete_xml ? Element("cfdi:Comprobante")
                                    : issue::copy_element(document.root)),
        certificate_file_(certificate_file),
        key_file_(key_file),
        key_password_(key_password),
        output_file_(output_file),
        log_(log) {}

  void run() {
    check_output_target();
    stage_output();
    read_external_xml();
    place_xml_parts();
    prepare_for_sealing(root_, central_mexico_now());
    load_credentials();
    seal_document();
    open_provider();
    if (!stamp_) {
      check_with_provider();
      write_sealed_output();
      fill_sealed_values();
      return;
    }
    hand_over();
    write_output();
    fill_values();
    // From now on the document is the stamped tree, external or not, so that
    // processing it again is refused as already stamped (307).
    document_.root = std::move(root_);
    document_.complete_xml.reset();
    document_.xml_parts.clear();
  }

 private:
  // Refuses, before any stamp is taken, an output name that cannot be
  // written or that would replace what must be kept: the provider's state,
  // the log, the certificate or key of this call, a device or a folder.
  void check_output_target() const {
    try {
      refuse_unsafe_output(output_file_, {certificate_file_, key_file_});
    } catch (const UnsafeOutput& unsafe) {
      fail(kCodeOutputNotWritten, "", "", unsafe.what());
    }
  }

  // The output's temporary file exists before any stamp is taken: a folder
  // that cannot take the file fails here, at no cost.
  void stage_output() {
    try {
      output_.emplace(output_file_);
    } catch (const std::exception& error) {
      fail(kCodeOutputNotWritten, "", "", error.what());
    }
  }

  void read_external_xml() {
    if (!document_.complete_xml) return;
    root_ = issue::read_external_document(*document_.complete_xml);
    log_.step("XML externo leído (" + std::to_string(document_.complete_xml->size()) + " bytes)");
  }

  // The complements and addenda handed in as text are checked and placed
  // only now; a bad one fails the processing before anything is sealed.
  void place_xml_parts() {
    if (document_.xml_parts.empty()) return;
    try {
      drovanexis::place_xml_parts(document_.xml_parts, root_);
    } catch (const XmlPartError& error) {
      throw ProcessingFailure("301", error.entry(), "",
                              std::string("XML mal formado: ") + error.what());
    }
    log_.step("Complementos y addenda dados como texto: " +
              std::to_string(document_.xml_parts.size()) + " colocados");
  }

  void load_credentials() {
    try {
      certificate_.emplace(Certificate::load(certificate_file_));
    } catch (const CryptoError& error) {
      fail(kCodeCertificateUnreadable, kRoot, "Certificado", error.what());
    }
    log_.step("Certificado leído: " + certificate_file_ + " (No. " + certificate_->number() +
              ", RFC " + certificate_->rfc() + ", vigencia " +
              mexico_text(certificate_->valid_from()) + " a " +
              mexico_text(certificate_->valid_until()) + ")");
    try {
      key_.emplace(issue::open_csd_key(key_file_, key_password_));
    } catch (const CryptoError& error) {
      fail(error.code() == CryptoErrorCode::kWrongPassword ? kCodeWrongKeyPassword
                                                           : kCodeKeyUnreadable,
           kRoot, "Sello", error.what());
    }
    log_.step("Llave privada leída: " + key_file_);
  }

  void seal_document() {
    try {
      seal(root_, *certificate_, *key_);
    } catch (const CryptoError& error) {
      fail(error.code() == CryptoErrorCode::kKeyMismatch ? kCodeKeyDoesNotMatch
                                                         : kCodeCertificateUnreadable,
           kRoot, "Sello", error.what());
    }
    log_.step("Sello generado con el certificado " + attribute_text(root_, "NoCertificado") +
              " (Fecha " + attribute_text(root_, "Fecha") + ")");
  }

  void open_provider() {
    try {
      provider_ = drovanexis::open_provider();
    } catch (const ProviderRefusal& refusal) {
      throw ProcessingFailure(refusal.failures());
    }
  }

  // The stamped XML reaches the disk before the provider commits the stamp;
  // if it cannot be written the stamp is undone and the call costs nothing.
  StampRequest stamp_request(const std::string& user, const std::string& password) {
    return StampRequest{root_,
                        user,
                        password,
                        [](const Element& root) { return write_xml(root); },
                        [this](std::string_view step) { log_.step(step); },
                        [this](std::string_view stamped_xml) {
                          output_->write(stamped_xml, portable::Durability::durable);
                        }};
  }

  // Only a refusal of the account itself (credentials, balance) moves the
  // stamp to the document's second account; a document the rules refuse is
  // refused by any account.
  static bool account_refused(const ProviderRefusal& refusal) {
    const auto& failures = refusal.failures();
    return failures.size() == 1 && (failures.front().code == std::to_string(kCodeBadCredentials) ||
                                    failures.front().code == std::to_string(kCodeNoStampsLeft));
  }

  // The provider validates the sealed document and stamps it; its steps go
  // to the log as they happen. A document with a second account
  // (SetTolviqueInfo) falls back on it when the first account is refused.
  void hand_over() {
    try {
      stamped_.emplace(
          provider_->stamp(stamp_request(document_.service_user, document_.service_password)));
    } catch (const ProviderRefusal& refusal) {
      if (!account_refused(refusal) || document_.second_user.empty()) {
        throw ProcessingFailure(refusal.failures());
      }
      log_.step("La cuenta " + document_.service_user + " fue rechazada (" +
                refusal.failures().front().code + "); se usa la segunda cuenta " +
                document_.second_user);
      try {
        stamped_.emplace(
            provider_->stamp(stamp_request(document_.second_user, document_.second_password)));
      } catch (const ProviderRefusal& second_refusal) {
        throw ProcessingFailure(second_refusal.failures());
      } catch (const std::system_error& error) {
        fail(kCodeOutputNotWritten, "", "",
             std::string(error.what()) + " (no se tomó ningún timbre de la cuenta)");
      }
    } catch (const std::system_error& error) {
      fail(kCodeOutputNotWritten, "", "",
           std::string(error.what()) + " (no se tomó ningún timbre de la cuenta)");
    }
    log_.step("Timbre: UUID " + stamped_->stamp.uuid + ", FechaTimbrado " +
              stamped_->stamp.fecha_timbrado + ", operación " +
              std::to_string(stamped_->operation_number) + ", timbres disponibles " +
              std::to_string(stamped_->balance_left));
  }

  // Sealing without stamping: the provider's rules still judge the sealed
  // document, so that what is written is what stamping would accept.
  void check_with_provider() {
    std::vector<Failure> failures;
    try {
      failures = provider_->check_rules(issue::copy_element(root_), std::time(nullptr));
    } catch (const ProviderRefusal& refusal) {
      throw ProcessingFailure(refusal.failures());
    }
    if (!failures.empty()) throw ProcessingFailure(std::move(failures));
    log_.step("Validación: el comprobante cumple todas las reglas (no se timbra)");
  }

  void write_sealed_output() {
    try {
      output_->write(write_xml(root_), portable::Durability::durable);
      output_->commit(portable::Durability::durable);
    } catch (const std::exception& error) {
      fail(kCodeOutputNotWritten, "", "", error.what());
    }
    log_.step("Archivo sellado escrito: " + portable::resolve_path(output_file_).string());
  }

  void fill_sealed_values() {
    auto& values = document_.values;
    values[1] = "0";
    values[3] = attribute_text(root_, "NoCertificado");
    values[5] = cadena_cfdi33(root_);
    values[7] = attribute_text(root_, "Sello");
    values[11] = mexico_text(certificate_->valid_from());
    values[12] = mexico_text(certificate_->valid_until());
    values[15] = DROVANEXIS_VERSION;
    values[16] = attribute_text(root_, "Fecha");
  }

  // The stamp is in the ledger and the file's bytes on disk: only the rename
  // is left. Should it fail the document is not lost, and the log names its
  // UUID.
  void write_output() {
    try {
      output_->commit(portable::Durability::durable);
    } catch (const std::exception& error) {
      fail(kCodeOutputNotWritten, "", "",
           std::string(error.what()) + " (el documento quedó timbrado con UUID " +
               stamped_->stamp.uuid + " y registrado por el proveedor)");
    }
    log_.step("Archivo escrito: " + portable::resolve_path(output_file_).string());
  }

  void fill_values() {
    auto& values = document_.values;
    const StampFields& stamp = stamped_->stamp;
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
  // False when the document is only sealed and written, not stamped.
  bool stamp_;
  // The tree being processed: a copy of the document's, or the external XML
  // read; it replaces the document's tree only when processing succeeds.
  Element root_;
  std::string certificate_file_;
  std::string key_file_;
  std::string key_password_;
  std::string output_file_;
  issue::ProcessingLog& log_;
  std::optional<Certificate> certificate_;
  std::optional<PrivateKey> key_;
  std::unique_ptr<Provider> provider_;
  std::optional<StampResult> stamped_;
  std::optional<portable::StagedFile> output_;
};

void report_failure(Document& document, const ProcessingFailure& failure,
                    issue::ProcessingLog& log) {
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
  return run_pipeline(document, certificate_file, key_file, key_password, output_file, true);
}

int seal_document_only(Document& document, std::string_view certificate_file,
                       std::string_view key_file, std::string_view key_password,
                       std::string_view output_file) noexcept {
  return run_pipeline(document, certificate_file, key_file, key_password, output_file, false);
}

int run_pipeline(Document& document, std::string_view certificate_file, std::string_view key_file,
                 std::string_view key_password, std::string_view output_file, bool stamp) noexcept {
  try {
    document.values.fill("");
    issue::ProcessingLog log(central_mexico_now(), DROVANEXIS_VERSION,
                             document_label(output_file, document));
    int result = 0;
    try {
      Pipeline(document, certificate_file, key_file, key_password, output_file, log, stamp).run();
      log.result(0);
    } catch (const ProcessingFailure& failure) {
      report_failure(document, failure, log);
      result = failure.result_number();
    } catch (const std::exception& error) {
      const ProcessingFailure failure(
          std::to_string(kCodeInternalError), "", "",
          std::string(describe_provider_code(kCodeInternalError)) + ": " + error.what());
      report_failure(document, failure, log);
      result = failure.result_number();
    }
    log.write(document.log_file.empty() ? std::string(kProcessingLogFile) : document.log_file);
    return result;
  } catch (...) {
    return kCodeInternalError;
  }
}

int report_missing_document(std::int32_t handle, std::string_view output_file) noexcept {
  try {
    issue::ProcessingLog log(
        central_mexico_now(), DROVANEXIS_VERSION,
        std::string(output_file) + " (documento " + std::to_string(handle) + ")");
    log.error(std::to_string(kCodeNoDocument), "", "",
              std::string(describe_provider_code(kCodeNoDocument)) + ": el identificador " +
                  std::to_string(handle) +
                  " no corresponde a ningún documento (no se creó o ya se liberó).");
    log.result(kCodeNoDocument, 1);
    log.write(kProcessingLogFile);
  } catch (...) {
  }
  return kCodeNoDocument;
}

}  // namespace drovanexis

#include <chrono>
#include <ctime>
#include <optional>

#include "cadena/cadena.h"
#include "crypto/seal.h"
#include "issue/element_copy.h"
#include "issue/external_document.h"
#include "issue/processing_failure.h"
#include "issue/provider.h"
#include "issue/provider_codes.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"
#include "services/further_services.h"
#include "services/output_guard.h"
#include "services/service_files.h"
#include "time/central_mexico.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

// Checking a CFDI file as its receiver would, and stamping a sealed one.
namespace drovanexis::services {

namespace {

const Element* stamp_of(const Element& root) {
  const Element* complemento = root.child("cfdi:Complemento");
  return complemento ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
}

// A receiver checks the rules as they stood when the document was stamped;
// an unstamped document is checked as of now.
std::time_t check_instant(const Element* timbre) {
  if (timbre != nullptr) {
    if (const std::string* fecha = timbre->attribute("FechaTimbrado")) {
      if (const auto local = parse_date_time(*fecha)) {
        return std::chrono::system_clock::to_time_t(central_mexico::instant(*local));
      }
    }
  }
  return std::time(nullptr);
}

class ReceiverCheck {
 public:
  explicit ReceiverCheck(ServiceLog& log) : log_(log) {}

  int run(std::string_view file) {
    const auto text = portable::read_file(file);
    if (!text) {
      return finding(kCheckFileUnreadable,
                     std::string(file) + ": el archivo no existe o no se puede leer");
    }
    Element root("");
    try {
      root = parse_xml(*text);
    } catch (const XmlParseError& error) {
      return finding(301, "XML mal formado (línea " + std::to_string(error.line()) + ", columna " +
                              std::to_string(error.column()) + "): " + error.reason());
    }
    const std::string* version = root.attribute("Version");
    if (root.name() != "cfdi:Comprobante" || version == nullptr || *version != "3.3") {
      return finding(301, "la raíz es " + root.name() + "; se esperaba cfdi:Comprobante 3.3");
    }
    log_.step("XML bien formado: CFDI 3.3");
    const Element* timbre = stamp_of(root);
    std::unique_ptr<Provider> provider;
    std::vector<Failure> failures;
    try {
      provider = open_provider();
      failures = provider->check_rules(issue::copy_element(root), check_instant(timbre));
    } catch (const ProviderRefusal& refusal) {
      failures = refusal.failures();
    }
    for (const auto& failure : failures) {
      log_.error(failure.code + " " + failure.node + (failure.attribute.empty() ? "" : "@") +
                 failure.attribute + ": " + failure.explanation);
    }
    if (!failures.empty()) {
      first_ = issue::ProcessingFailure(failures).result_number();
    } else {
      log_.step("Esquema y reglas del proveedor: se cumplen");
    }
    if (seal_verifies(root)) {
      log_.step("Sello del emisor: válido sobre la cadena original");
    } else if (first_ == 0) {
      // The rules already report a seal that does not verify (302); this
      // line only repeats it when the rules could not run.
      finding(302, "el Sello no corresponde a la cadena original");
    }
    if (timbre == nullptr) {
      log_.step("El CFDI no está timbrado");
    } else if (provider && provider->stamp_seal_verifies(*timbre)) {
      log_.step("Sello del timbre (SelloSAT): válido con el certificado " +
                attribute(*timbre, "NoCertificadoSAT"));
    } else {
      finding(kCheckStampSealInvalid,
              "el SelloSAT del timbre no corresponde a su cadena original con ningún "
              "certificado conocido del proveedor (NoCertificadoSAT " +
                  attribute(*timbre, "NoCertificadoSAT") + ")");
    }
    return first_;
  }

 private:
  static std::string attribute(const Element& element, std::string_view name) {
    const std::string* value = element.attribute(name);
    return value ? *value : std::string();
  }

  int finding(int code, const std::string& text) {
    log_.error(std::to_string(code) + ": " + text);
    if (first_ == 0) first_ = code;
    return first_;
  }

  ServiceLog& log_;
  int first_ = 0;
};

}  // namespace

int check_cfdi_file(std::string_view file, std::string_view log_file) {
  ServiceLog log("Verificación de CFDI", central_mexico::format(std::chrono::system_clock::now()),
                 DROVANEXIS_VERSION);
  log.field("Archivo", file);
  int result = kCodeInternalError;
  try {
    result = ReceiverCheck(log).run(file);
  } catch (const std::exception& error) {
    log.error(error.what());
  }
  log.result(result, result == 0 ? "el CFDI es válido" : "el CFDI no es válido");
  log.write(log_file);
  return result;
}

std::string stamped_file_name(std::string_view file) {
  // Named after the file as it was found, whatever letter case the caller
  // used, so that the stamped file sits beside it with the same stem.
  std::string name = portable::resolve_path(file).string();
  const std::size_t slash = name.find_last_of("\\/");
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.resize(dot);
  return name + "_timbrado.xml";
}

int stamp_sealed_file(std::string_view file, const std::string& user, const std::string& password,
                      std::string_view log_file) {
  ServiceLog log("Timbrado de archivo", central_mexico::format(std::chrono::system_clock::now()),
                 DROVANEXIS_VERSION);
  log.field("Archivo", file);
  log.field("Usuario", user);
  const std::string output = stamped_file_name(file);
  int result = kCodeInternalError;
  try {
    refuse_reserved_output(output, {file, log_file});
    const auto text = portable::read_file(file);
    if (!text) throw issue::ProcessingFailure("805", "", "", std::string(file) + ": no existe");
    Element root = issue::read_external_document(*text);
    if (root.attribute("Sello") == nullptr) {
      throw issue::ProcessingFailure("302", "cfdi:Comprobante", "Sello",
                                     "el comprobante no está sellado");
    }
    std::unique_ptr<Provider> provider = open_provider();
    const StampRequest request{root, user, password,
                               [](const Element& tree) { return write_xml(tree); },
                               [&log](std::string_view step) { log.step(step); }};
    const StampResult stamped = provider->stamp(request);
    log.step("Timbre: UUID " + stamped.stamp.uuid);
    portable::write_file_atomic(output, stamped.stamped_xml);
    log.step("Archivo escrito: " + portable::resolve_path(output).string());
    result = 0;
  } catch (const issue::ProcessingFailure& failure) {
    for (const auto& item : failure.failures()) log.error(item.code + ": " + item.explanation);
    result = failure.result_number();
  } catch (const ProviderRefusal& refusal) {
    const issue::ProcessingFailure failure(refusal.failures());
    for (const auto& item : failure.failures()) log.error(item.code + ": " + item.explanation);
    result = failure.result_number();
  } catch (const std::invalid_argument& error) {
    log.error(error.what());
    result = kCodeOutputNotWritten;
  } catch (const std::exception& error) {
    log.error(error.what());
    result = kCodeOutputNotWritten;
  }
  log.result(result, result == 0 ? "timbrado" : "no timbrado");
  log.write(log_file);
  return result;
}

}  // namespace drovanexis::services

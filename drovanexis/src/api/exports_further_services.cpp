#include <chrono>
#include <filesystem>
#include <string>

#include "api/api_support.h"
#include "document/document_registry.h"
#include "document/output_rules.h"
#include "drovanexis.h"
#include "issue/provider.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"
#include "services/cancellation.h"
#include "services/document_file.h"
#include "services/further_services.h"
#include "services/output_guard.h"
#include "services/service_account.h"

// The further services: the key pair check, Base64 of a file, sealing
// without stamping, the receiver's check, stamping a sealed file, the
// document file, the balance, the status and cancellation by their other
// names, the result values in files, the time, the per-document settings and
// the bulk download. Each converts its arguments with the helpers every
// entry uses and hands them on.
using drovanexis::Document;
using drovanexis::DocumentRegistry;
namespace api = drovanexis::api;
namespace services = drovanexis::services;
using api::file_name;
using api::secret;
using api::utf8;

namespace {

constexpr const char* kLibraryLog = "Drovanexis.log";

// Writes one line to the log of a call that has no other way to report.
void log_line(const std::string& log_file, const std::string& line) {
  try {
    portable::write_file_atomic(log_file, portable::utf8_to_cp1252(line) + "\r\n",
                                portable::Durability::replace_only);
  } catch (...) {
  }
}

// "index=value" lines (Windows-1252, CR LF) of the given result values.
std::string value_lines(const Document& document, int first, int last) {
  std::string text;
  for (int index = first; index <= last; ++index) {
    text += std::to_string(index) + "=" + portable::utf8_to_cp1252(document.value(index)) + "\r\n";
  }
  return text;
}

// Writes result values of a document to a file; the reason of any failure
// goes to the document's log.
void write_values(int32_t handle, const char* file, int first, int last) {
  const std::string target = file_name(file);
  const std::string log_file = api::log_file_of(handle);
  try {
    std::string text;
    const bool found = DocumentRegistry::instance().with_document(
        handle, [&](Document& document) { text = value_lines(document, first, last); });
    if (!found) {
      log_line(log_file, "Valores: el identificador " + std::to_string(handle) +
                             " no corresponde a ningún documento");
      return;
    }
    services::refuse_reserved_output(target, {log_file});
    portable::write_file_atomic(target, text);
  } catch (const std::exception& error) {
    log_line(log_file, std::string("Valores: ") + error.what());
  }
}

std::string log_or_default(const char* log_file) {
  return log_file != nullptr && *log_file != '\0' ? file_name(log_file) : kLibraryLog;
}

// Whether a result file may be written; the reason goes to the library's
// log when not.
bool output_allowed(const std::string& result_file,
                    std::initializer_list<std::string_view> inputs) {
  try {
    services::refuse_reserved_output(result_file, inputs);
    return true;
  } catch (const std::exception& error) {
    log_line(kLibraryLog, std::string("Archivo de resultado: ") + error.what());
    return false;
  }
}

services::Requester requester(const char* certificate_file, const char* key_file,
                              const char* key_password, const char* rfc) {
  return {file_name(certificate_file), file_name(key_file), secret(key_password), utf8(rfc)};
}

int32_t request_download(drovanexis::DownloadKind kind, const char* certificate_file,
                         const char* key_file, const char* key_password, const char* rfc,
                         const char* from, const char* to, const char* counterpart_rfc,
                         const char* result_file, const char* log_file) {
  return api::guarded<int32_t>(services::kServiceInternalError, [&] {
    const drovanexis::DownloadRequest request{utf8(rfc), utf8(from), utf8(to),
                                              utf8(counterpart_rfc), kind};
    return services::request_bulk_download(requester(certificate_file, key_file, key_password, rfc),
                                           request, file_name(result_file),
                                           log_or_default(log_file));
  });
}

}  // namespace

int32_t Drovanexis_CerKeyMatch(int32_t handle, const char* certificate_file, const char* key_file,
                               const char* key_password, const char* /*reserved*/) {
  return api::guarded<int32_t>(services::kPairKeyDamaged, [&] {
    return services::cer_key_match(file_name(certificate_file), file_name(key_file),
                                   secret(key_password), api::log_file_of(handle));
  });
}

const char* Drovanexis_FileTo64(const char* file) {
  // The text stays valid until the calling thread's next call.
  thread_local std::string result;
  return api::guarded<const char*>("", [&] {
    result = services::file_to_base64(file_name(file), kLibraryLog);
    return result.c_str();
  });
}

int32_t Drovanexis_CheckFile(const char* file) {
  return api::guarded<int32_t>(DROVANEXIS_ERROR_INTERNAL, [&] {
    return services::check_cfdi_file(file_name(file), kLibraryLog);
  });
}

void Drovanexis_ProcessFile(const char* file) {
  api::guarded<int32_t>(0, [&] {
    const services::ServiceAccount account = services::last_service_account();
    return services::stamp_sealed_file(file_name(file), account.user, account.password,
                                       kLibraryLog);
  });
}

void Drovanexis_Save(int32_t handle, const char* file) {
  const std::string target = file_name(file);
  const std::string log_file = api::log_file_of(handle);
  try {
    std::string text;
    const bool found = DocumentRegistry::instance().with_document(
        handle, [&](Document& document) { text = services::document_file_text(document); });
    if (!found) {
      log_line(log_file, "Guardar: el identificador " + std::to_string(handle) +
                             " no corresponde a ningún documento");
      return;
    }
    services::refuse_reserved_output(target, {log_file});
    portable::write_file_atomic(target, text);
  } catch (const std::exception& error) {
    log_line(log_file, std::string("Guardar: ") + error.what());
  }
}

int32_t Drovanexis_Load(const char* file) {
  const std::string source = file_name(file);
  try {
    const auto text = portable::read_file(source);
    if (!text) {
      log_line(kLibraryLog, "Cargar: " + source + ": el archivo no existe o no se puede leer");
      return DROVANEXIS_LOAD_FILE_MISSING;
    }
    Document loaded = services::document_from_file_text(*text);
    auto& registry = DocumentRegistry::instance();
    const int32_t handle = registry.create("3.3");
    registry.with_document(handle, [&](Document& document) { document = std::move(loaded); });
    return handle;
  } catch (const services::DocumentFileError& error) {
    log_line(kLibraryLog, "Cargar: " + source + ": " + error.what());
    return DROVANEXIS_LOAD_DAMAGED;
  } catch (const std::exception& error) {
    log_line(kLibraryLog, "Cargar: " + source + ": " + error.what());
    return DROVANEXIS_LOAD_DAMAGED;
  }
}

int32_t Drovanexis_ConsultaSaldos(const char* user, const char* password, int32_t /*option*/,
                                  const char* result_file) {
  return api::guarded<int32_t>(services::kServiceInternalError, [&] {
    return services::query_balance(utf8(user), secret(password), file_name(result_file),
                                   kLibraryLog);
  });
}

int32_t Drovanexis_ConsultaEstadoCFDI(const char* rfc_emisor, const char* rfc_receptor,
                                      const char* total, const char* uuid,
                                      const char* result_file) {
  return api::guarded<int32_t>(drovanexis::kStatusInternalError, [&] {
    if (!output_allowed(file_name(result_file), {})) return drovanexis::kStatusInternalError;
    const services::StatusCall call{
        "", {utf8(uuid), utf8(rfc_emisor), utf8(rfc_receptor), utf8(total)}, true};
    return services::query_status(call, file_name(result_file), kLibraryLog);
  });
}

int32_t Drovanexis_CancelaUUID(const char* user, const char* rfc_emisor, const char* uuid,
                               const char* certificate_file, const char* key_file,
                               const char* key_password, const char* result_file) {
  return api::guarded<int32_t>(drovanexis::kCancellationInternalError, [&] {
    const services::CancellationCall call{utf8(user),
                                          {utf8(uuid), utf8(rfc_emisor), "", ""},
                                          file_name(certificate_file),
                                          file_name(key_file),
                                          secret(key_password)};
    if (!output_allowed(file_name(result_file), {call.certificate_file, call.key_file})) {
      return drovanexis::kCancellationInternalError;
    }
    return services::cancel_uuid(call, file_name(result_file), kLibraryLog);
  });
}

void Drovanexis_GetValues(int32_t handle, const char* file, int32_t /*reserved*/) {
  write_values(handle, file, 1, drovanexis::kResultValueCount);
}

void Drovanexis_GetValueInFile(int32_t handle, int32_t index, const char* file) {
  if (index < 1 || index > drovanexis::kResultValueCount) {
    log_line(api::log_file_of(handle),
             "Valor: el índice " + std::to_string(index) + " no existe (1 a 18)");
    return;
  }
  write_values(handle, file, index, index);
}

void Drovanexis_ShowValue(int32_t handle, int32_t index, const char* file) {
  Drovanexis_GetValueInFile(handle, index, file);
}

const char* Drovanexis_GetTimeWithDelay(int32_t /*handle*/, int32_t seconds) {
  thread_local std::string result;
  return api::guarded<const char*>("", [&] {
    result = drovanexis::central_mexico_time(std::chrono::system_clock::now() +
                                             std::chrono::seconds(seconds));
    return result.c_str();
  });
}

void Drovanexis_SetLogFile(int32_t handle, const char* file) {
  api::guarded<int>(0, [&] {
    const std::string name = file_name(file);
    DocumentRegistry::instance().with_document(
        handle, [&](Document& document) { document.log_file = name; });
    return 0;
  });
}

void Drovanexis_SetDllPath(int32_t handle, const char* path) {
  api::guarded<int>(0, [&] {
    const std::string folder = file_name(path);
    if (!DocumentRegistry::instance().with_document(handle, [](Document&) {})) return 0;
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(portable::resolve_path(folder), ec)) {
      log_line(api::log_file_of(handle),
               "Carpeta de la biblioteca: " + folder + " no existe; no se cambia");
      return 0;
    }
    drovanexis::set_provider_folder(folder.empty() ? std::filesystem::path()
                                                   : portable::resolve_path(folder));
    return 0;
  });
}

void Drovanexis_SetTolviqueInfo(int32_t handle, const char* user, const char* password) {
  api::guarded<int>(0, [&] {
    const std::string second_user = utf8(user);
    const std::string second_password = secret(password);
    DocumentRegistry::instance().with_document(handle, [&](Document& document) {
      document.second_user = second_user;
      document.second_password = second_password;
    });
    return 0;
  });
}

int32_t Drovanexis_MasivaSolicitaEmitidoXML(const char* certificate_file, const char* key_file,
                                            const char* key_password, const char* rfc,
                                            const char* from, const char* to,
                                            const char* receiver_rfc, const char* result_file,
                                            const char* log_file, const char* /*reserved*/) {
  return request_download(drovanexis::DownloadKind::kIssuedXml, certificate_file, key_file,
                          key_password, rfc, from, to, receiver_rfc, result_file, log_file);
}

int32_t Drovanexis_MasivaSolicitaEmitidoMetadata(const char* certificate_file, const char* key_file,
                                                 const char* key_password, const char* rfc,
                                                 const char* from, const char* to,
                                                 const char* receiver_rfc, const char* result_file,
                                                 const char* log_file, const char* /*reserved*/) {
  return request_download(drovanexis::DownloadKind::kIssuedMetadata, certificate_file, key_file,
                          key_password, rfc, from, to, receiver_rfc, result_file, log_file);
}

int32_t Drovanexis_MasivaSolicitaRecibidoXML(const char* certificate_file, const char* key_file,
                                             const char* key_password, const char* rfc,
                                             const char* from, const char* to,
                                             const char* issuer_rfc, const char* result_file,
                                             const char* log_file, const char* /*reserved*/) {
  return request_download(drovanexis::DownloadKind::kReceivedXml, certificate_file, key_file,
                          key_password, rfc, from, to, issuer_rfc, result_file, log_file);
}

int32_t Drovanexis_MasivaSolicitaRecibidoMetadata(const char* certificate_file,
                                                  const char* key_file, const char* key_password,
                                                  const char* rfc, const char* from, const char* to,
                                                  const char* issuer_rfc, const char* result_file,
                                                  const char* log_file, const char* /*reserved*/) {
  return request_download(drovanexis::DownloadKind::kReceivedMetadata, certificate_file, key_file,
                          key_password, rfc, from, to, issuer_rfc, result_file, log_file);
}

int32_t Drovanexis_MasivaVerifica(const char* certificate_file, const char* key_file,
                                  const char* key_password, const char* rfc, const char* request_id,
                                  const char* result_file, const char* log_file,
                                  const char* /*reserved*/) {
  return api::guarded<int32_t>(services::kServiceInternalError, [&] {
    return services::verify_bulk_download(requester(certificate_file, key_file, key_password, rfc),
                                          utf8(request_id), file_name(result_file),
                                          log_or_default(log_file));
  });
}

int32_t Drovanexis_MasivaDescarga(const char* certificate_file, const char* key_file,
                                  const char* key_password, const char* rfc, const char* package_id,
                                  const char* package_file, const char* result_file,
                                  const char* log_file) {
  return api::guarded<int32_t>(services::kServiceInternalError, [&] {
    return services::download_bulk_package(requester(certificate_file, key_file, key_password, rfc),
                                           utf8(package_id), file_name(package_file),
                                           file_name(result_file), log_or_default(log_file));
  });
}

#include <string_view>

#include "api/api_support.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "issue/processing.h"
#include "portable/cp1252.h"
#include "services/service_account.h"

// Document life: creation, credentials, the external XML, processing, result
// values and release.
using drovanexis::Document;
using drovanexis::DocumentRegistry;
namespace api = drovanexis::api;

int32_t Drovanexis_New(const char* version) {
  return api::guarded<int32_t>(
      0, [&] { return DocumentRegistry::instance().create(api::utf8(version)); });
}

// Builds, seals, validates and stamps the document with the sandbox provider
// (or, with stamp false, seals and checks it only) and writes the XML. File
// names and the password go through the helpers every entry uses.
static int32_t process(int32_t handle, const char* certificate_file, const char* key_file,
                       const char* key_password, const char* output_file, bool stamp = true) {
  return api::guarded<int32_t>(-1, [&] {
    bool found = false;
    int32_t result = 0;
    DocumentRegistry::instance().with_document(handle, [&](Document& document) {
      found = true;
      result = drovanexis::run_pipeline(document, api::file_name(certificate_file),
                                        api::file_name(key_file), api::secret(key_password),
                                        api::file_name(output_file), stamp);
    });
    if (!found) return drovanexis::report_missing_document(handle, api::file_name(output_file));
    return result;
  });
}

int32_t Drovanexis_FirmaSellaDocto(int32_t handle, const char* certificate_file,
                                   const char* key_file, const char* key_password,
                                   const char* output_file) {
  return process(handle, certificate_file, key_file, key_password, output_file, false);
}

int32_t Drovanexis_ProcesaDocumento(int32_t handle, const char* certificate_file,
                                    const char* key_file, const char* key_password,
                                    const char* output_file) {
  return process(handle, certificate_file, key_file, key_password, output_file);
}

// The sandbox provider is in process, so there is no connection whose
// security could differ: the secure variant processes the same way.
int32_t Drovanexis_ProcesaDocumentoSSL(int32_t handle, const char* certificate_file,
                                       const char* key_file, const char* key_password,
                                       const char* output_file) {
  return process(handle, certificate_file, key_file, key_password, output_file);
}

const char* Drovanexis_GetValue(int32_t handle, int32_t index) {
  return api::guarded<const char*>("", [&] {
    const char* text = "";
    DocumentRegistry::instance().with_document(handle, [&](Document& document) {
      document.handed_out_value = portable::utf8_to_cp1252(document.value(index));
      text = document.handed_out_value.c_str();
    });
    return text;
  });
}

void Drovanexis_Free(int32_t handle) {
  api::guarded<bool>(false, [&] { return DocumentRegistry::instance().release(handle); });
}

void Drovanexis_SetVelmoranetInfo(int32_t handle, const char* user, const char* password) {
  api::build(handle,
             [](Document& document, const drovanexis::Values& values) {
               document.service_user = values[0];
               document.service_password = values[1];
             },
             {user, password});
  // The account also serves Drovanexis_ProcessFile, which takes no document.
  api::guarded<int>(0, [&] {
    drovanexis::services::remember_service_account({api::utf8(user), api::utf8(password)});
    return 0;
  });
}

void Drovanexis_SetCompleteXML_cfdi33(int32_t handle, const char* xml) {
  // The text is an XML document in the encoding its own declaration names, so
  // it is kept byte for byte rather than converted from Windows-1252.
  api::guarded<bool>(false, [&] {
    return DocumentRegistry::instance().with_document(handle, [&](Document& document) {
      document.complete_xml = xml == nullptr ? std::string() : std::string(xml);
    });
  });
}

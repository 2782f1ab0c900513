#include "api/api_support.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "portable/cp1252.h"

// Document life: creation, credentials, the external XML, processing, result
// values and release.
using drovanexis::Document;
using drovanexis::DocumentRegistry;
namespace api = drovanexis::api;

int32_t Drovanexis_New(const char* version) {
  return api::guarded<int32_t>(
      0, [&] { return DocumentRegistry::instance().create(api::utf8(version)); });
}

int32_t Drovanexis_ProcesaDocumento(int32_t, const char*, const char*, const char*, const char*) {
  return api::report_unavailable("Drovanexis_ProcesaDocumento");
}

int32_t Drovanexis_ProcesaDocumentoSSL(int32_t, const char*, const char*, const char*,
                                       const char*) {
  return api::report_unavailable("Drovanexis_ProcesaDocumentoSSL");
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

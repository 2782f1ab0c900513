#include "api/api_support.h"
#include "drovanexis.h"

// Services of the stamping provider and the CBB bitmaps. This build cannot
// carry them out yet: each says so in "Drovanexis.log" and fails.
namespace api = drovanexis::api;

int32_t Drovanexis_CancelaCFDI(const char*, const char*, const char*, const char*, const char*,
                               const char*, const char*, const char*, const char*, const char*) {
  return api::report_unavailable("Drovanexis_CancelaCFDI");
}

int32_t Drovanexis_GetStatusCFDI(const char*, const char*, const char*, const char*, const char*,
                                 const char*, const char*) {
  return api::report_unavailable("Drovanexis_GetStatusCFDI");
}

int32_t Drovanexis_RecuperaAcuseCancelacion(const char*, const char*, const char*, const char*,
                                            const char*, const char*, const char*) {
  return api::report_unavailable("Drovanexis_RecuperaAcuseCancelacion");
}

int32_t Drovanexis_GeneraCBB(const char*, const char*, int32_t, const char*, int32_t, int32_t,
                             int32_t) {
  return api::report_unavailable("Drovanexis_GeneraCBB");
}

const char* Drovanexis_CerTo64(const char*) { return ""; }

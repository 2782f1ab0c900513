#include <initializer_list>
#include <string>
#include <string_view>

#include "api/api_support.h"
#include "cbb/cbb_generator.h"
#include "crypto/certificate.h"
#include "drovanexis.h"
#include "issue/output_guard.h"
#include "services/cancellation.h"

// Services of the stamping provider and the CBB bitmaps: each entry converts
// its arguments and hands them to the services or the CBB part, which write
// the result and log files.
namespace api = drovanexis::api;
namespace services = drovanexis::services;
using api::utf8;

namespace {

// The files a service call writes must not replace what the library or the
// caller keeps (the provider's state, the library's log, the call's own
// inputs, devices): such a call writes nothing and answers with its error
// result. Absent names are the service's own concern.
bool outputs_are_safe(std::initializer_list<const char*> outputs,
                      std::initializer_list<std::string_view> inputs = {}) {
  for (const char* output : outputs) {
    if (output == nullptr || *output == '\0') continue;
    try {
      drovanexis::refuse_unsafe_output(output, inputs);
    } catch (const drovanexis::UnsafeOutput&) {
      return false;
    }
  }
  return true;
}

std::string_view text_of(const char* text) { return text == nullptr ? "" : text; }

}  // namespace

int32_t Drovanexis_CancelaCFDI(const char* user, const char* rfc_emisor, const char* rfc_receptor,
                               const char* total, const char* uuid, const char* certificate_file,
                               const char* key_file, const char* key_password,
                               const char* result_file, const char* log_file) {
  return api::guarded<int32_t>(drovanexis::kCancellationInternalError, [&] {
    if (!outputs_are_safe({result_file, log_file},
                          {text_of(certificate_file), text_of(key_file)})) {
      return drovanexis::kCancellationInternalError;
    }
    const services::CancellationCall call{
        utf8(user),
        {utf8(uuid), utf8(rfc_emisor), utf8(rfc_receptor), utf8(total)},
        api::file_name(certificate_file),
        api::file_name(key_file),
        api::secret(key_password)};
    return services::cancel_cfdi(call, api::file_name(result_file), api::file_name(log_file));
  });
}

int32_t Drovanexis_GetStatusCFDI(const char* user, const char* rfc_emisor, const char* rfc_receptor,
                                 const char* total, const char* uuid, const char* result_file,
                                 const char* log_file) {
  return api::guarded<int32_t>(drovanexis::kStatusInternalError, [&] {
    if (!outputs_are_safe({result_file, log_file})) return drovanexis::kStatusInternalError;
    const services::StatusCall call{
        utf8(user), {utf8(uuid), utf8(rfc_emisor), utf8(rfc_receptor), utf8(total)}};
    return services::query_status(call, api::file_name(result_file), api::file_name(log_file));
  });
}

int32_t Drovanexis_RecuperaAcuseCancelacion(const char* user, const char* rfc, const char* uuid,
                                            const char* result_file, const char* acuse_file,
                                            const char* log_file, const char* /*reserved*/) {
  return api::guarded<int32_t>(drovanexis::kAcknowledgementError, [&] {
    if (!outputs_are_safe({result_file, acuse_file, log_file})) {
      return drovanexis::kAcknowledgementError;
    }
    const services::AcknowledgementCall call{utf8(user), utf8(rfc), utf8(uuid)};
    return services::retrieve_acknowledgement(call, api::file_name(result_file),
                                              api::file_name(acuse_file), api::file_name(log_file));
  });
}

int32_t Drovanexis_GeneraCBB(const char* query, const char* bitmap_file, int32_t mode,
                             const char* log_file, int32_t level, int32_t module_pixels,
                             int32_t margin_modules) {
  return api::guarded<int32_t>(drovanexis::cbb::kCbbNotWritten, [&] {
    if (!outputs_are_safe({bitmap_file, log_file})) return drovanexis::cbb::kCbbNotWritten;
    const drovanexis::cbb::CbbRequest request{utf8(query),   api::file_name(bitmap_file),
                                              mode,          api::file_name(log_file),
                                              level,         module_pixels,
                                              margin_modules};
    return drovanexis::cbb::generate_cbb(request);
  });
}

const char* Drovanexis_CerTo64(const char* certificate_file) {
  // The text stays valid until the calling thread's next call.
  thread_local std::string result;
  return api::guarded<const char*>("", [&] {
    result = drovanexis::Certificate::load(api::file_name(certificate_file)).base64();
    return result.c_str();
  });
}

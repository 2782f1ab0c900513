#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "issue/provider.h"

// Cancellation, status query and acknowledgement retrieval on the pipeline's
// side: each logs the request, reads what the caller hands in (the issuer's
// CSD), asks the provider and writes its answer as key=value lines to the
// result file and, step by step, to the log. Texts are UTF-8, file names
// Windows-style; the results are those of cancellation_services.h. None
// throws.
namespace drovanexis::services {

// Where a service gets its provider: the library's own unless the caller
// hands in another.
using ProviderOpener = std::function<std::unique_ptr<Provider>()>;

// A cancellation request: who asks, the CFDI, the issuer's CSD with its key
// and password, and why (Motivo "01" to "04"; with "01" the UUID of the
// replacing document). The C entries, which take no Motivo, ask with "02".
struct CancellationCall {
  std::string user;
  CfdiDescription cfdi;
  std::string certificate_file;
  std::string key_file;
  std::string key_password;
  std::string motivo = std::string(kMotivoWithoutReplacement);
  std::string folio_sustitucion = {};
};

// Checks that the CSD's key opens with the password and is its pair, and
// has the provider cancel the CFDI. Always writes `result_file` and
// `log_file`; the provider records the cancellation only when the result
// file was written.
int cancel_cfdi(const CancellationCall& call, std::string_view result_file,
                std::string_view log_file,
                std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
                const ProviderOpener& open = open_provider) noexcept;

// Cancellation by UUID alone: the receiver and the total the request leaves
// out are those the provider recorded for the UUID ("0" when it has none),
// then the request goes through cancel_cfdi with the same rules and answers.
int cancel_uuid(CancellationCall call, std::string_view result_file, std::string_view log_file,
                std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
                const ProviderOpener& open = open_provider) noexcept;

struct StatusCall {
  std::string user;
  CfdiDescription cfdi;
  // The SAT's public query: anyone may ask, so no account is checked.
  bool public_query = false;
};

// Asks the provider for the CFDI's status (Estado, EsCancelable,
// EstatusCancelacion, CodigoEstatus). Always writes `result_file` and
// `log_file`.
int query_status(const StatusCall& call, std::string_view result_file, std::string_view log_file,
                 std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
                 const ProviderOpener& open = open_provider) noexcept;

struct AcknowledgementCall {
  std::string user;
  std::string issuer_rfc;
  std::string uuid;
};

// Asks the provider for the acknowledgement of the UUID's cancellation
// issued to the RFC; when there is one, writes it, signed, to `acuse_file`.
// Always writes `result_file` and `log_file`.
int retrieve_acknowledgement(
    const AcknowledgementCall& call, std::string_view result_file, std::string_view acuse_file,
    std::string_view log_file,
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
    const ProviderOpener& open = open_provider) noexcept;

}  // namespace drovanexis::services

#pragma once

#include <chrono>
#include <exception>
#include <string>

#include "issue/cancellation_services.h"
#include "services/service_files.h"

// What the services share in talking to the provider.
namespace drovanexis::services {

// The provider's steps and refusals, as lines of the service's log.
ServiceReport report_to(ServiceLog& log);

// The reason a request failed, for its log and result file: for a provider
// that cannot be reached, what stood in the way.
std::string failure_reason(const std::exception& error);

// The request's fields every cancellation and status log opens with.
void log_cfdi_request(ServiceLog& log, const std::string& user, const CfdiDescription& cfdi);

// The fields naming the CFDI that open a cancellation or status answer.
ResultIni cfdi_answer_fields(const CfdiDescription& cfdi);

// The answer of a cancellation or status request that failed before the
// provider decided: the CFDI's fields, the time, the result code and why.
ResultIni failed_cfdi_answer(const CfdiDescription& cfdi, std::chrono::system_clock::time_point now,
                             int result, const std::string& reason);

// Logs why a request failed and writes its answer, which names the error;
// an answer that cannot be written is logged too, as the log is then all
// the caller gets.
void record_failure(ServiceLog& log, const ResultIni& answer, std::string_view reason,
                    std::string_view result_file);

}  // namespace drovanexis::services

#include "issue/provider.h"

#include "issue/provider_codes.h"

namespace drovanexis {

namespace {

std::string first_explanation(const std::vector<Failure>& failures) {
  return failures.empty() ? std::string() : failures.front().explanation;
}

}  // namespace

ProviderRefusal::ProviderRefusal(std::vector<Failure> failures)
    : std::runtime_error(first_explanation(failures)), failures_(std::move(failures)) {
  if (failures_.empty()) {
    failures_.push_back({std::to_string(kCodeInternalError), "", "",
                         std::string(describe_provider_code(kCodeInternalError))});
  }
}

ProviderRefusal::ProviderRefusal(int code, std::string_view detail)
    : ProviderRefusal(std::vector<Failure>{
          {std::to_string(code), "", "",
           std::string(describe_provider_code(code)) +
               (detail.empty() ? std::string() : ": " + std::string(detail))}}) {}

ProviderUnavailable::ProviderUnavailable(std::string reason)
    : ProviderRefusal(kCodeStateUnavailable, reason), reason_(std::move(reason)) {}

}  // namespace drovanexis

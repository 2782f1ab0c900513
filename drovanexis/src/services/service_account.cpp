#include "services/service_account.h"

#include <mutex>

namespace drovanexis::services {

namespace {

std::mutex account_mutex;
ServiceAccount account;

}  // namespace

void remember_service_account(ServiceAccount given) {
  std::lock_guard lock(account_mutex);
  account = std::move(given);
}

ServiceAccount last_service_account() {
  std::lock_guard lock(account_mutex);
  return account;
}

}  // namespace drovanexis::services

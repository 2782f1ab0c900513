#pragma once

#include <string>

namespace drovanexis::services {

// The stamping account of the last Drovanexis_SetVelmoranetInfo call, for
// the entries that take no document (Drovanexis_ProcessFile).
struct ServiceAccount {
  std::string user;      // UTF-8
  std::string password;  // UTF-8
};

void remember_service_account(ServiceAccount account);
ServiceAccount last_service_account();

}  // namespace drovanexis::services

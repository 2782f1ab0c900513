#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// Creates or replaces an account. Without a password the account accepts any
// password (the demonstration account).
void store_account(SqliteDb& db, std::string_view user, std::optional<std::string_view> password,
                   std::int64_t balance);

// True when the user exists and the password is accepted.
bool authenticate(SqliteDb& db, std::string_view user, std::string_view password);

// Stamps left on the account; nullopt for an unknown user.
std::optional<std::int64_t> account_balance(SqliteDb& db, std::string_view user);

}  // namespace drovanexis::sandbox

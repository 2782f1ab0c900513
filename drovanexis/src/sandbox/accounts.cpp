#include "sandbox/accounts.h"

#include <stdexcept>

#include "crypto/digest.h"

namespace drovanexis::sandbox {

namespace {

// Passwords are kept as SHA-256 of "user:password" in hex, never as text.
std::string password_hash(std::string_view user, std::string_view password) {
  return sha256_hex(std::string(user) + ":" + std::string(password));
}

}  // namespace

void store_account(SqliteDb& db, std::string_view user, std::optional<std::string_view> password,
                   std::int64_t balance) {
  Statement statement(db,
                      "INSERT OR REPLACE INTO accounts (user, any_password, password_hash, "
                      "balance) VALUES (?, ?, ?, ?)");
  statement.bind(1, user).bind(2, std::int64_t{password ? 0 : 1}).bind(4, balance);
  if (password) {
    statement.bind(3, password_hash(user, *password));
  } else {
    statement.bind_null(3);
  }
  statement.run();
}

bool authenticate(SqliteDb& db, std::string_view user, std::string_view password) {
  Statement statement(db, "SELECT any_password, password_hash FROM accounts WHERE user = ?");
  statement.bind(1, user);
  if (!statement.step()) return false;
  if (statement.integer(0) != 0) return true;
  return !statement.is_null(1) && statement.text(1) == password_hash(user, password);
}

std::optional<std::int64_t> account_balance(SqliteDb& db, std::string_view user) {
  Statement statement(db, "SELECT balance FROM accounts WHERE user = ?");
  statement.bind(1, user);
  if (!statement.step()) return std::nullopt;
  return statement.integer(0);
}

}  // namespace drovanexis::sandbox

#include "sandbox/accounts.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace drovanexis::sandbox {

namespace {

// Passwords are kept as SHA-256 of "user:password" in hex, never as text.
std::string password_hash(std::string_view user, std::string_view password) {
  const std::string input = std::string(user) + ":" + std::string(password);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(input.data(), input.size(), digest, &length, EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 failed while checking an account password");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
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

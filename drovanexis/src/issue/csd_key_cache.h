#pragma once

#include <string_view>

#include "crypto/private_key.h"

namespace drovanexis::issue {

// Opens the issuer's CSD key as PrivateKey::load does, but decrypts a given
// file's key only once per process: the password-based decryption costs
// more than the seal's own signature, and a program issues many documents
// with one CSD. The file is read on every call and the opened key reused
// only when its bytes and the password are exactly those it was opened from,
// so that a key file replaced on disk (or another password) is opened afresh
// and a wrong password is never accepted from the cache. Safe to call from
// several threads. Throws CryptoError as PrivateKey::load does.
PrivateKey open_csd_key(std::string_view file_name, std::string_view password);

}  // namespace drovanexis::issue

#pragma once

#include <string>
#include <string_view>

namespace drovanexis {

// SHA-256 of the bytes: its 32 bytes, and the same in lowercase hex. The
// algorithm is looked up once per process: looking it up by name for every
// digest costs more than hashing a small text.
std::string sha256_bytes(std::string_view bytes);
std::string sha256_hex(std::string_view bytes);

}  // namespace drovanexis

#include "crypto/file_bytes.h"

#include "crypto/crypto_error.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"

namespace drovanexis {
namespace {

// A certificate or key takes a few KiB; a file far larger is not one, and is
// refused from its size rather than read.
constexpr std::size_t kMaxCredentialBytes = 1024u * 1024u;

}  // namespace

std::string read_crypto_file(std::string_view file_name, std::string_view what) {
  const std::string quoted = " \"" + std::string(file_name) + "\"";
  if (file_name.empty()) {
    throw CryptoError(CryptoErrorCode::kFileNotFound, std::string(what) + " file not found: \"\"");
  }
  auto read = portable::read_regular_file(portable::resolve_path(file_name), kMaxCredentialBytes);
  if (!read.failure) return std::move(read.bytes);
  switch (*read.failure) {
    case portable::ReadFailure::not_found:
      throw CryptoError(CryptoErrorCode::kFileNotFound,
                        std::string(what) + " file not found:" + quoted);
    case portable::ReadFailure::not_regular:
      throw CryptoError(CryptoErrorCode::kNotRegularFile,
                        std::string(what) + " file is not a regular file:" + quoted);
    case portable::ReadFailure::too_large:
      throw CryptoError(CryptoErrorCode::kFileUnreadable,
                        std::string(what) + " file is larger than 1 MiB, not read:" + quoted);
    case portable::ReadFailure::unreadable: break;
  }
  throw CryptoError(CryptoErrorCode::kFileUnreadable,
                    std::string(what) + " file cannot be read:" + quoted);
}

}  // namespace drovanexis

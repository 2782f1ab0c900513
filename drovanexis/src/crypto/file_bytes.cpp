#include "crypto/file_bytes.h"

#include "crypto/crypto_error.h"
#include "portable/file_io.h"

namespace drovanexis {

std::string read_crypto_file(std::string_view file_name, std::string_view what) {
  const std::string quoted = " \"" + std::string(file_name) + "\"";
  if (file_name.empty()) {
    throw CryptoError(CryptoErrorCode::kFileNotFound, std::string(what) + " file not found: \"\"");
  }
  auto bytes = portable::read_file(file_name);
  if (bytes) return std::move(*bytes);
  switch (portable::read_failure(file_name)) {
    case portable::ReadFailure::not_found:
      throw CryptoError(CryptoErrorCode::kFileNotFound,
                        std::string(what) + " file not found:" + quoted);
    case portable::ReadFailure::not_regular:
      throw CryptoError(CryptoErrorCode::kNotRegularFile,
                        std::string(what) + " file is not a regular file:" + quoted);
    case portable::ReadFailure::unreadable: break;
  }
  throw CryptoError(CryptoErrorCode::kFileUnreadable,
                    std::string(what) + " file cannot be read:" + quoted);
}

}  // namespace drovanexis

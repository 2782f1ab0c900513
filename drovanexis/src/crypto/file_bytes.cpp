#include "crypto/file_bytes.h"

#include <filesystem>
#include <system_error>

#include "crypto/crypto_error.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"

namespace drovanexis {

std::string read_crypto_file(std::string_view file_name, std::string_view what) {
  std::error_code ignored;
  if (file_name.empty() || !std::filesystem::exists(portable::resolve_path(file_name), ignored)) {
    throw CryptoError(CryptoErrorCode::kFileNotFound,
                      std::string(what) + " file not found: \"" + std::string(file_name) + "\"");
  }
  auto bytes = portable::read_file(file_name);
  if (!bytes) {
    throw CryptoError(
        CryptoErrorCode::kFileUnreadable,
        std::string(what) + " file cannot be read: \"" + std::string(file_name) + "\"");
  }
  return std::move(*bytes);
}

}  // namespace drovanexis

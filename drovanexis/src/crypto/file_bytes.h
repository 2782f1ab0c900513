#pragma once

#include <string>
#include <string_view>

namespace drovanexis {

// The whole file, found with Windows file-name semantics. Throws CryptoError
// kFileNotFound, kNotRegularFile (a folder, a FIFO, a device: refused without
// blocking) or kFileUnreadable; `what` ("certificate", "key") and the file
// name appear in the message.
std::string read_crypto_file(std::string_view file_name, std::string_view what);

}  // namespace drovanexis

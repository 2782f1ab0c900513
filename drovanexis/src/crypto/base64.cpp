#include "crypto/base64.h"

#include <openssl/evp.h>

namespace drovanexis {

std::string base64_encode(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                      reinterpret_cast<const unsigned char*>(bytes.data()),
                                      static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(written));
  return out;
}

std::optional<std::string> base64_decode(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact += c;
  }
  if (compact.size() % 4 != 0) return std::nullopt;
  std::string out(compact.size() / 4 * 3, '\0');
  const int written = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                      reinterpret_cast<const unsigned char*>(compact.data()),
                                      static_cast<int>(compact.size()));
  if (written < 0) return std::nullopt;
  // EVP_DecodeBlock counts the padding as zero bytes.
  std::size_t size = static_cast<std::size_t>(written);
  if (!compact.empty() && compact.back() == '=') --size;
  if (compact.size() > 1 && compact[compact.size() - 2] == '=') --size;
  out.resize(size);
  return out;
}

}  // namespace drovanexis

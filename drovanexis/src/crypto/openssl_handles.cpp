#include "crypto/openssl_handles.h"

#include <openssl/err.h>

#include <climits>

namespace drovanexis::openssl {

Bio memory_bio(std::string_view bytes) {
  const int length =
      bytes.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(bytes.size());
  return Bio(BIO_new_mem_buf(bytes.data(), length));
}

std::string bio_contents(BIO* bio) {
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio, &data);
  return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

std::string last_error_text() {
  std::string text;
  unsigned long code = 0;
  while ((code = ERR_get_error()) != 0) {
    char buffer[256];
    ERR_error_string_n(code, buffer, sizeof buffer);
    if (!text.empty()) text += "; ";
    text += buffer;
  }
  return text.empty() ? "no detail from OpenSSL" : text;
}

bool looks_like_pem(std::string_view bytes) {
  return bytes.find("-----BEGIN ") != std::string_view::npos;
}

}  // namespace drovanexis::openssl

#include "crypto/signature.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <utility>

#include "crypto/base64.h"
#include "crypto/crypto_error.h"

namespace drovanexis {

namespace {

// OpenSSL 3 looks the digest and the signature algorithm up by name, under a
// shared lock, every time a context is initialised: more than the hashing of
// a small text costs. Each thread therefore keeps, per key, one context
// initialised once for SHA256withRSA, and signs or verifies with a copy of
// it. A context holds a reference to its key, so the key's address cannot be
// reused by another key while its context is kept.
enum class Purpose { kSign, kVerify };

class PreparedContexts {
 public:
  // A fresh context ready to sign or verify with the key; null when OpenSSL
  // refuses the key.
  openssl::MdContext ready_for(EVP_PKEY* key, Purpose purpose) {
    const EVP_MD_CTX* prepared = prepared_for(key, purpose);
    if (prepared == nullptr) return nullptr;
    openssl::MdContext copy(EVP_MD_CTX_new());
    if (!copy || EVP_MD_CTX_copy_ex(copy.get(), prepared) != 1) return nullptr;
    // The copy serves one operation: without this flag the final step would
    // duplicate it once more to keep it usable.
    EVP_MD_CTX_set_flags(copy.get(), EVP_MD_CTX_FLAG_FINALISE);
    return copy;
  }

 private:
  struct Slot {
    EVP_PKEY* key = nullptr;
    Purpose purpose = Purpose::kSign;
    openssl::MdContext context;
  };

  const EVP_MD_CTX* prepared_for(EVP_PKEY* key, Purpose purpose) {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (slots_[i].key == key && slots_[i].purpose == purpose && slots_[i].context) {
        // Most recently used first, so that the oldest is the one replaced.
        std::rotate(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(i),
                    slots_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return slots_.front().context.get();
      }
    }
    openssl::MdContext context(EVP_MD_CTX_new());
    if (!context) return nullptr;
    const int initialised = purpose == Purpose::kSign
                                ? EVP_DigestSignInit_ex(context.get(), nullptr, "SHA256", nullptr,
                                                        nullptr, key, nullptr)
                                : EVP_DigestVerifyInit_ex(context.get(), nullptr, "SHA256", nullptr,
                                                          nullptr, key, nullptr);
    if (initialised != 1) return nullptr;
    std::rotate(slots_.begin(), slots_.end() - 1, slots_.end());
    slots_.front() = Slot{key, purpose, std::move(context)};
    return slots_.front().context.get();
  }

  // A process signs with one or two keys (the issuer's and the provider's)
  // and verifies with as many certificates; a few slots cover that without
  // letting a long run that meets many keys grow.
  std::array<Slot, 8> slots_;
};

PreparedContexts& contexts_of_this_thread() {
  thread_local PreparedContexts contexts;
  return contexts;
}

[[noreturn]] void signing_failed(const PrivateKey& key) {
  throw CryptoError(CryptoErrorCode::kOperationFailed,
                    "cannot sign with key \"" + key.source() + "\": " + openssl::last_error_text());
}

}  // namespace

std::string sign_sha256_base64(const PrivateKey& key, std::string_view data) {
  openssl::MdContext context = contexts_of_this_thread().ready_for(key.get(), Purpose::kSign);
  const int size = EVP_PKEY_get_size(key.get());
  if (!context || size <= 0) signing_failed(key);
  std::size_t length = static_cast<std::size_t>(size);
  std::string signature(length, '\0');
  if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     reinterpret_cast<const unsigned char*>(data.data()), data.size()) != 1) {
    signing_failed(key);
  }
  signature.resize(length);
  return base64_encode(signature);
}

bool verify_sha256_base64(const Certificate& certificate, std::string_view data,
                          std::string_view signature_base64) {
  const auto signature = base64_decode(signature_base64);
  if (!signature || signature->empty()) return false;
  EVP_PKEY* key = certificate.public_key();
  openssl::MdContext context =
      key == nullptr ? nullptr : contexts_of_this_thread().ready_for(key, Purpose::kVerify);
  const bool ok =
      context &&
      EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature->data()),
                       signature->size(), reinterpret_cast<const unsigned char*>(data.data()),
                       data.size()) == 1;
  if (!ok) openssl::last_error_text();  // a bad signature leaves errors queued
  return ok;
}

}  // namespace drovanexis

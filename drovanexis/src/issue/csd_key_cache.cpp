#include "issue/csd_key_cache.h"

#include <openssl/evp.h>

#include <map>
#include <mutex>
#include <string>

#include "crypto/crypto_error.h"
#include "crypto/file_bytes.h"
#include "portable/windows_path.h"

namespace drovanexis::issue {

namespace {

struct CachedKey {
  std::string bytes;
  std::string password;
  openssl::PKey key;
};

// Another owner of the same key: EVP_PKEY is reference-counted, and a key
// used only for signing may be shared between threads.
openssl::PKey share(EVP_PKEY* key) {
  if (EVP_PKEY_up_ref(key) != 1) {
    throw CryptoError(CryptoErrorCode::kOperationFailed, "cannot share an opened CSD key");
  }
  return openssl::PKey(key);
}

// One entry per key file the process used; a program uses a handful.
class CsdKeyCache {
 public:
  static CsdKeyCache& instance() {
    static CsdKeyCache cache;
    return cache;
  }

  PrivateKey open(std::string_view file_name, std::string_view password) {
    const std::string bytes = read_crypto_file(file_name, "key");
    const std::string name = portable::resolve_path(file_name).lexically_normal().string();
    {
      std::lock_guard lock(mutex_);
      const auto found = keys_.find(name);
      if (found != keys_.end() && found->second.bytes == bytes &&
          found->second.password == password) {
        return PrivateKey(share(found->second.key.get()), std::string(file_name));
      }
    }
    // Decrypted outside the lock; a failure leaves the cache as it was.
    PrivateKey opened = PrivateKey::from_bytes(bytes, password, file_name);
    std::lock_guard lock(mutex_);
    keys_[name] = CachedKey{bytes, std::string(password), share(opened.get())};
    return opened;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, CachedKey> keys_;
};

}  // namespace

PrivateKey open_csd_key(std::string_view file_name, std::string_view password) {
  return CsdKeyCache::instance().open(file_name, password);
}

}  // namespace drovanexis::issue

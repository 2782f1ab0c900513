#include "sandbox/provider_key_cache.h"

#include <openssl/evp.h>

#include <map>
#include <mutex>

#include "crypto/crypto_error.h"

namespace drovanexis::sandbox {

namespace {

struct CachedKey {
  std::string key_der;
  std::string key_password;
  openssl::PKey key;
};

// The process-wide cache of opened provider keys, by state file. It holds one
// entry per state file the process has stamped with, so it stays tiny.
class ProviderKeyCache {
 public:
  static ProviderKeyCache& instance() {
    static ProviderKeyCache cache;
    return cache;
  }

  PrivateKey open(const std::filesystem::path& state_file, const std::string& key_der,
                  const std::string& key_password, const std::string& source) {
    const std::string name = std::filesystem::absolute(state_file).lexically_normal().string();
    {
      std::lock_guard lock(mutex_);
      const auto found = keys_.find(name);
      if (found != keys_.end() && found->second.key_der == key_der &&
          found->second.key_password == key_password) {
        return PrivateKey(share(found->second.key.get()), source);
      }
    }
    // Decrypted outside the lock: a wrong password or damaged key throws here
    // and leaves the cache as it was.
    PrivateKey opened = PrivateKey::from_bytes(key_der, key_password, source);
    std::lock_guard lock(mutex_);
    keys_[name] = CachedKey{key_der, key_password, share(opened.get())};
    return opened;
  }

 private:
  // Another owner of the same key: EVP_PKEY is reference-counted, and a key
  // used only for signing may be shared between threads.
  static openssl::PKey share(EVP_PKEY* key) {
    if (EVP_PKEY_up_ref(key) != 1) {
      throw CryptoError(CryptoErrorCode::kOperationFailed,
                        "cannot share the sandbox provider's key");
    }
    return openssl::PKey(key);
  }

  std::mutex mutex_;
  std::map<std::string, CachedKey> keys_;
};

}  // namespace

PrivateKey open_provider_key(const std::filesystem::path& state_file, const std::string& key_der,
                             const std::string& key_password, const std::string& source) {
  return ProviderKeyCache::instance().open(state_file, key_der, key_password, source);
}

}  // namespace drovanexis::sandbox

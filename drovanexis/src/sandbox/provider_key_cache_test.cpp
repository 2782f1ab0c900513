#include "sandbox/provider_key_cache.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "crypto/certificate_issuer.h"
#include "crypto/crypto_error.h"

namespace drovanexis::sandbox {
namespace {

bool same_key(const PrivateKey& a, const PrivateKey& b) {
  return EVP_PKEY_eq(a.get(), b.get()) == 1;
}

TEST(ProviderKeyCache, OpensTheStoredKeyAndFollowsAChangedOne) {
  const PrivateKey first = generate_rsa_key("first", 1024);
  const PrivateKey second = generate_rsa_key("second", 1024);
  const std::string first_der = first.to_encrypted_der("uno");
  const std::string second_der = second.to_encrypted_der("dos");

  // Opened twice (the second time from the cache), then from another state
  // file, then after the first state file's provider was issued again.
  EXPECT_TRUE(same_key(open_provider_key("a.db", first_der, "uno", "a.db"), first));
  const PrivateKey again = open_provider_key("a.db", first_der, "uno", "a.db (provider)");
  EXPECT_TRUE(same_key(again, first));
  EXPECT_EQ(again.source(), "a.db (provider)");
  EXPECT_TRUE(same_key(open_provider_key("b.db", second_der, "dos", "b.db"), second));
  EXPECT_TRUE(same_key(open_provider_key("a.db", second_der, "dos", "a.db"), second));
  EXPECT_TRUE(same_key(open_provider_key("b.db", second_der, "dos", "b.db"), second));
}

TEST(ProviderKeyCache, ACachedKeyDoesNotHideAWrongPasswordOrDamagedBytes) {
  const PrivateKey key = generate_rsa_key("key", 1024);
  const std::string der = key.to_encrypted_der("correcta");
  ASSERT_TRUE(same_key(open_provider_key("c.db", der, "correcta", "c.db"), key));

  const struct {
    std::string der;
    std::string password;
    CryptoErrorCode expected;
  } cases[] = {
      {der, "incorrecta", CryptoErrorCode::kWrongPassword},
      {der.substr(0, der.size() / 2), "correcta", CryptoErrorCode::kKeyDamaged},
  };
  for (const auto& c : cases) {
    try {
      open_provider_key("c.db", c.der, c.password, "c.db");
      ADD_FAILURE() << "opened with password \"" << c.password << "\"";
    } catch (const CryptoError& e) {
      EXPECT_EQ(e.code(), c.expected) << e.what();
    }
  }
  // The failures left the good entry usable.
  EXPECT_TRUE(same_key(open_provider_key("c.db", der, "correcta", "c.db"), key));
}

}  // namespace
}  // namespace drovanexis::sandbox

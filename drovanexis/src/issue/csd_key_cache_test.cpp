#include "issue/csd_key_cache.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "crypto/crypto_error.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/sandbox_test_support.h"

namespace drovanexis::issue {
namespace {

using sandbox::testing::kKeyPassword;
using sandbox::testing::TestPki;

TEST(CsdKeyCache, ReusesTheOpenedKeyOnlyForTheSameBytesAndPassword) {
  portable::TestFolder folder;
  const auto& pki = TestPki::shared();
  portable::write_file_atomic("csd.key", pki.holder_key().to_encrypted_der(kKeyPassword));

  const PrivateKey first = open_csd_key("csd.key", kKeyPassword);
  const PrivateKey again = open_csd_key("csd.key", kKeyPassword);
  EXPECT_EQ(first.get(), again.get()) << "the second call decrypted the key again";
  EXPECT_EQ(again.source(), "csd.key");

  // A wrong password is refused even though the key is cached.
  try {
    open_csd_key("csd.key", "otra");
    FAIL() << "a wrong password opened the cached key";
  } catch (const CryptoError& error) {
    EXPECT_EQ(error.code(), CryptoErrorCode::kWrongPassword);
  }

  // A file replaced with another key (another password) is opened afresh.
  portable::write_file_atomic("csd.key", pki.provider_record().key_der);
  const std::string provider_password = pki.provider_record().key_password;
  const PrivateKey replaced = open_csd_key("csd.key", provider_password);
  EXPECT_NE(replaced.get(), first.get());
  EXPECT_FALSE(replaced.matches(pki.csd("CACX7605101P8", 0, 2000000000)));
  EXPECT_THROW(open_csd_key("csd.key", kKeyPassword), CryptoError);

  // A file that is gone is reported as missing, not served from the cache.
  std::filesystem::remove("csd.key");
  try {
    open_csd_key("csd.key", provider_password);
    FAIL() << "a missing key file was served from the cache";
  } catch (const CryptoError& error) {
    EXPECT_EQ(error.code(), CryptoErrorCode::kFileNotFound);
  }
}

}  // namespace
}  // namespace drovanexis::issue

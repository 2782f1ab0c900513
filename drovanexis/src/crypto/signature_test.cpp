#include "crypto/signature.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "crypto/certificate_issuer.h"
#include "crypto/crypto_error.h"

namespace drovanexis {
namespace {

// A self-signed certificate with its key; small keys keep the test quick.
struct Signer {
  explicit Signer(const std::string& serial)
      : key(generate_rsa_key("key-" + serial, 1024)),
        certificate(
            issue_certificate({csd_subject("PRUEBA " + serial, "AAA010101AAA", "", "X"), serial,
                               std::time(nullptr) - 60, std::time(nullptr) + 3600, false},
                              key, nullptr, key, "cert-" + serial)) {}
  PrivateKey key;
  Certificate certificate;
};

std::vector<std::unique_ptr<Signer>> make_signers(int count) {
  std::vector<std::unique_ptr<Signer>> signers;
  for (int i = 0; i < count; ++i) {
    signers.push_back(std::make_unique<Signer>("0000100000050000000" + std::to_string(i % 10)));
  }
  return signers;
}

// Each thread keeps prepared contexts per key: a signature must always be
// made with the key asked for, however many keys take turns (more than the
// contexts kept), and must not verify with another key's certificate.
TEST(Signature, ManyKeysInTurnEachSignWithTheirOwnKey) {
  const auto signers = make_signers(11);
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = 0; i < signers.size(); ++i) {
      const std::string text = "texto " + std::to_string(round) + "/" + std::to_string(i);
      const std::string signature = sign_sha256_base64(signers[i]->key, text);
      EXPECT_TRUE(verify_sha256_base64(signers[i]->certificate, text, signature)) << i;
      const auto& other = signers[(i + 1) % signers.size()];
      EXPECT_FALSE(verify_sha256_base64(other->certificate, text, signature)) << i;
      EXPECT_FALSE(verify_sha256_base64(signers[i]->certificate, text + ".", signature)) << i;
    }
  }
}

// A key freed and another made in its place (often at the same address)
// must not be signed for with the first key's prepared context.
TEST(Signature, AKeyMadeAfterAnotherIsFreedSignsWithItself) {
  for (int i = 0; i < 4; ++i) {
    Signer signer("0000100000050000000" + std::to_string(i));
    const std::string signature = sign_sha256_base64(signer.key, "hola");
    EXPECT_TRUE(verify_sha256_base64(signer.certificate, "hola", signature)) << i;
  }
}

TEST(Signature, ThreadsSignAndVerifyWithSharedKeys) {
  const auto signers = make_signers(3);
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 60; ++i) {
        const Signer& signer = *signers[static_cast<std::size_t>(i + t) % signers.size()];
        const std::string text = std::to_string(t) + ":" + std::to_string(i);
        if (!verify_sha256_base64(signer.certificate, text, sign_sha256_base64(signer.key, text)))
          ++wrong[static_cast<std::size_t>(t)];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

// Certificates read from bytes are shared between equal bytes only: each of
// several certificates keeps its own number and key, a damaged one is
// refused every time, and one shared copy outlives the others.
TEST(Certificate, CertificatesReadAgainKeepTheirOwnIdentity) {
  const auto signers = make_signers(3);
  for (int round = 0; round < 2; ++round) {
    for (const auto& signer : signers) {
      const Certificate again = Certificate::from_bytes(signer->certificate.der(), "again");
      EXPECT_EQ(again.number(), signer->certificate.number());
      EXPECT_EQ(again.der(), signer->certificate.der());
      EXPECT_EQ(again.source(), "again");
      EXPECT_TRUE(verify_sha256_base64(again, "x", sign_sha256_base64(signer->key, "x")));
    }
  }
  std::string damaged = signers[0]->certificate.der();
  damaged.resize(damaged.size() / 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_THROW(Certificate::from_bytes(damaged, "damaged"), CryptoError);
  }
  std::optional<Certificate> kept;
  {
    const Certificate first = Certificate::from_bytes(signers[1]->certificate.der(), "first");
    kept.emplace(Certificate::from_bytes(signers[1]->certificate.der(), "second"));
  }
  EXPECT_EQ(kept->number(), signers[1]->certificate.number());
  EXPECT_TRUE(verify_sha256_base64(*kept, "y", sign_sha256_base64(signers[1]->key, "y")));
}

// An authority of the same name with another key did not issue the
// certificate, before or after the real one is found to have.
TEST(Certificate, IssuerIsJudgedByItsKeyEveryTime) {
  const auto authority = [](const PrivateKey& key) {
    return issue_certificate(
        {{{"CN", "AC DE PRUEBA"}}, "1", std::time(nullptr) - 60, std::time(nullptr) + 3600, true},
        key, nullptr, key, "ca.cer");
  };
  const PrivateKey real_key = generate_rsa_key("ca", 1024);
  const PrivateKey impostor_key = generate_rsa_key("otra", 1024);
  const Certificate real = authority(real_key);
  const Certificate impostor = authority(impostor_key);
  const PrivateKey key = generate_rsa_key("csd", 1024);
  const Certificate csd =
      issue_certificate({csd_subject("PRUEBA", "AAA010101AAA", "", "X"), "00001000000500000001",
                         std::time(nullptr) - 60, std::time(nullptr) + 3600, false},
                        key, &real, real_key, "csd.cer");
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(csd.issued_by(impostor)) << i;
    EXPECT_TRUE(csd.issued_by(real)) << i;
    EXPECT_TRUE(Certificate::from_bytes(csd.der(), "again").issued_by(real)) << i;
    EXPECT_FALSE(real.issued_by(csd)) << i;
  }
}

}  // namespace
}  // namespace drovanexis

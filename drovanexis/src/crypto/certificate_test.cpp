#include "crypto/certificate.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/x509.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "cadena/sat_oracle.h"
#include "crypto/certificate_issuer.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "crypto/signature.h"
#include "portable/test_folder.h"
#include "tests/support/sat_folder.h"

namespace drovanexis {
namespace {

using testing::run_command;
using testing::sat_dir;
using testing::shell_quoted;

const std::filesystem::path kCerts = sat_dir() / "examples" / "certs";
constexpr const char* kExamplePassword = "12345678a";

void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The certificate number as the openssl command line tells the serial.
std::string number_from_openssl(const std::filesystem::path& certificate) {
  const auto result = run_command("openssl x509 -inform der -noout -serial -in " +
                                  shell_quoted(certificate.string()));
  std::string hex = result.output.substr(result.output.find('=') + 1);
  std::string digits;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    digits += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return digits;
}

TEST(Certificate, ReadsNumberRfcValidityAndKindOfTheExampleCertificate) {
  const auto file = kCerts / "emisor-CACX7605101P8.cer";
  CFDI_REQUIRE_SAT(std::filesystem::exists(file), "example certificates not found in " << kCerts);
  const Certificate certificate = Certificate::load(file.string());

  EXPECT_EQ(certificate.number(), "00001000000700000001");
  EXPECT_EQ(certificate.number(), number_from_openssl(file));
  EXPECT_EQ(certificate.rfc(), "CACX7605101P8");
  EXPECT_EQ(certificate.holder_name(), "CONTRIBUYENTE DE PRUEBA");
  EXPECT_TRUE(certificate.is_csd());
  EXPECT_EQ(certificate.der(), read_bytes(file));
  // 2017-01-01T00:00:00Z to 2030-12-31T23:59:59Z, as the openssl tool shows.
  EXPECT_EQ(certificate.valid_from(), 1483228800);
  EXPECT_EQ(certificate.valid_until(), 1924991999);

  const auto base64 = run_command("base64 -w0 " + shell_quoted(file.string()));
  EXPECT_EQ(certificate.base64(), base64.output);
}

TEST(Certificate, PemAndWindowsStyleNamesLoadTheSameCertificate) {
  const auto file = kCerts / "emisor-KIJ0906199R1.cer";
  CFDI_REQUIRE_SAT(std::filesystem::exists(file), "example certificates not found in " << kCerts);
  portable::TestFolder folder;
  std::filesystem::copy_file(file, "CSD_KIJ0906199R1.cer");
  run_command("openssl x509 -inform der -in CSD_KIJ0906199R1.cer -out cert.pem");

  const Certificate from_der = Certificate::load(".\\CSD_KIJ0906199R1.CER");
  const Certificate from_pem = Certificate::load("cert.pem");
  EXPECT_EQ(from_der.rfc(), "KIJ0906199R1");
  EXPECT_EQ(from_pem.der(), from_der.der());
  EXPECT_EQ(from_pem.number(), number_from_openssl(file));
}

TEST(Certificate, RfcOfACompanyIsTheTextBeforeTheRepresentative) {
  const PrivateKey key = generate_rsa_key("company", 1024);
  const std::time_t now = std::time(nullptr);
  const CertificateRequest request{
      csd_subject("EMPRESA SA DE CV", "KIJ0906199R1 / VAAM130719H60", " / VAAM130719HDFLLR05", ""),
      "20001000000300022815", now - 60, now + 3600, false};
  const Certificate certificate = issue_certificate(request, key, nullptr, key, "company.cer");
  EXPECT_EQ(certificate.rfc(), "KIJ0906199R1");
  EXPECT_EQ(certificate.number(), "20001000000300022815");
  EXPECT_FALSE(certificate.is_csd()) << "no OU: an e.firma, not a CSD";

  const CertificateRequest not_sat{csd_subject("X", "XAXX010101000", "", "b"), "\x01\x02", now,
                                   now + 60, false};
  EXPECT_EQ(issue_certificate(not_sat, key, nullptr, key, "odd.cer").number(), "")
      << "a serial whose bytes are not digits gives no certificate number";
}

TEST(PrivateKey, ExampleKeyOpensWithItsPasswordAndMatchesOnlyItsCertificate) {
  const auto cer = kCerts / "emisor-CACX7605101P8.cer";
  CFDI_REQUIRE_SAT(std::filesystem::exists(cer), "example certificates not found in " << kCerts);
  const Certificate own = Certificate::load(cer.string());
  const Certificate other = Certificate::load((kCerts / "emisor-KIJ0906199R1.cer").string());
  const PrivateKey key =
      PrivateKey::load((kCerts / "emisor-CACX7605101P8.key").string(), kExamplePassword);
  EXPECT_TRUE(key.matches(own));
  EXPECT_FALSE(key.matches(other));

  const std::string signature = sign_sha256_base64(key, "||3.3|datos||");
  EXPECT_TRUE(verify_sha256_base64(own, "||3.3|datos||", signature));
  EXPECT_FALSE(verify_sha256_base64(own, "||3.3|datoS||", signature));
  EXPECT_FALSE(verify_sha256_base64(other, "||3.3|datos||", signature));
  EXPECT_FALSE(verify_sha256_base64(own, "||3.3|datos||", "not base64!"));

  // The same key written as encrypted PEM opens again, with the new password.
  const PrivateKey again = PrivateKey::from_bytes(key.to_encrypted_pem("otra"), "otra", "key.pem");
  EXPECT_TRUE(again.matches(own));
}

// Each bad input gives its own error code, and the message names the file.
TEST(CryptoErrors, EachBadInputHasItsOwnClearError) {
  const auto cer = kCerts / "emisor-CACX7605101P8.cer";
  CFDI_REQUIRE_SAT(std::filesystem::exists(cer), "example certificates not found in " << kCerts);
  portable::TestFolder folder;
  const std::string good_cer = read_bytes(cer);
  const std::string good_key = read_bytes(kCerts / "emisor-CACX7605101P8.key");
  write_bytes("good.cer", good_cer);
  write_bytes("good.key", good_key);
  write_bytes("empty.cer", "");
  write_bytes("text.cer", "esto no es un certificado");
  write_bytes("truncated.cer", good_cer.substr(0, good_cer.size() / 2));
  write_bytes("trailing.cer", good_cer + "xx");
  write_bytes("bad.pem", "-----BEGIN CERTIFICATE-----\nAAAA\n-----END CERTIFICATE-----\n");
  write_bytes("truncated.key", good_key.substr(0, good_key.size() - 40));
  write_bytes("cert-as.key", good_cer);
  std::filesystem::create_directory("folder.cer");

  const struct {
    const char* label;
    std::function<void()> action;
    CryptoErrorCode code;
    const char* named;
  } cases[] = {
      {"missing certificate", [] { Certificate::load("nada.cer"); }, CryptoErrorCode::kFileNotFound,
       "nada.cer"},
      {"missing key", [] { PrivateKey::load(".\\nada.key", "x"); }, CryptoErrorCode::kFileNotFound,
       "nada.key"},
      {"a folder, not a file", [] { Certificate::load("folder.cer"); },
       CryptoErrorCode::kNotRegularFile, "folder.cer"},
      {"empty certificate", [] { Certificate::load("empty.cer"); },
       CryptoErrorCode::kCertificateDamaged, "empty.cer"},
      {"text as certificate", [] { Certificate::load("text.cer"); },
       CryptoErrorCode::kCertificateDamaged, "text.cer"},
      {"truncated certificate", [] { Certificate::load("truncated.cer"); },
       CryptoErrorCode::kCertificateDamaged, "truncated.cer"},
      {"bytes after the certificate", [] { Certificate::load("trailing.cer"); },
       CryptoErrorCode::kCertificateDamaged, "trailing.cer"},
      {"broken PEM", [] { Certificate::load("bad.pem"); }, CryptoErrorCode::kCertificateDamaged,
       "bad.pem"},
      {"wrong password", [] { PrivateKey::load("good.key", "24681357q"); },
       CryptoErrorCode::kWrongPassword, "good.key"},
      {"empty password", [] { PrivateKey::load("good.key", ""); }, CryptoErrorCode::kWrongPassword,
       "good.key"},
      {"truncated key", [] { PrivateKey::load("truncated.key", kExamplePassword); },
       CryptoErrorCode::kKeyDamaged, "truncated.key"},
      {"certificate given as key", [] { PrivateKey::load("cert-as.key", kExamplePassword); },
       CryptoErrorCode::kKeyDamaged, "cert-as.key"},
      {"key of another certificate",
       [] {
         PrivateKey::load("good.key", kExamplePassword)
             .require_match(Certificate::load((kCerts / "emisor-KIJ0906199R1.cer").string()));
       },
       CryptoErrorCode::kKeyMismatch, "good.key"},
  };
  for (const auto& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.label << ": no error";
    } catch (const CryptoError& error) {
      EXPECT_EQ(error.code(), c.code) << c.label << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos)
          << c.label << ": " << error.what();
    }
  }
}

// A FIFO would block a plain open until some writer came; a device would be
// read for ever. Each is refused at once, as not a regular file.
TEST(CryptoErrors, FilesThatAreNotRegularAreRefusedWithoutWaiting) {
  portable::TestFolder folder;
  ASSERT_EQ(::mkfifo("pipe.cer", 0600), 0);
  ASSERT_EQ(::mkfifo("pipe.key", 0600), 0);
  const struct {
    const char* label;
    std::function<void()> action;
    const char* named;
  } cases[] = {
      {"FIFO as certificate", [] { Certificate::load("pipe.cer"); }, "pipe.cer"},
      {"FIFO as key", [] { PrivateKey::load("pipe.key", "x"); }, "pipe.key"},
      {"device as certificate", [] { Certificate::load("/dev/zero"); }, "/dev/zero"},
  };
  for (const auto& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.label << ": no error";
    } catch (const CryptoError& error) {
      EXPECT_EQ(error.code(), CryptoErrorCode::kNotRegularFile) << c.label << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
    }
  }
}

// An encrypted key whose password derivation asks for `iterations`, under
// PBES2 with PBKDF2 or under the older PKCS#5 scheme. Only the header is real:
// a key over the cap must be refused before anything is derived or decrypted.
std::string key_asking_for(long iterations, bool pbes2) {
  unsigned char salt[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  X509_ALGOR* scheme = pbes2 ? PKCS5_pbe2_set_iv(EVP_aes_256_cbc(), static_cast<int>(iterations),
                                                 salt, sizeof salt, nullptr, NID_hmacWithSHA256)
                             : PKCS5_pbe_set(NID_pbeWithSHA1AndDES_CBC,
                                             static_cast<int>(iterations), salt, sizeof salt);
  X509_SIG* sig = X509_SIG_new();
  X509_ALGOR* algorithm = nullptr;
  ASN1_OCTET_STRING* data = nullptr;
  X509_SIG_getm(sig, &algorithm, &data);
  const ASN1_OBJECT* oid = nullptr;
  int type = 0;
  const void* value = nullptr;
  X509_ALGOR_get0(&oid, &type, &value, scheme);
  X509_ALGOR_set0(algorithm, OBJ_dup(oid), type,
                  ASN1_STRING_dup(static_cast<const ASN1_STRING*>(value)));
  ASN1_OCTET_STRING_set(data, reinterpret_cast<const unsigned char*>("0123456789abcdef"), 16);
  unsigned char* der = nullptr;
  const int length = i2d_X509_SIG(sig, &der);
  std::string bytes(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
  OPENSSL_free(der);
  X509_SIG_free(sig);
  X509_ALGOR_free(scheme);
  return bytes;
}

TEST(CryptoErrors, KeysAskingForTooManyIterationsAreRefusedBeforeDeriving) {
  for (const bool pbes2 : {true, false}) {
    for (const long iterations : {kMaxKeyIterations + 1, 2147483647L}) {
      try {
        PrivateKey::from_bytes(key_asking_for(iterations, pbes2), "pw", "costly.key");
        ADD_FAILURE() << iterations << " iterations accepted";
      } catch (const CryptoError& error) {
        EXPECT_EQ(error.code(), CryptoErrorCode::kKeyTooCostly) << error.what();
        EXPECT_NE(std::string(error.what()).find("costly.key"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find(std::to_string(iterations)), std::string::npos)
            << error.what();
      }
    }
    // Under the cap the header passes and the password is what fails.
    try {
      PrivateKey::from_bytes(key_asking_for(2048, pbes2), "pw", "cheap.key");
      ADD_FAILURE() << "a key of random bytes opened";
    } catch (const CryptoError& error) {
      EXPECT_NE(error.code(), CryptoErrorCode::kKeyTooCostly) << error.what();
    }
  }
}

TEST(CertificateIssuer, CertificatesVerifyAgainstTheirAuthorityOnly) {
  const std::time_t now = std::time(nullptr);
  const PrivateKey authority_key = generate_rsa_key("ca", 1024);
  const Certificate authority = issue_certificate(
      {{{"CN", "AC DE PRUEBA"}, {"O", "AUTORIDAD DE PRUEBA"}}, "1", now - 60, now + 3600, true},
      authority_key, nullptr, authority_key, "ca.cer");
  const PrivateKey other_key = generate_rsa_key("other", 1024);
  const Certificate other = issue_certificate(
      {{{"CN", "AC DE PRUEBA"}, {"O", "AUTORIDAD DE PRUEBA"}}, "2", now - 60, now + 3600, true},
      other_key, nullptr, other_key, "other.cer");

  const PrivateKey holder_key = generate_rsa_key("csd", 1024);
  const Certificate csd = issue_certificate(
      {csd_subject("PERSONA DE PRUEBA", "CACX7605101P8", "CACX760510MGTSHC04", "Sucursal 1"),
       "00001000000500000042", now - 86400, now - 3600, false},
      holder_key, &authority, authority_key, "expired.cer");
  EXPECT_TRUE(csd.issued_by(authority));
  EXPECT_FALSE(csd.issued_by(other)) << "same name, another key";
  EXPECT_TRUE(csd.is_csd());
  EXPECT_EQ(csd.valid_until(), now - 3600);
  EXPECT_LT(csd.valid_until(), now) << "expired certificates can be made for tests";
}

}  // namespace
}  // namespace drovanexis

#include "crypto/private_key.h"

#include <openssl/asn1t.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

#include <cstdint>
#include <memory>

#include "crypto/crypto_error.h"
#include "crypto/file_bytes.h"

namespace drovanexis {
namespace {

[[noreturn]] void damaged(std::string_view source, const std::string& why) {
  throw CryptoError(
      CryptoErrorCode::kKeyDamaged,
      "key \"" + std::string(source) + "\" is damaged or not an encrypted PKCS#8 key: " + why);
}

// The EncryptedPrivateKeyInfo structure of the file, DER or PEM.
openssl::X509Sig parse_encrypted(std::string_view bytes, std::string_view source) {
  if (bytes.empty()) damaged(source, "the file is empty");
  if (openssl::looks_like_pem(bytes)) {
    auto bio = openssl::memory_bio(bytes);
    openssl::X509Sig sig(PEM_read_bio_PKCS8(bio.get(), nullptr, nullptr, nullptr));
    if (!sig) damaged(source, openssl::last_error_text());
    return sig;
  }
  const auto* start = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* cursor = start;
  openssl::X509Sig sig(d2i_X509_SIG(nullptr, &cursor, static_cast<long>(bytes.size())));
  if (!sig) damaged(source, openssl::last_error_text());
  if (cursor != start + bytes.size()) damaged(source, "unexpected bytes after the key");
  return sig;
}

template <typename Params>
struct AsnDeleter;
template <>
struct AsnDeleter<PBE2PARAM> {
  void operator()(PBE2PARAM* p) const { PBE2PARAM_free(p); }
};
template <>
struct AsnDeleter<PBKDF2PARAM> {
  void operator()(PBKDF2PARAM* p) const { PBKDF2PARAM_free(p); }
};
template <>
struct AsnDeleter<PBEPARAM> {
  void operator()(PBEPARAM* p) const { PBEPARAM_free(p); }
};
template <typename Params>
using AsnPtr = std::unique_ptr<Params, AsnDeleter<Params>>;

// The parameters of an algorithm identifier decoded as `item`; null when
// they are absent or do not decode.
template <typename Params>
AsnPtr<Params> parameters(const X509_ALGOR* algorithm, const ASN1_ITEM* item) {
  const ASN1_OBJECT* oid = nullptr;
  int type = 0;
  const void* value = nullptr;
  X509_ALGOR_get0(&oid, &type, &value, algorithm);
  if (type != V_ASN1_SEQUENCE || value == nullptr) return nullptr;
  return AsnPtr<Params>(
      static_cast<Params*>(ASN1_item_unpack(static_cast<const ASN1_STRING*>(value), item)));
}

int algorithm_nid(const X509_ALGOR* algorithm) {
  const ASN1_OBJECT* oid = nullptr;
  X509_ALGOR_get0(&oid, nullptr, nullptr, algorithm);
  return OBJ_obj2nid(oid);
}

// The iteration count the key's password derivation asks for (PBES2 with
// PBKDF2, or the older PKCS#5 and PKCS#12 schemes); 0 when the scheme names
// none that this code reads, in which case OpenSSL judges it.
std::int64_t iteration_count(const X509_SIG& sig) {
  const X509_ALGOR* algorithm = nullptr;
  X509_SIG_get0(&sig, &algorithm, nullptr);
  const ASN1_INTEGER* iterations = nullptr;
  AsnPtr<PBE2PARAM> pbes2;
  AsnPtr<PBKDF2PARAM> pbkdf2;
  AsnPtr<PBEPARAM> pbe;
  if (algorithm_nid(algorithm) == NID_pbes2) {
    pbes2 = parameters<PBE2PARAM>(algorithm, ASN1_ITEM_rptr(PBE2PARAM));
    if (!pbes2 || algorithm_nid(pbes2->keyfunc) != NID_id_pbkdf2) return 0;
    pbkdf2 = parameters<PBKDF2PARAM>(pbes2->keyfunc, ASN1_ITEM_rptr(PBKDF2PARAM));
    if (pbkdf2) iterations = pbkdf2->iter;
  } else {
    pbe = parameters<PBEPARAM>(algorithm, ASN1_ITEM_rptr(PBEPARAM));
    if (pbe) iterations = pbe->iter;
  }
  std::int64_t count = 0;
  if (iterations == nullptr || ASN1_INTEGER_get_int64(&count, iterations) != 1) {
    openssl::last_error_text();  // empties the queue
    return 0;
  }
  return count;
}

// Each iteration is a round of the password hash: an unbounded count lets a
// key file hold a call for minutes before any answer.
void require_affordable(const X509_SIG& sig, std::string_view source) {
  const std::int64_t iterations = iteration_count(sig);
  if (iterations > kMaxKeyIterations) {
    throw CryptoError(CryptoErrorCode::kKeyTooCostly,
                      "key \"" + std::string(source) + "\" asks for " + std::to_string(iterations) +
                          " password iterations; at most " + std::to_string(kMaxKeyIterations) +
                          " are accepted");
  }
}

std::string encrypted(EVP_PKEY* key, std::string_view password, bool pem,
                      const std::string& source) {
  openssl::Bio bio(BIO_new(BIO_s_mem()));
  const auto length = static_cast<int>(password.size());
  const int ok = pem ? PEM_write_bio_PKCS8PrivateKey(bio.get(), key, EVP_des_ede3_cbc(),
                                                     password.data(), length, nullptr, nullptr)
                     : i2d_PKCS8PrivateKey_bio(bio.get(), key, EVP_des_ede3_cbc(), password.data(),
                                               length, nullptr, nullptr);
  if (ok != 1) {
    throw CryptoError(CryptoErrorCode::kOperationFailed,
                      "cannot encode key \"" + source + "\": " + openssl::last_error_text());
  }
  return openssl::bio_contents(bio.get());
}

}  // namespace

PrivateKey PrivateKey::load(std::string_view file_name, std::string_view password) {
  return from_bytes(read_crypto_file(file_name, "key"), password, file_name);
}

PrivateKey PrivateKey::from_bytes(std::string_view bytes, std::string_view password,
                                  std::string_view source) {
  const openssl::X509Sig sig = parse_encrypted(bytes, source);
  require_affordable(*sig, source);
  openssl::Pkcs8Info info(PKCS8_decrypt_ex(sig.get(), password.data(),
                                           static_cast<int>(password.size()), nullptr, nullptr));
  if (!info) {
    openssl::last_error_text();  // empties the queue
    throw CryptoError(CryptoErrorCode::kWrongPassword,
                      "the password does not open key \"" + std::string(source) + "\"");
  }
  openssl::PKey key(EVP_PKCS82PKEY_ex(info.get(), nullptr, nullptr));
  if (!key) damaged(source, openssl::last_error_text());
  return PrivateKey(std::move(key), std::string(source));
}

PrivateKey::PrivateKey(openssl::PKey key, std::string source)
    : key_(std::move(key)), source_(std::move(source)) {}

bool PrivateKey::matches(const Certificate& certificate) const {
  const EVP_PKEY* certificate_key = certificate.public_key();
  return certificate_key != nullptr && EVP_PKEY_eq(key_.get(), certificate_key) == 1;
}

void PrivateKey::require_match(const Certificate& certificate) const {
  if (matches(certificate)) return;
  throw CryptoError(
      CryptoErrorCode::kKeyMismatch,
      "key \"" + source_ + "\" does not belong to certificate \"" + certificate.source() + "\"");
}

std::string PrivateKey::to_encrypted_der(std::string_view password) const {
  return encrypted(key_.get(), password, false, source_);
}

std::string PrivateKey::to_encrypted_pem(std::string_view password) const {
  return encrypted(key_.get(), password, true, source_);
}

}  // namespace drovanexis

#include "crypto/private_key.h"

#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

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

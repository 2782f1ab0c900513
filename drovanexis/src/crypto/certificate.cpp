#include "crypto/certificate.h"

#include <openssl/asn1.h>
#include <openssl/bn.h>
#include <openssl/objects.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>

#include "crypto/base64.h"
#include "crypto/crypto_error.h"
#include "crypto/file_bytes.h"
#include "crypto/parsed_certificates.h"

namespace drovanexis {
namespace {

[[noreturn]] void damaged(std::string_view source, const std::string& why) {
  throw CryptoError(
      CryptoErrorCode::kCertificateDamaged,
      "certificate \"" + std::string(source) + "\" is damaged or not a certificate: " + why);
}

openssl::X509Ptr parse(std::string_view bytes, std::string_view source) {
  if (bytes.empty()) damaged(source, "the file is empty");
  if (openssl::looks_like_pem(bytes)) {
    auto bio = openssl::memory_bio(bytes);
    openssl::X509Ptr x509(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    if (!x509) damaged(source, openssl::last_error_text());
    return x509;
  }
  const auto* start = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* cursor = start;
  openssl::X509Ptr x509(d2i_X509(nullptr, &cursor, static_cast<long>(bytes.size())));
  if (!x509) damaged(source, openssl::last_error_text());
  if (cursor != start + bytes.size()) damaged(source, "unexpected bytes after the certificate");
  return x509;
}

std::string der_of(X509* x509, std::string_view source) {
  unsigned char* der = nullptr;
  const int length = i2d_X509(x509, &der);
  if (length <= 0) damaged(source, openssl::last_error_text());
  std::string bytes(reinterpret_cast<char*>(der), static_cast<std::size_t>(length));
  OPENSSL_free(der);
  return bytes;
}

std::string entry_text(const X509_NAME* name, int nid) {
  const int index = X509_NAME_get_index_by_NID(name, nid, -1);
  if (index < 0) return {};
  const ASN1_STRING* data = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index));
  unsigned char* utf8 = nullptr;
  const int length = ASN1_STRING_to_UTF8(&utf8, data);
  if (length < 0) return {};
  std::string text(reinterpret_cast<char*>(utf8), static_cast<std::size_t>(length));
  OPENSSL_free(utf8);
  return text;
}

std::time_t to_time(const ASN1_TIME* time) {
  std::tm parts{};
  if (ASN1_TIME_to_tm(time, &parts) != 1) return 0;
  return timegm(&parts);
}

}  // namespace

Certificate Certificate::load(std::string_view file_name) {
  return from_bytes(read_crypto_file(file_name, "certificate"), file_name);
}

Certificate Certificate::from_bytes(std::string_view bytes, std::string_view source) {
  ParsedCertificate parsed = parse_certificate_cached(bytes, [&](std::string_view text) {
    openssl::X509Ptr x509 = parse(text, source);
    std::string der = der_of(x509.get(), source);
    return ParsedCertificate{std::move(x509), std::move(der)};
  });
  return Certificate(std::move(parsed.x509), std::string(source), std::move(parsed.der));
}

Certificate::Certificate(openssl::X509Ptr x509, std::string source)
    : x509_(std::move(x509)), source_(std::move(source)), der_(der_of(x509_.get(), source_)) {}

Certificate::Certificate(openssl::X509Ptr x509, std::string source, std::string der)
    : x509_(std::move(x509)), source_(std::move(source)), der_(std::move(der)) {}

std::string Certificate::base64() const { return base64_encode(der_); }

std::string Certificate::number() const {
  const ASN1_INTEGER* serial = X509_get0_serialNumber(x509_.get());
  std::unique_ptr<BIGNUM, openssl::Deleter<BN_free>> value(ASN1_INTEGER_to_BN(serial, nullptr));
  if (!value || BN_is_negative(value.get())) return {};
  std::string bytes(static_cast<std::size_t>(BN_num_bytes(value.get())), '\0');
  BN_bn2bin(value.get(), reinterpret_cast<unsigned char*>(bytes.data()));
  if (bytes.empty()) return {};
  for (const char c : bytes) {
    if (c < '0' || c > '9') return {};
  }
  return bytes;
}

std::string Certificate::rfc() const {
  const std::string unique =
      entry_text(X509_get_subject_name(x509_.get()), NID_x500UniqueIdentifier);
  const auto start = unique.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  const auto end = unique.find_first_of(" /", start);
  return unique.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string Certificate::holder_name() const {
  return entry_text(X509_get_subject_name(x509_.get()), NID_commonName);
}

std::time_t Certificate::valid_from() const { return to_time(X509_get0_notBefore(x509_.get())); }

std::time_t Certificate::valid_until() const { return to_time(X509_get0_notAfter(x509_.get())); }

bool Certificate::is_csd() const {
  return X509_NAME_get_index_by_NID(X509_get_subject_name(x509_.get()), NID_organizationalUnitName,
                                    -1) >= 0;
}

bool Certificate::issued_by(const Certificate& authority) const {
  return issued_by_cached(der_, authority.der(), [&] {
    if (X509_check_issued(authority.x509(), x509_.get()) != X509_V_OK) return false;
    EVP_PKEY* key = authority.public_key();
    return key != nullptr && X509_verify(x509_.get(), key) == 1;
  });
}

EVP_PKEY* Certificate::public_key() const { return X509_get0_pubkey(x509_.get()); }

}  // namespace drovanexis

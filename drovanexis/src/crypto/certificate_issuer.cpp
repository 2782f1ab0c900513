#include "crypto/certificate_issuer.h"

#include <openssl/bn.h>
#include <openssl/x509v3.h>

#include <memory>

#include "crypto/crypto_error.h"

namespace drovanexis {
namespace {

using NamePtr = std::unique_ptr<X509_NAME, openssl::Deleter<X509_NAME_free>>;
using ExtensionPtr = std::unique_ptr<X509_EXTENSION, openssl::Deleter<X509_EXTENSION_free>>;
using BigNumber = std::unique_ptr<BIGNUM, openssl::Deleter<BN_free>>;

[[noreturn]] void fail(const std::string& label, const std::string& what) {
  throw CryptoError(
      CryptoErrorCode::kOperationFailed,
      "cannot issue certificate \"" + label + "\": " + what + ": " + openssl::last_error_text());
}

NamePtr make_name(const NameEntries& entries, const std::string& label) {
  NamePtr name(X509_NAME_new());
  for (const auto& [field, value] : entries) {
    if (X509_NAME_add_entry_by_txt(name.get(), field.c_str(), MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(value.data()),
                                   static_cast<int>(value.size()), -1, 0) != 1) {
      fail(label, "name entry " + field);
    }
  }
  return name;
}

void set_serial(X509* x509, const std::string& digits, const std::string& label) {
  BigNumber value(BN_bin2bn(reinterpret_cast<const unsigned char*>(digits.data()),
                            static_cast<int>(digits.size()), nullptr));
  if (!value || BN_to_ASN1_INTEGER(value.get(), X509_get_serialNumber(x509)) == nullptr) {
    fail(label, "serial number");
  }
}

void add_extension(X509* x509, X509V3_CTX& context, int nid, const char* value,
                   const std::string& label) {
  ExtensionPtr extension(X509V3_EXT_nconf_nid(nullptr, &context, nid, value));
  if (!extension || X509_add_ext(x509, extension.get(), -1) != 1) fail(label, value);
}

}  // namespace

NameEntries csd_subject(const std::string& holder_name, const std::string& rfc_field,
                        const std::string& curp_field, const std::string& branch) {
  NameEntries entries{{"CN", holder_name},
                      {"name", holder_name},
                      {"O", holder_name},
                      {"x500UniqueIdentifier", rfc_field}};
  if (!curp_field.empty()) entries.emplace_back("serialNumber", curp_field);
  if (!branch.empty()) entries.emplace_back("OU", branch);
  return entries;
}

PrivateKey generate_rsa_key(const std::string& label, int bits) {
  openssl::PKey key(EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", static_cast<std::size_t>(bits)));
  if (!key) {
    throw CryptoError(
        CryptoErrorCode::kOperationFailed,
        "cannot generate an RSA key for \"" + label + "\": " + openssl::last_error_text());
  }
  return PrivateKey(std::move(key), label);
}

Certificate issue_certificate(const CertificateRequest& request, const PrivateKey& subject_key,
                              const Certificate* issuer, const PrivateKey& issuer_key,
                              const std::string& label) {
  openssl::X509Ptr x509(X509_new());
  if (!x509 || X509_set_version(x509.get(), X509_VERSION_3) != 1) fail(label, "new certificate");
  set_serial(x509.get(), request.serial_digits, label);

  const NamePtr subject = make_name(request.subject, label);
  if (X509_set_subject_name(x509.get(), subject.get()) != 1 ||
      X509_set_issuer_name(x509.get(), issuer != nullptr ? X509_get_subject_name(issuer->x509())
                                                         : subject.get()) != 1) {
    fail(label, "names");
  }
  if (ASN1_TIME_set(X509_getm_notBefore(x509.get()), request.not_before) == nullptr ||
      ASN1_TIME_set(X509_getm_notAfter(x509.get()), request.not_after) == nullptr) {
    fail(label, "validity");
  }
  if (X509_set_pubkey(x509.get(), subject_key.get()) != 1) fail(label, "public key");

  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer != nullptr ? issuer->x509() : x509.get(), x509.get(), nullptr,
                 nullptr, 0);
  if (request.authority) {
    add_extension(x509.get(), context, NID_basic_constraints, "critical,CA:TRUE", label);
    add_extension(x509.get(), context, NID_key_usage, "critical,keyCertSign,cRLSign", label);
  } else {
    add_extension(x509.get(), context, NID_basic_constraints, "critical,CA:FALSE", label);
    add_extension(x509.get(), context, NID_key_usage,
                  "critical,digitalSignature,nonRepudiation,dataEncipherment,keyAgreement", label);
  }
  add_extension(x509.get(), context, NID_subject_key_identifier, "hash", label);
  add_extension(x509.get(), context, NID_authority_key_identifier, "keyid:always", label);

  if (X509_sign(x509.get(), issuer_key.get(), EVP_sha256()) <= 0) fail(label, "signature");
  return Certificate(std::move(x509), label);
}

}  // namespace drovanexis

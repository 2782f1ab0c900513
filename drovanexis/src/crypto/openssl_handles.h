#pragma once

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <string_view>

// Owning handles for the OpenSSL objects the crypto part uses.
namespace drovanexis::openssl {

template <auto Free>
struct Deleter {
  template <typename T>
  void operator()(T* p) const {
    Free(p);
  }
};

using Bio = std::unique_ptr<BIO, Deleter<BIO_free_all>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509_free>>;
using PKey = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using MdContext = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX_free>>;
using X509Sig = std::unique_ptr<X509_SIG, Deleter<X509_SIG_free>>;
using Pkcs8Info = std::unique_ptr<PKCS8_PRIV_KEY_INFO, Deleter<PKCS8_PRIV_KEY_INFO_free>>;

// A read-only memory BIO over the bytes (which must outlive it).
Bio memory_bio(std::string_view bytes);

// Everything a memory BIO holds.
std::string bio_contents(BIO* bio);

// OpenSSL's error queue as one line (and the queue emptied), for messages.
std::string last_error_text();

bool looks_like_pem(std::string_view bytes);

}  // namespace drovanexis::openssl

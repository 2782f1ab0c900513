#include "crypto/parsed_certificates.h"

#include <openssl/x509.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "crypto/crypto_error.h"

namespace drovanexis {

namespace {

// Enough for the issuers of a busy batch, the provider and its authority.
constexpr std::size_t kMaxEntries = 16;

struct Entry {
  std::string bytes;
  ParsedCertificate parsed;
};

// Another owner of the same certificate: X509 is reference-counted, and a
// parsed certificate is only read afterwards, which OpenSSL allows from
// several threads.
ParsedCertificate share(const ParsedCertificate& parsed) {
  if (X509_up_ref(parsed.x509.get()) != 1) {
    throw CryptoError(CryptoErrorCode::kOperationFailed, "cannot share a parsed certificate");
  }
  return ParsedCertificate{openssl::X509Ptr(parsed.x509.get()), parsed.der};
}

class CertificateCache {
 public:
  static CertificateCache& instance() {
    static CertificateCache cache;
    return cache;
  }

  ParsedCertificate find_or_parse(std::string_view bytes,
                                  const std::function<ParsedCertificate(std::string_view)>& parse) {
    {
      std::lock_guard lock(mutex_);
      const auto found = std::find_if(entries_.begin(), entries_.end(),
                                      [&](const Entry& entry) { return entry.bytes == bytes; });
      if (found != entries_.end()) {
        // Most recently used first: the last one is the one forgotten.
        std::rotate(entries_.begin(), found, found + 1);
        return share(entries_.front().parsed);
      }
    }
    // Parsed outside the lock; a damaged certificate throws and leaves the
    // cache as it was.
    ParsedCertificate parsed = parse(bytes);
    ParsedCertificate kept = share(parsed);
    std::lock_guard lock(mutex_);
    // Another thread may have parsed the same bytes meanwhile.
    if (std::any_of(entries_.begin(), entries_.end(),
                    [&](const Entry& entry) { return entry.bytes == bytes; })) {
      return parsed;
    }
    if (entries_.size() == kMaxEntries) entries_.pop_back();
    entries_.insert(entries_.begin(), Entry{std::string(bytes), std::move(kept)});
    return parsed;
  }

 private:
  std::mutex mutex_;
  std::vector<Entry> entries_;
};

// Pairs of certificates, subject and issuer, whose signature verified.
class IssuerChecks {
 public:
  static IssuerChecks& instance() {
    static IssuerChecks checks;
    return checks;
  }

  bool issued_by(std::string_view subject, std::string_view authority,
                 const std::function<bool()>& check) {
    {
      std::lock_guard lock(mutex_);
      const auto found = std::find_if(pairs_.begin(), pairs_.end(), [&](const Pair& pair) {
        return pair.subject == subject && pair.authority == authority;
      });
      if (found != pairs_.end()) {
        std::rotate(pairs_.begin(), found, found + 1);
        return true;
      }
    }
    if (!check()) return false;
    std::lock_guard lock(mutex_);
    if (pairs_.size() == kMaxEntries) pairs_.pop_back();
    pairs_.insert(pairs_.begin(), Pair{std::string(subject), std::string(authority)});
    return true;
  }

 private:
  struct Pair {
    std::string subject;
    std::string authority;
  };
  std::mutex mutex_;
  std::vector<Pair> pairs_;
};

}  // namespace

bool issued_by_cached(std::string_view subject_der, std::string_view authority_der,
                      const std::function<bool()>& check) {
  return IssuerChecks::instance().issued_by(subject_der, authority_der, check);
}

ParsedCertificate parse_certificate_cached(
    std::string_view bytes, const std::function<ParsedCertificate(std::string_view)>& parse) {
  return CertificateCache::instance().find_or_parse(bytes, parse);
}

}  // namespace drovanexis

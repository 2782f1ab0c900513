#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "crypto/openssl_handles.h"

namespace drovanexis {

// A parsed certificate and its DER encoding.
struct ParsedCertificate {
  openssl::X509Ptr x509;
  std::string der;
};

// The certificate read from `bytes`: parsed by `parse` the first time those
// bytes are seen, and afterwards shared from a small process-wide cache. A
// provider validates every document with the certificate in its Certificado
// attribute, nearly always one of a few, and parsing it again for each
// document costs more than the rest of its validation. Entries are keyed by
// the exact bytes, so different bytes never share an entry; the cache keeps
// the most recently used few and forgets the others. A parse that throws
// caches nothing. Safe to call from several threads.
ParsedCertificate parse_certificate_cached(
    std::string_view bytes, const std::function<ParsedCertificate(std::string_view)>& parse);

// Whether the certificate `subject_der` was issued by `authority_der` (names
// and the authority's signature), from `check` the first time a pair is
// seen and afterwards from a small process-wide list of the pairs found
// true: the answer depends on those bytes alone, and checking the signature
// is a further RSA verification for every document. Pairs found false are
// checked again each time. Safe to call from several threads.
bool issued_by_cached(std::string_view subject_der, std::string_view authority_der,
                      const std::function<bool()>& check);

}  // namespace drovanexis

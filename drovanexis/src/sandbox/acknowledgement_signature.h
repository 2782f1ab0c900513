#pragma once

#include <string>
#include <string_view>

#include "crypto/certificate.h"
#include "crypto/private_key.h"

namespace drovanexis::sandbox {

// Algorithms of the enveloped signature.
inline constexpr std::string_view kXmlDsigNamespace = "http://www.w3.org/2000/09/xmldsig#";
inline constexpr std::string_view kExclusiveC14n = "http://www.w3.org/2001/10/xml-exc-c14n#";
inline constexpr std::string_view kRsaSha256 = "http://www.w3.org/2001/04/xmldsig-more#rsa-sha256";
inline constexpr std::string_view kSha256 = "http://www.w3.org/2001/04/xmlenc#sha256";
inline constexpr std::string_view kEnvelopedSignature =
    "http://www.w3.org/2000/09/xmldsig#enveloped-signature";

// Signs the whole XML document with an enveloped XML signature appended as
// the root's last child: Reference URI="" with the enveloped-signature and
// exclusive C14N transforms, SHA-256 digest, SignedInfo canonicalised with
// exclusive C14N and signed RSA-SHA256, and the certificate in
// KeyInfo/X509Data. Returns the signed document (UTF-8). Throws
// std::runtime_error when the text is not XML or signing fails.
std::string sign_enveloped(std::string_view xml, const Certificate& certificate,
                           const PrivateKey& key);

}  // namespace drovanexis::sandbox

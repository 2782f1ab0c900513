#pragma once

#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "document/element.h"

namespace drovanexis {

// Seals a CFDI 3.3 or 4.0: checks that the key belongs to the certificate,
// sets NoCertificado and Certificado first (the original string includes
// NoCertificado), then signs the original string of the document's version
// with SHA256withRSA and sets Sello to its Base64. Throws CryptoError
// (kKeyMismatch, kNotSatNumber, kOperationFailed), or CfdiVersionError when
// the root is not a CFDI of a version read here, and leaves the document
// untouched on error.
void seal(Element& comprobante, const Certificate& certificate, const PrivateKey& key);

// True when the document's Sello verifies over the original string of its
// version with the key of the certificate in its Certificado attribute;
// false for a root that is not a CFDI of a version read here.
bool seal_verifies(const Element& comprobante);

}  // namespace drovanexis

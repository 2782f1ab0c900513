#pragma once

#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "document/element.h"

namespace drovanexis {

// Seals a CFDI 3.3: checks that the key belongs to the certificate, sets
// NoCertificado and Certificado first (the original string includes
// NoCertificado), then signs the original string with SHA256withRSA and sets
// Sello to its Base64. Throws CryptoError (kKeyMismatch, kNotSatNumber,
// kOperationFailed) and leaves the document untouched on error.
void seal(Element& comprobante, const Certificate& certificate, const PrivateKey& key);

// True when the document's Sello verifies over its original string with the
// key of the certificate in its Certificado attribute.
bool seal_verifies(const Element& comprobante);

}  // namespace drovanexis

#pragma once

#include <string>

#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "document/element.h"
#include "issue/provider.h"

namespace drovanexis::sandbox {

// What the provider stamps with: its RFC, its certificate (for
// NoCertificadoSAT) and its private key (for SelloSAT).
struct ProviderSigner {
  std::string rfc;
  Certificate certificate;
  PrivateKey key;
};

// Adds a tfd:TimbreFiscalDigital 1.1 (with its namespace and schema location)
// as the last child of cfdi:Complemento, creating that element before any
// cfdi:Addenda when the document has none. SelloCFD is the document's Sello;
// SelloSAT is the provider's SHA256withRSA signature of the stamp's original
// string. Throws CryptoError when signing fails, std::invalid_argument when
// the document carries no Sello; the tree is unchanged on error.
StampFields add_stamp(Element& comprobante, const ProviderSigner& provider, std::string uuid,
                      std::string fecha_timbrado);

// Undoes add_stamp: removes the stamp, and cfdi:Complemento when the stamp
// was all it held.
void remove_stamp(Element& comprobante);

}  // namespace drovanexis::sandbox

#pragma once

#include <string>

#include "document/element.h"

namespace drovanexis {

// The original string ("cadena original") of a CFDI 3.3 document, UTF-8:
// "||" + the fields in the fixed order of the SAT's definition (not the
// document's attribute order) + "||". Every value is white-space normalised
// (trimmed, inner runs of blanks, tabs and line breaks made one blank);
// optional attributes that are absent give no field. The Pagos 1.0, Nómina
// 1.2, Carta Porte 1.0 and 2.0 complements inside cfdi:Complemento add their
// fields in their document order; Sello, Certificado, the Addenda and the
// stamp contribute nothing. Built in one pass over the tree.
// Throws std::invalid_argument when the element is not cfdi:Comprobante.
std::string cadena_cfdi33(const Element& comprobante);

// The original string of a TimbreFiscalDigital 1.1 element:
// "||1.1|UUID|FechaTimbrado|RfcProvCertif|[Leyenda|]SelloCFD|NoCertificadoSAT||".
// Throws std::invalid_argument when the element is not tfd:TimbreFiscalDigital.
std::string cadena_tfd11(const Element& timbre);

}  // namespace drovanexis

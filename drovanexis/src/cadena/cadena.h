#pragma once

#include <string>

#include "document/element.h"

namespace drovanexis {

// The original string ("cadena original") of a CFDI 3.3 document, UTF-8:
// "||" + the fields in the fixed order of the SAT's definition (not the
// document's attribute order) + "||". Every value is white-space normalised
// (trimmed, inner runs of blanks, tabs and line breaks made one blank);
// optional attributes that are absent give no field. Each of the 32
// complements the SAT defines an original string for adds its fields in its
// document order, from cfdi:Complemento or from the cfdi:ComplementoConcepto
// of its Concepto; an element of any other vocabulary gives its character
// content. Sello, Certificado, the Addenda and the stamp contribute nothing.
// Built in one pass over the tree.
// Throws std::invalid_argument when the element is not cfdi:Comprobante or
// is a CFDI 4.0.
std::string cadena_cfdi33(const Element& comprobante);

// The original string of a TimbreFiscalDigital 1.1 element:
// "||1.1|UUID|FechaTimbrado|RfcProvCertif|[Leyenda|]SelloCFD|NoCertificadoSAT||".
// Throws std::invalid_argument when the element is not tfd:TimbreFiscalDigital.
std::string cadena_tfd11(const Element& timbre);

}  // namespace drovanexis

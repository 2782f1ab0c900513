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

// The original string of a CFDI 4.0 document, built as the 3.3 one, in the
// fields and order of the 4.0 definition: Exportacion after
// TipoDeComprobante; InformacionGlobal (Periodicidad|Meses|Año) before the
// CfdiRelacionados groups, each of which gives its TipoRelacion and then its
// UUIDs; required Nombre of both parties, FacAtrAdquirente of the issuer,
// DomicilioFiscalReceptor and RegimenFiscalReceptor of the receiver;
// ObjetoImp of each Concepto and its ACuentaTerceros before its customs
// data; the Base of each summarised transfer, whose TasaOCuota and Importe
// are optional. Of the complements, the 32 the 4.0 definition includes: a
// complement only 3.3 knows (Pagos 1.0, Carta Porte 1.0, ...) is an element
// of an unknown vocabulary here and gives its character content.
// Throws std::invalid_argument when the element is not cfdi:Comprobante or
// is a CFDI 3.3.
std::string cadena_cfdi40(const Element& comprobante);

// The original string of the document's version (see cfdi_version): the
// one function to call where a CFDI of either version may come.
// Throws CfdiVersionError when the root is not a CFDI of a version the
// library reads, or its namespace and Version disagree.
std::string cadena_cfdi(const Element& comprobante);

// The original string of a TimbreFiscalDigital 1.1 element:
// "||1.1|UUID|FechaTimbrado|RfcProvCertif|[Leyenda|]SelloCFD|NoCertificadoSAT||".
// Throws std::invalid_argument when the element is not tfd:TimbreFiscalDigital.
std::string cadena_tfd11(const Element& timbre);

}  // namespace drovanexis

#pragma once

#include <memory>
#include <vector>

#include "document/element.h"
#include "validate/validation.h"

namespace drovanexis {

// The result of checking a document against the SAT schemas.
//
// failures: one per schema rule broken, all with code 301, naming the
// element's path, the attribute ("" for the element itself) and the rule
// (elemento no permitido, orden, cardinalidad, atributo no permitido,
// atributo obligatorio, longitud, patrón, enumeración, decimales, dígitos,
// intervalo, valor fijo, espacio de nombres desconocido, texto).
//
// Values are judged as the schema reads them: where a type collapses white
// space, " PPD " is "PPD". Later rules must read the same values, so when any
// value of the document changes that way, `normalized` holds a copy of the
// document with those values replaced; the document itself is left as it is
// (its bytes are what was sealed and what is stamped).
struct SchemaCheck {
  std::vector<Failure> failures;
  std::unique_ptr<Element> normalized;

  // The tree later rules read: the normalised copy when there is one.
  const Element& view(const Element& document) const { return normalized ? *normalized : document; }
};

// Checks a CFDI (root cfdi:Comprobante) with its complements, stamp and
// addenda against the schemas of its version, as a validator with all of them
// loaded would: the content of cfdi:Complemento, cfdi:ComplementoConcepto and
// cfdi:Addenda must be elements that version's schemas declare (a 4.0
// document may not carry Pagos 1.0, nor a 3.3 one Pagos 2.0). The version is
// the root's Version ("3.3" or "4.0"), which must agree with the root's
// namespace; otherwise that is the one failure reported. Namespace declarations and
// xsi:schemaLocation are not judged. Never throws.
SchemaCheck check_schema(const Element& document);

}  // namespace drovanexis

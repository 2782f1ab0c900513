#pragma once

#include <string>

#include "document/element.h"

namespace pdf {

// The query of the SAT's verification page for a stamped CFDI: UUID, both
// RFCs, the total and the last eight characters of the seal
// ("?id=...&re=...&rr=...&tt=...&fe=..."). The QR code of the printed form
// and of "drovanexis qr" hold the verification address followed by it.
// "" when the document carries no stamp.
std::string verification_query(const drovanexis::Element& comprobante);

// The stamp (cfdi:Complemento/tfd:TimbreFiscalDigital), or nullptr.
const drovanexis::Element* stamp_of(const drovanexis::Element& comprobante);

}  // namespace pdf

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/element.h"
#include "validate/decimal.h"
#include "validate/rule_support.h"

// Checks on the document's tax summary (cfdi:Comprobante/cfdi:Impuestos)
// that CFDI 3.3 and 4.0 apply alike, each version naming its code (whole,
// "CFDI33193") and its edition of the catalogue.
namespace drovanexis::rules {

// A transfer (T) or payment receipt (P) of type `tipo` carries no tax
// summary: adds `code` when it has one.
void check_no_summary(Failures& failures, std::string_view code, const Element* impuestos,
                      const std::string& node, std::string_view tipo);

// The stated total (TotalImpuestosRetenidos or TotalImpuestosTrasladados)
// agrees with the sum of the summary's Importe; `kind` ("retenciones",
// "traslados") names the side in the message.
void check_summary_total(Failures& failures, std::string_view code, const Element& impuestos,
                         const std::string& node, std::string_view total_attribute,
                         std::string_view kind, const Decimal& summary_sum,
                         std::optional<int> currency_decimals);

// A summary transfer's TasaOCuota, when it has one, is in `table` for its
// Impuesto and TipoFactor.
void check_summary_rate(Failures& failures, std::string_view code, const Element& item,
                        const std::string& node, std::optional<int> day, std::string_view table);

}  // namespace drovanexis::rules

#pragma once

#include "document/element.h"
#include "validate/rule_support.h"
#include "validate/validation.h"

// The rule groups, one per file; validate_document runs them in this order.
namespace drovanexis::rules {

Failures structure_rules(const Element& comprobante);  // 301: payment currencies
Failures provider_rules(const Element& comprobante,
                        const ValidationContext& context);      // 302–308, 401
Failures cfdi33_comprobante_rules(const Element& comprobante);  // CFDI33101–33141, SBX-C
Failures cfdi33_concepto_rules(const Element& comprobante);     // CFDI33142–33178
Failures cfdi33_impuestos_rules(const Element& comprobante);    // CFDI33179–33195
Failures cfdi40_comprobante_rules(const Element& comprobante);  // CFDI40101–40137
Failures cfdi40_parties_rules(const Element& comprobante);      // CFDI40130–40161
Failures cfdi40_concepto_rules(const Element& comprobante);     // CFDI40162–40200
Failures cfdi40_impuestos_rules(const Element& comprobante);    // CFDI40201–40221
Failures pagos10_rules(const Element& comprobante);             // CRP101–CRP239
Failures nomina12_rules(const Element& comprobante);            // NOM132–NOM229, SBX-NOM
Failures cartaporte_rules(const Element& comprobante);          // CP1xx, SBX-CP
Failures cartaporte20_rules(const Element& comprobante);        // CP129–CP157 (2.0)
Failures cce11_rules(const Element& comprobante);               // CCE145–CCE195
Failures cce11_goods_rules(const Element& comprobante);         // CCE162, CCE197–CCE217
Failures implocal_rules(const Element& comprobante);            // SBX-IL

}  // namespace drovanexis::rules

#pragma once

#include <string_view>
#include <utility>

#include "document/element.h"
#include "validate/decimal.h"
#include "validate/rule_support.h"

// The checks on the Comprobante's own attributes that CFDI 3.3 and 4.0
// apply alike, each version naming its codes (whole, "CFDI33101") and its
// edition of c_Moneda.
namespace drovanexis::rules {

struct ComprobanteCodes {
  std::string_view fecha;
  std::string_view subtotal_decimals, subtotal_zero, subtotal_sum;
  std::string_view moneda, tipo_cambio_form, tipo_cambio_mxn, tipo_cambio_xxx, tipo_cambio_missing;
  std::string_view total;
  std::string_view confirmacion_needed, confirmacion_unneeded;
  std::string_view lugar_expedicion;
};

struct ComprobanteContext {
  const ComprobanteCodes& codes;
  const AmountFacts& facts;
  std::string_view moneda_table;  // the version's c_Moneda
};

// Fecha has the form aaaa-mm-ddThh:mm:ss and names a real moment.
void check_fecha(const Element& comprobante, const ComprobanteContext& context, Failures& failures);
// SubTotal: the currency's decimals, 0 for T and P, Σ Concepto Importe.
void check_subtotal(const Element& comprobante, const ComprobanteContext& context,
                    Failures& failures);
// Σ Concepto Descuento, and whether any Concepto carries one.
std::pair<Decimal, bool> line_discounts(const Element& comprobante);
// Moneda in its catalogue, and the TipoCambio it calls for.
void check_moneda(const Element& comprobante, const ComprobanteContext& context,
                  Failures& failures);
// Total = SubTotal - Descuento + taxes (local ones too), and whether it
// needs a Confirmacion key.
void check_total(const Element& comprobante, const ComprobanteContext& context, Failures& failures);
// LugarExpedicion has the form of a postal code.
void check_lugar_expedicion(const Element& comprobante, const ComprobanteContext& context,
                            Failures& failures);

}  // namespace drovanexis::rules

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/element.h"
#include "validate/rule_support.h"

// The checks on a Concepto, its line taxes, customs entries and parts that
// CFDI 3.3 and 4.0 apply alike. Each version names its own codes (whole,
// "CFDI33153") and the edition of the catalogues it judges by; an empty
// code leaves out a check that version does not have.
namespace drovanexis::rules {

// The codes of the checks on one kind of line tax: Traslado or Retencion.
struct LineTaxCodes {
  std::string_view kind;  // "traslado" / "retención", for messages
  std::string_view base_decimals;
  std::string_view base;
  std::string_view impuesto;
  std::string_view tipo_factor;
  // A withholding cannot be Exento; a transfer that is carries no rate nor
  // amount.
  std::string_view exento;
  // A transfer at a rate or quota carries both (unused for withholdings).
  std::string_view incomplete;
  std::string_view rate;
  std::string_view importe_decimals;
  std::string_view importe;
};

struct ConceptoCodes {
  std::string_view clave_prod_serv, clave_unidad, valor_decimals, valor, importe_decimals, importe,
      descuento_decimals, descuento;
  std::string_view impuestos_empty;  // an Impuestos node with neither group
  LineTaxCodes traslado, retencion;
  std::string_view pedimento, pedimento_with_cce;
  std::string_view parte_clave, parte_valor_decimals, parte_valor, parte_importe_decimals,
      parte_importe, parte_pedimento, parte_pedimento_with_cce;
};

// The tables a version's Concepto rules read.
struct ConceptoTables {
  std::string_view impuesto = "c_Impuesto";
  std::string_view tipo_factor = "c_TipoFactor";
  std::string_view tasa_o_cuota = "c_TasaOCuota";
  std::string_view clave_unidad = "c_ClaveUnidad";
  std::string_view patente_aduanal = "c_PatenteAduanal";
};

// The version's facts the Concepto rules depend on.
struct ConceptoContext {
  const ConceptoCodes& codes;
  const ConceptoTables& tables;
  const AmountFacts& facts;
  bool has_comercio_exterior;
};

// ClaveProdServ, ClaveUnidad, ValorUnitario, Importe and Descuento.
void check_concepto_amounts(const Element& concepto, const std::string& node,
                            const ConceptoContext& context, Failures& failures);
// The Concepto's cfdi:Impuestos, when it has one.
void check_concepto_taxes(const Element& concepto, const std::string& node,
                          const ConceptoContext& context, Failures& failures);
// The Concepto's own customs entries.
void check_concepto_customs(const Element& concepto, const std::string& node,
                            const ConceptoContext& context, Failures& failures);
void check_concepto_partes(const Element& concepto, const std::string& node,
                           const ConceptoContext& context, Failures& failures);

}  // namespace drovanexis::rules

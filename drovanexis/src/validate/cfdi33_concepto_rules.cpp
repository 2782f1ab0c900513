// CFDI 3.3 matrix, the rules on each Concepto, its taxes, customs entries
// and parts:
//   CFDI33142 ClaveProdServ is an 8-digit key (pattern only: c_ClaveProdServ
//             is not in the library's data)
//   CFDI33145 ClaveUnidad in c_ClaveUnidad
//   CFDI33146 ValorUnitario has at most 6 decimals
//   CFDI33147 I, E, N: ValorUnitario > 0
//   CFDI33148 Importe has at most 6 decimals
//   CFDI33149 Importe within the bounds of Cantidad × ValorUnitario
//   CFDI33150 Descuento has no more decimals than the line's Importe
//   CFDI33151 Descuento ≤ Importe
//   CFDI33152 an Impuestos node carries Traslados or Retenciones
//   Transferred tax (Traslado):
//   CFDI33153 Base has at most 6 decimals      CFDI33154 Base > 0
//   CFDI33155 Impuesto in c_Impuesto, for transfer
//   CFDI33156 TipoFactor in c_TipoFactor
//   CFDI33157 Exento carries neither TasaOCuota nor Importe
//   CFDI33158 Tasa or Cuota carry both TasaOCuota and Importe
//   CFDI33159 TasaOCuota in c_TasaOCuota for its tax, factor and transfer
//   CFDI33160 Importe has at most 6 decimals
//   CFDI33161 Importe within the bounds of Base × TasaOCuota
//   Withheld tax (Retencion):
//   CFDI33162 Base has at most 6 decimals      CFDI33163 Base > 0
//   CFDI33164 Impuesto in c_Impuesto, for withholding
//   CFDI33165 TipoFactor in c_TipoFactor
//   CFDI33166 TipoFactor is not Exento
//   CFDI33167 TasaOCuota in c_TasaOCuota for its tax, factor and withholding
//   CFDI33168 Importe has at most 6 decimals
//   CFDI33169 Importe within the bounds of Base × TasaOCuota
//   Customs entries and parts:
//   CFDI33170 / CFDI33177 NumeroPedimento of the Concepto / Parte is a valid
//             entry number: "yy  aa  pppp  nnnnnnn", a year of the last ten,
//             the office in c_Aduana, the patent in c_PatenteAduanal, the
//             serial within c_NumPedimentoAduana
//   CFDI33171 / CFDI33178 no NumeroPedimento with Comercio Exterior
//   CFDI33172 Parte ClaveProdServ is an 8-digit key (pattern only)
//   CFDI33173 Parte ValorUnitario has at most 6 decimals
//   CFDI33174 Parte ValorUnitario > 0
//   CFDI33175 Parte Importe has at most 6 decimals
//   CFDI33176 Parte Importe within the bounds of Cantidad × ValorUnitario
// Concept-level amounts may carry up to 6 decimals (the SAT's filling guide
// relaxed the currency's decimals for them); totals keep the currency's.
// Not checked here, for want of the facts:
//   CFDI33143 the complement a ClaveProdServ calls for, and CFDI33144 the
//             IVA or IEPS transfer it calls for, are columns of
//             c_ClaveProdServ, which is not in the library's data
//   CFDI33196 the northern-border IVA stimulus needs the issuer's
//             registration for it (outside the document), the eligible keys
//             of c_ClaveProdServ and the border-zone postal codes of
//             c_CodigoPostal (neither in the data)
#include "validate/concepto_checks.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

constexpr ConceptoCodes kCodes{
    .clave_prod_serv = "CFDI33142",
    .clave_unidad = "CFDI33145",
    .valor_decimals = "CFDI33146",
    .valor = "CFDI33147",
    .importe_decimals = "CFDI33148",
    .importe = "CFDI33149",
    .descuento_decimals = "CFDI33150",
    .descuento = "CFDI33151",
    .impuestos_empty = "CFDI33152",
    .traslado = {.kind = "traslado",
                 .base_decimals = "CFDI33153",
                 .base = "CFDI33154",
                 .impuesto = "CFDI33155",
                 .tipo_factor = "CFDI33156",
                 .exento = "CFDI33157",
                 .incomplete = "CFDI33158",
                 .rate = "CFDI33159",
                 .importe_decimals = "CFDI33160",
                 .importe = "CFDI33161"},
    .retencion = {.kind = "retención",
                  .base_decimals = "CFDI33162",
                  .base = "CFDI33163",
                  .impuesto = "CFDI33164",
                  .tipo_factor = "CFDI33165",
                  .exento = "CFDI33166",
                  .incomplete = "",
                  .rate = "CFDI33167",
                  .importe_decimals = "CFDI33168",
                  .importe = "CFDI33169"},
    .pedimento = "CFDI33170",
    .pedimento_with_cce = "CFDI33171",
    .parte_clave = "CFDI33172",
    .parte_valor_decimals = "CFDI33173",
    .parte_valor = "CFDI33174",
    .parte_importe_decimals = "CFDI33175",
    .parte_importe = "CFDI33176",
    .parte_pedimento = "CFDI33177",
    .parte_pedimento_with_cce = "CFDI33178",
};

}  // namespace

Failures cfdi33_concepto_rules(const Element& comprobante) {
  Failures failures;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return failures;
  const DocumentFacts facts = document_facts(comprobante);
  const ConceptoTables tables;
  const ConceptoContext context{kCodes, tables, facts, facts.has_comercio_exterior};
  const auto items = children(*conceptos, "cfdi:Concepto");
  const std::string parent = child_path(kComprobante, "cfdi:Conceptos");
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string node = child_path(parent, "cfdi:Concepto", items.size() > 1 ? i + 1 : 0);
    check_concepto_amounts(*items[i], node, context, failures);
    check_concepto_taxes(*items[i], node, context, failures);
    check_concepto_customs(*items[i], node, context, failures);
    check_concepto_partes(*items[i], node, context, failures);
  }
  return failures;
}

}  // namespace drovanexis::rules

#include "document/builders.h"
#include "document/output_rules.h"

namespace drovanexis {
namespace {

// Position i of each entry (after the handle) carries fields[i].
constexpr Field kSetComprobante[] = {{"", "Serie"},
                                     {"", "Folio"},
                                     {"", "Fecha"},
                                     {"", "FormaPago"},
                                     {"", "CondicionesDePago"},
                                     {"", "SubTotal"},
                                     {"", "Descuento"},
                                     {"", "Moneda"},
                                     {"", "TipoCambio"},
                                     {"", "Total"},
                                     {"", "TipoDeComprobante"},
                                     {"", "MetodoPago"},
                                     {"", "LugarExpedicion"},
                                     {"", "Confirmacion"}};
constexpr Field kSetCfdiRelacionados[] = {{"", "TipoRelacion"}};
constexpr Field kAddCfdiRelacionado[] = {{"", "UUID"}};
constexpr Field kSetEmisor[] = {{"", "Rfc"}, {"", "Nombre"}, {"", "RegimenFiscal"}};
constexpr Field kSetReceptor[] = {
    {"", "Rfc"}, {"", "Nombre"}, {"", "ResidenciaFiscal"}, {"", "NumRegIdTrib"}, {"", "UsoCFDI"}};
constexpr Field kAddConcepto[] = {
    {"", "ClaveProdServ"}, {"", "NoIdentificacion"}, {"", "Cantidad"},
    {"", "ClaveUnidad"},   {"", "Unidad"},           {"", "Descripcion"},
    {"", "ValorUnitario"}, {"", "Importe"},          {"", "Descuento"}};
constexpr Field kAddConceptoTraslado[] = {
    {"", "Base"}, {"", "Impuesto"}, {"", "TipoFactor"}, {"", "TasaOCuota"}, {"", "Importe"}};
constexpr Field kAddConceptoRetencion[] = {
    {"", "Base"}, {"", "Impuesto"}, {"", "TipoFactor"}, {"", "TasaOCuota"}, {"", "Importe"}};
constexpr Field kSetImpuestos[] = {{"", "TotalImpuestosTrasladados"},
                                   {"", "TotalImpuestosRetenidos"}};
constexpr Field kAddRetencion[] = {{"", "Impuesto"}, {"", "Importe"}};
constexpr Field kAddTraslado[] = {
    {"", "Impuesto"}, {"", "TipoFactor"}, {"", "TasaOCuota"}, {"", "Importe"}};
constexpr Field kAddConceptoInformacionAduanera[] = {{"", "NumeroPedimento"}};
constexpr Field kAddConceptoCuentaPredial[] = {{"", "Numero"}};
constexpr Field kAddConceptoParte[] = {
    {"", "ClaveProdServ"}, {"", "NoIdentificacion"},
    {"", "Cantidad"},      {"", "Unidad"},
    {"", "Descripcion"},   {"", "ValorUnitario"},
    {"", "Importe"},       {"cfdi:InformacionAduanera", "NumeroPedimento"}};

Node conceptos(Document& document) { return document.root_node().child("cfdi:Conceptos"); }
Node document_taxes(Document& document) { return document.root_node().child("cfdi:Impuestos"); }

// A tax of the latest Concepto, in its Impuestos/<list>.
void add_line_tax(Document& document, std::string_view list, std::string_view tax,
                  const Values& values, std::span<const Field> fields) {
  const Node concepto = document.latest.concepto;
  if (!concepto) return;
  fill(concepto.child("cfdi:Impuestos").child(list).add(tax), fields, values);
}

}  // namespace

void set_comprobante(Document& document, const Values& values) {
  fill(document.root_node(), kSetComprobante, values);
  omit_valueless_descuento(document.root);
}

void set_cfdi_relacionados(Document& document, const Values& values) {
  fill(document.root_node().child("cfdi:CfdiRelacionados"), kSetCfdiRelacionados, values);
}

void add_cfdi_relacionado(Document& document, const Values& values) {
  const Node relacionados = document.root_node().child("cfdi:CfdiRelacionados");
  fill(relacionados.add("cfdi:CfdiRelacionado"), kAddCfdiRelacionado, values);
}

void set_emisor(Document& document, const Values& values) {
  fill(document.root_node().child("cfdi:Emisor"), kSetEmisor, values);
}

void set_receptor(Document& document, const Values& values) {
  fill(document.root_node().child("cfdi:Receptor"), kSetReceptor, values);
}

void add_concepto(Document& document, const Values& values) {
  document.latest.concepto = conceptos(document).add("cfdi:Concepto");
  fill(document.latest.concepto, kAddConcepto, values);
}

void add_concepto_traslado(Document& document, const Values& values) {
  add_line_tax(document, "cfdi:Traslados", "cfdi:Traslado", values, kAddConceptoTraslado);
}

void add_concepto_retencion(Document& document, const Values& values) {
  add_line_tax(document, "cfdi:Retenciones", "cfdi:Retencion", values, kAddConceptoRetencion);
}

void set_impuestos(Document& document, const Values& values) {
  fill(document_taxes(document), kSetImpuestos, values);
}

void add_retencion(Document& document, const Values& values) {
  fill(document_taxes(document).child("cfdi:Retenciones").add("cfdi:Retencion"), kAddRetencion,
       values);
}

void add_traslado(Document& document, const Values& values) {
  fill(document_taxes(document).child("cfdi:Traslados").add("cfdi:Traslado"), kAddTraslado, values);
}

void add_concepto_informacion_aduanera(Document& document, const Values& values) {
  if (!document.latest.concepto) return;
  fill(document.latest.concepto.add("cfdi:InformacionAduanera"), kAddConceptoInformacionAduanera,
       values);
}

void add_concepto_cuenta_predial(Document& document, const Values& values) {
  if (!document.latest.concepto) return;
  fill(document.latest.concepto.child("cfdi:CuentaPredial"), kAddConceptoCuentaPredial, values);
}

void add_concepto_parte(Document& document, const Values& values) {
  if (!document.latest.concepto) return;
  fill(document.latest.concepto.add("cfdi:Parte"), kAddConceptoParte, values);
}

}  // namespace drovanexis

#include "document/builders.h"

namespace drovanexis {
namespace {

// Position i of each entry (after the handle) carries fields[i].
constexpr Field kAddPago[] = {
    {"", "FechaPago"},    {"", "FormaDePagoP"},    {"", "MonedaP"},         {"", "TipoCambioP"},
    {"", "Monto"},        {"", "NumOperacion"},    {"", "RfcEmisorCtaOrd"}, {"", "NomBancoOrdExt"},
    {"", "CtaOrdenante"}, {"", "RfcEmisorCtaBen"}, {"", "CtaBeneficiario"}, {"", "TipoCadPago"},
    {"", "CertPago"},     {"", "CadPago"},         {"", "SelloPago"}};
constexpr Field kAddPagoDoctoRelacionado[] = {
    {"", "IdDocumento"},  {"", "Serie"},           {"", "Folio"},          {"", "MonedaDR"},
    {"", "TipoCambioDR"}, {"", "MetodoDePagoDR"},  {"", "NumParcialidad"}, {"", "ImpSaldoAnt"},
    {"", "ImpPagado"},    {"", "ImpSaldoInsoluto"}};

// The Pagos 1.0 complement, created on first use so that a payment given
// before Drovanexis_SetPagos10 is not lost.
Node pagos(Document& document) {
  const Node node = document.root_node().child("cfdi:Complemento").child("pago10:Pagos");
  node.set("Version", "1.0");
  return node;
}

}  // namespace

void set_pagos10(Document& document, const Values& /*values*/) { pagos(document); }

void add_pago(Document& document, const Values& values) {
  document.latest.pago = pagos(document).add("pago10:Pago");
  fill(document.latest.pago, kAddPago, values);
}

void add_pago_docto_relacionado(Document& document, const Values& values) {
  if (!document.latest.pago) return;
  fill(document.latest.pago.add("pago10:DoctoRelacionado"), kAddPagoDoctoRelacionado, values);
}

}  // namespace drovanexis

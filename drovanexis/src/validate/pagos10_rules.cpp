// Complemento para recepción de pagos 1.0, applied when the document carries
// pago10:Pagos.
// The receipt (SAT codes):
//   CRP101 TipoDeComprobante is P          CRP106 no CondicionesDePago
//   CRP102 SubTotal is 0                   CRP107 no Descuento
//   CRP103 Moneda is XXX                   CRP108 no TipoCambio
//   CRP104 no FormaPago                    CRP109 Total is 0
//   CRP105 no MetodoPago
// The receipt (this library's codes):
//   CRP901 UsoCFDI is P01
//   CRP902 exactly one Concepto
//   CRP903 the Concepto is 84111506, Cantidad 1, ACT, "Pago", ValorUnitario 0,
//          Importe 0, with no taxes
// Each Pago (SAT codes):
//   CRP201 FormaDePagoP is not 99          CRP206 Σ ImpPagado ≤ Monto
//   CRP202 MonedaP is not XXX              CRP207 Monto > 0
// Each DoctoRelacionado (this library's codes):
//   CRP904 ImpSaldoInsoluto = ImpSaldoAnt − ImpPagado
//   CRP905 ImpSaldoInsoluto ≥ 0
//   CRP906 MetodoDePagoDR PPD requires NumParcialidad, ImpSaldoAnt and
//          ImpSaldoInsoluto
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);

void check_absent(const Element& comprobante, std::string_view attribute, std::string code,
                  Failures& failures) {
  if (!has(comprobante, attribute)) return;
  add(failures, std::move(code), kRoot, std::string(attribute),
      "Un comprobante de recepción de pagos no debe llevar " + std::string(attribute) +
          " (se encontró " + quoted(attr(comprobante, attribute)) + ").");
}

void check_zero(const Element& comprobante, std::string_view attribute, std::string code,
                Failures& failures) {
  const auto value = number(comprobante, attribute);
  if (!value || value->is_zero()) return;
  add(failures, std::move(code), kRoot, std::string(attribute),
      "En un comprobante de recepción de pagos el " + std::string(attribute) + " debe ser 0 y es " +
          value->to_string() + ".");
}

void check_fixed(const Element& element, const std::string& node, std::string_view attribute,
                 std::string_view expected, std::string_view code, Failures& failures) {
  if (attr(element, attribute) == expected) return;
  add(failures, std::string(code), node, std::string(attribute),
      "En un comprobante de recepción de pagos " + std::string(attribute) + " debe ser \"" +
          std::string(expected) + "\" y es " + quoted(attr(element, attribute)) + ".");
}

void check_concepto(const Element& comprobante, Failures& failures) {
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  const auto items =
      conceptos ? children(*conceptos, "cfdi:Concepto") : std::vector<const Element*>{};
  const std::string conceptos_node = child_path(kRoot, "cfdi:Conceptos");
  if (items.size() != 1) {
    add(failures, "CRP902", conceptos_node, "",
        "Un comprobante de recepción de pagos debe tener exactamente un Concepto y tiene " +
            std::to_string(items.size()) + ".");
    return;
  }
  const Element& concepto = *items.front();
  const std::string node = child_path(conceptos_node, "cfdi:Concepto");
  check_fixed(concepto, node, "ClaveProdServ", "84111506", "CRP903", failures);
  check_fixed(concepto, node, "ClaveUnidad", "ACT", "CRP903", failures);
  check_fixed(concepto, node, "Descripcion", "Pago", "CRP903", failures);
  const auto expect_number = [&](std::string_view attribute, long long expected) {
    const auto value = number(concepto, attribute);
    if (value && *value == Decimal::from_int(expected)) return;
    add(failures, "CRP903", node, std::string(attribute),
        "En un comprobante de recepción de pagos el " + std::string(attribute) +
            " del concepto debe ser " + std::to_string(expected) + " y es " +
            quoted(attr(concepto, attribute)) + ".");
  };
  expect_number("Cantidad", 1);
  expect_number("ValorUnitario", 0);
  expect_number("Importe", 0);
  if (concepto.child("cfdi:Impuestos") != nullptr) {
    add(failures, "CRP903", child_path(node, "cfdi:Impuestos"), "",
        "El concepto de un comprobante de recepción de pagos no debe llevar impuestos.");
  }
}

void check_receipt(const Element& comprobante, Failures& failures) {
  if (attr(comprobante, "TipoDeComprobante") != "P") {
    add(failures, "CRP101", kRoot, "TipoDeComprobante",
        "Un comprobante con complemento de pagos debe ser de tipo \"P\" y es " +
            quoted(attr(comprobante, "TipoDeComprobante")) + ".");
  }
  check_zero(comprobante, "SubTotal", "CRP102", failures);
  check_fixed(comprobante, kRoot, "Moneda", "XXX", "CRP103", failures);
  check_absent(comprobante, "FormaPago", "CRP104", failures);
  check_absent(comprobante, "MetodoPago", "CRP105", failures);
  check_absent(comprobante, "CondicionesDePago", "CRP106", failures);
  check_absent(comprobante, "Descuento", "CRP107", failures);
  check_absent(comprobante, "TipoCambio", "CRP108", failures);
  check_zero(comprobante, "Total", "CRP109", failures);
  if (const Element* receptor = comprobante.child("cfdi:Receptor")) {
    check_fixed(*receptor, child_path(kRoot, "cfdi:Receptor"), "UsoCFDI", "P01", "CRP901",
                failures);
  }
  check_concepto(comprobante, failures);
}

// The amount a related document receives, in the payment's currency:
// ImpPagado, divided by TipoCambioDR when the document is in another
// currency. A single related document may leave ImpPagado out: it then
// receives the whole Monto.
std::optional<Decimal> paid_in_payment_currency(const Element& docto, const Element& pago,
                                                std::size_t doctos) {
  auto paid = number(docto, "ImpPagado");
  if (!paid && doctos == 1 && !has(docto, "ImpPagado")) paid = number(pago, "Monto");
  if (!paid) return std::nullopt;
  const auto rate = number(docto, "TipoCambioDR");
  if (!rate || rate->is_zero()) return paid;
  return paid->divide_floor(*rate, 6);
}

void check_docto(const Element& docto, const Element& pago, std::size_t doctos,
                 const std::string& node, Failures& failures) {
  if (attr(docto, "MetodoDePagoDR") == "PPD") {
    for (const std::string_view required : {"NumParcialidad", "ImpSaldoAnt", "ImpSaldoInsoluto"}) {
      if (has(docto, required)) continue;
      add(failures, "CRP906", node, std::string(required),
          "Un documento relacionado con MetodoDePagoDR PPD debe llevar " + std::string(required) +
              ".");
    }
  }
  const auto anterior = number(docto, "ImpSaldoAnt");
  const auto insoluto = number(docto, "ImpSaldoInsoluto");
  auto pagado = number(docto, "ImpPagado");
  if (!pagado && doctos == 1 && !has(docto, "ImpPagado")) pagado = number(pago, "Monto");
  if (insoluto && insoluto->is_negative()) {
    add(failures, "CRP905", node, "ImpSaldoInsoluto",
        "El ImpSaldoInsoluto " + insoluto->to_string() + " no puede ser negativo.");
  }
  if (!anterior || !insoluto || !pagado) return;
  const Decimal expected = *anterior - *pagado;
  if (*insoluto != expected) {
    add(failures, "CRP904", node, "ImpSaldoInsoluto",
        "El ImpSaldoInsoluto " + insoluto->to_string() + " no es igual a ImpSaldoAnt " +
            anterior->to_string() + " - ImpPagado " + pagado->to_string() + " = " +
            expected.to_string() + ".");
  }
  if (expected.is_negative() && !insoluto->is_negative()) {
    add(failures, "CRP905", node, "ImpPagado",
        "El ImpPagado " + pagado->to_string() + " es mayor que el ImpSaldoAnt " +
            anterior->to_string() + "; el saldo insoluto no puede ser negativo.");
  }
}

void check_pago(const Element& pago, const std::string& node, Failures& failures) {
  if (attr(pago, "FormaDePagoP") == "99") {
    add(failures, "CRP201", node, "FormaDePagoP",
        "La FormaDePagoP de un pago no puede ser \"99\" (por definir).");
  }
  if (attr(pago, "MonedaP") == "XXX") {
    add(failures, "CRP202", node, "MonedaP", "La MonedaP de un pago no puede ser \"XXX\".");
  }
  const auto monto = number(pago, "Monto");
  if (monto && (monto->is_zero() || monto->is_negative())) {
    add(failures, "CRP207", node, "Monto",
        "El Monto " + monto->to_string() + " del pago debe ser mayor que cero.");
  }
  const auto doctos = children(pago, "pago10:DoctoRelacionado");
  Decimal paid_sum;
  for (std::size_t i = 0; i < doctos.size(); ++i) {
    check_docto(*doctos[i], pago, doctos.size(),
                child_path(node, "pago10:DoctoRelacionado", doctos.size() > 1 ? i + 1 : 0),
                failures);
    paid_sum =
        paid_sum + paid_in_payment_currency(*doctos[i], pago, doctos.size()).value_or(Decimal{});
  }
  if (monto && paid_sum > *monto) {
    add(failures, "CRP206", node, "Monto",
        "La suma de ImpPagado de los documentos relacionados, " + paid_sum.to_string() +
            ", es mayor que el Monto del pago " + monto->to_string() + ".");
  }
}

}  // namespace

Failures pagos10_rules(const Element& comprobante) {
  Failures failures;
  const Element* pagos = complement(comprobante, "pago10:Pagos");
  if (pagos == nullptr) return failures;
  check_receipt(comprobante, failures);
  const auto items = children(*pagos, "pago10:Pago");
  const std::string parent = child_path(child_path(kRoot, "cfdi:Complemento"), "pago10:Pagos");
  for (std::size_t i = 0; i < items.size(); ++i) {
    check_pago(*items[i], child_path(parent, "pago10:Pago", items.size() > 1 ? i + 1 : 0),
               failures);
  }
  return failures;
}

}  // namespace drovanexis::rules

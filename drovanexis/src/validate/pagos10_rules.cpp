// Complemento para recepción de pagos 1.0, applied when the document carries
// pago10:Pagos (the SAT's codes).
// The receipt:
//   CRP101 TipoDeComprobante is P          CRP112 the Concepto has no child nodes
//   CRP102 SubTotal is 0                   CRP113 ClaveProdServ 84111506
//   CRP103 Moneda is XXX                   CRP114 no NoIdentificacion
//   CRP104 no FormaPago                    CRP115 Cantidad 1
//   CRP105 no MetodoPago                   CRP116 ClaveUnidad ACT
//   CRP106 no CondicionesDePago            CRP117 no Unidad
//   CRP107 no Descuento                    CRP118 Descripcion "Pago"
//   CRP108 no TipoCambio                   CRP119 ValorUnitario 0
//   CRP109 Total is 0                      CRP120 Importe 0
//   CRP110 UsoCFDI is P01                  CRP121 no Concepto Descuento
//   CRP111 exactly one Concepto            CRP122 no Impuestos node
// Each Pago:
//   CRP201 FormaDePagoP is not 99
//   CRP202 MonedaP is not XXX
//   CRP203 MonedaP other than MXN: TipoCambioP present
//   CRP204 MonedaP MXN: no TipoCambioP
//   CRP206 Σ ImpPagado, each converted to MonedaP and rounded to its decimals, ≤ Monto
//   CRP207 Monto > 0
//   CRP208 Monto has no more decimals than MonedaP allows
//   CRP211 RfcEmisorCtaOrd XEXX010101000 requires NomBancoOrdExt
//   CRP212 CtaOrdenante only where c_FormaPago allows an ordering account
//   CRP213 CtaOrdenante matches the ordering-account pattern of c_FormaPago
//   CRP214 RfcEmisorCtaBen only where c_FormaPago allows beneficiary data
//   CRP215 CtaBeneficiario only where c_FormaPago allows a beneficiary account
//   CRP216 TipoCadPago only where c_FormaPago allows a payment chain (03)
//   CRP227/229/231 TipoCadPago requires CertPago / CadPago / SelloPago
//   CRP228/230/232 without TipoCadPago no CertPago / CadPago / SelloPago
//   CRP237 no pago10:Impuestos node
//   CRP238 RfcEmisorCtaOrd only where c_FormaPago allows an ordering bank
//   CRP239 CtaBeneficiario matches the beneficiary-account pattern of c_FormaPago
// Each DoctoRelacionado:
//   CRP217 MonedaDR is not XXX
//   CRP218 MonedaDR other than MonedaP: TipoCambioDR present
//   CRP219 MonedaDR equal to MonedaP: no TipoCambioDR
//   CRP220 MonedaDR MXN and MonedaP other: TipoCambioDR is 1
//   CRP221 ImpSaldoAnt > 0                CRP222 its decimals fit MonedaDR
//   CRP223 ImpPagado > 0                  CRP224 its decimals fit MonedaDR
//   CRP225 ImpSaldoInsoluto decimals fit MonedaDR
//   CRP226 ImpSaldoInsoluto = ImpSaldoAnt − ImpPagado, and ≥ 0
//   CRP233/234/236 MetodoDePagoDR PPD requires NumParcialidad / ImpSaldoAnt /
//          ImpSaldoInsoluto
//   CRP235 ImpPagado present with several related documents or a TipoCambioDR
// Not checked here: CRP205 and CRP209 need the day's reference exchange rate
// and the SAT's published limit; CRP210 needs the list of registered RFCs
// (l_RFC).
#include <regex>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
constexpr std::string_view kForeignRfc = "XEXX010101000";

void check_absent(const Element& element, const std::string& node, std::string_view attribute,
                  std::string code, Failures& failures) {
  if (!has(element, attribute)) return;
  add(failures, std::move(code), node, std::string(attribute),
      "En un comprobante de recepción de pagos no se registra " + std::string(attribute) +
          " (se encontró " + quoted(attr(element, attribute)) + ").");
}

void check_zero(const Element& element, const std::string& node, std::string_view attribute,
                std::string code, Failures& failures) {
  const auto value = number(element, attribute);
  if (!value || value->is_zero()) return;
  add(failures, std::move(code), node, std::string(attribute),
      "En un comprobante de recepción de pagos el " + std::string(attribute) + " debe ser 0 y es " +
          value->to_string() + ".");
}

void check_fixed(const Element& element, const std::string& node, std::string_view attribute,
                 std::string_view expected, std::string code, Failures& failures) {
  if (attr(element, attribute) == expected) return;
  add(failures, std::move(code), node, std::string(attribute),
      "En un comprobante de recepción de pagos " + std::string(attribute) + " debe ser \"" +
          std::string(expected) + "\" y es " + quoted(attr(element, attribute)) + ".");
}

void check_concepto(const Element& comprobante, Failures& failures) {
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  const auto items =
      conceptos ? children(*conceptos, "cfdi:Concepto") : std::vector<const Element*>{};
  const std::string conceptos_node = child_path(kRoot, "cfdi:Conceptos");
  if (items.size() != 1) {
    add(failures, "CRP111", conceptos_node, "",
        "Un comprobante de recepción de pagos debe tener exactamente un Concepto y tiene " +
            std::to_string(items.size()) + ".");
    return;
  }
  const Element& concepto = *items.front();
  const std::string node = child_path(conceptos_node, "cfdi:Concepto");
  if (!concepto.children().empty()) {
    add(failures, "CRP112", child_path(node, concepto.children().front()->name()), "",
        "El concepto de un comprobante de recepción de pagos no debe tener nodos hijo.");
  }
  check_fixed(concepto, node, "ClaveProdServ", "84111506", "CRP113", failures);
  check_absent(concepto, node, "NoIdentificacion", "CRP114", failures);
  const auto cantidad = number(concepto, "Cantidad");
  if (!cantidad || *cantidad != Decimal::from_int(1)) {
    add(failures, "CRP115", node, "Cantidad",
        "En un comprobante de recepción de pagos la Cantidad debe ser 1 y es " +
            quoted(attr(concepto, "Cantidad")) + ".");
  }
  check_fixed(concepto, node, "ClaveUnidad", "ACT", "CRP116", failures);
  check_absent(concepto, node, "Unidad", "CRP117", failures);
  check_fixed(concepto, node, "Descripcion", "Pago", "CRP118", failures);
  check_zero(concepto, node, "ValorUnitario", "CRP119", failures);
  check_zero(concepto, node, "Importe", "CRP120", failures);
  check_absent(concepto, node, "Descuento", "CRP121", failures);
}

void check_receipt(const Element& comprobante, Failures& failures) {
  if (attr(comprobante, "TipoDeComprobante") != "P") {
    add(failures, "CRP101", kRoot, "TipoDeComprobante",
        "Un comprobante con complemento de pagos debe ser de tipo \"P\" y es " +
            quoted(attr(comprobante, "TipoDeComprobante")) + ".");
  }
  check_zero(comprobante, kRoot, "SubTotal", "CRP102", failures);
  check_fixed(comprobante, kRoot, "Moneda", "XXX", "CRP103", failures);
  check_absent(comprobante, kRoot, "FormaPago", "CRP104", failures);
  check_absent(comprobante, kRoot, "MetodoPago", "CRP105", failures);
  check_absent(comprobante, kRoot, "CondicionesDePago", "CRP106", failures);
  check_absent(comprobante, kRoot, "Descuento", "CRP107", failures);
  check_absent(comprobante, kRoot, "TipoCambio", "CRP108", failures);
  check_zero(comprobante, kRoot, "Total", "CRP109", failures);
  if (const Element* receptor = comprobante.child("cfdi:Receptor")) {
    check_fixed(*receptor, child_path(kRoot, "cfdi:Receptor"), "UsoCFDI", "P01", "CRP110",
                failures);
  }
  check_concepto(comprobante, failures);
  if (comprobante.child("cfdi:Impuestos") != nullptr) {
    add(failures, "CRP122", child_path(kRoot, "cfdi:Impuestos"), "",
        "Un comprobante de recepción de pagos no debe llevar el nodo Impuestos.");
  }
}

bool positive(const std::optional<Decimal>& value) {
  return value && !value->is_zero() && !value->is_negative();
}

// What c_FormaPago allows for the payment's form: bank data and patterns.
class PaymentForm {
 public:
  explicit PaymentForm(std::string_view code)
      : catalogue_(catalogs::catalog("c_FormaPago")), rows_(catalogue_.rows(code)) {}
  bool known() const { return !rows_.empty(); }
  bool allows(std::string_view column) const {
    return known() && catalogue_.field(rows_.front(), column) == "1";
  }
  std::string_view pattern(std::string_view column) const {
    return known() ? catalogue_.field(rows_.front(), column) : std::string_view{};
  }

 private:
  const catalogs::Catalog& catalogue_;
  std::span<const catalogs::Row> rows_;
};

class PagoCheck {
 public:
  PagoCheck(const Element& pago, std::string node, Failures& failures)
      : pago_(pago),
        node_(std::move(node)),
        failures_(failures),
        moneda_(attr(pago, "MonedaP")),
        moneda_decimals_(catalogs::moneda_decimals(moneda_)),
        form_(attr(pago, "FormaDePagoP")) {}

  void run() {
    check_currency();
    check_bank_data();
    check_payment_chain();
    if (const Element* impuestos = pago_.child("pago10:Impuestos")) {
      add(failures_, "CRP237", child_path(node_, impuestos->name()), "",
          "El pago no debe llevar el nodo Impuestos.");
    }
    check_documents();
  }

 private:
  void fail(std::string code, std::string_view attribute, std::string explanation,
            const std::string* node = nullptr) {
    add(failures_, std::move(code), node ? *node : node_, std::string(attribute),
        std::move(explanation));
  }

  void check_currency() {
    if (attr(pago_, "FormaDePagoP") == "99") {
      fail("CRP201", "FormaDePagoP",
           "La FormaDePagoP de un pago no puede ser \"99\" (por definir).");
    }
    if (moneda_ == "XXX") fail("CRP202", "MonedaP", "La MonedaP de un pago no puede ser \"XXX\".");
    if (moneda_ != "MXN" && !has(pago_, "TipoCambioP")) {
      fail("CRP203", "TipoCambioP",
           "Con MonedaP " + quoted(moneda_) + " el pago debe llevar TipoCambioP.");
    } else if (moneda_ == "MXN" && has(pago_, "TipoCambioP")) {
      fail("CRP204", "TipoCambioP", "Con MonedaP MXN el pago no debe llevar TipoCambioP.");
    }
    const auto monto = number(pago_, "Monto");
    if (monto && !positive(monto)) {
      fail("CRP207", "Monto",
           "El Monto " + monto->to_string() + " del pago debe ser mayor que cero.");
    }
    check_decimals(failures_, "CRP208", pago_, node_, "Monto", moneda_decimals_,
                   "la moneda " + std::string(moneda_));
  }

  void pattern(std::string_view attribute, std::string_view column, std::string code) {
    const std::string_view value = attr(pago_, attribute);
    const std::string_view text = form_.pattern(column);
    // "\\V*" is the catalogue's mark for a form of payment that sets no pattern.
    if (!has(pago_, attribute) || text.empty() || text.starts_with("\\V")) return;
    try {
      const std::regex allowed{std::string(text)};
      if (std::regex_match(value.begin(), value.end(), allowed)) return;
    } catch (const std::regex_error&) {
      return;  // a catalogue pattern this engine cannot read is not judged
    }
    fail(std::move(code), attribute,
         "La " + std::string(attribute) + " " + quoted(value) +
             " no tiene la forma que c_FormaPago admite para la FormaDePagoP " +
             quoted(attr(pago_, "FormaDePagoP")) + ".");
  }

  void only_if(std::string_view attribute, std::string_view column, std::string code) {
    if (!has(pago_, attribute) || !form_.known() || form_.allows(column)) return;
    fail(std::move(code), attribute,
         "Con FormaDePagoP " + quoted(attr(pago_, "FormaDePagoP")) + " no se registra " +
             std::string(attribute) + ".");
  }

  void check_bank_data() {
    if (attr(pago_, "RfcEmisorCtaOrd") == kForeignRfc && !has(pago_, "NomBancoOrdExt")) {
      fail("CRP211", "NomBancoOrdExt",
           "Con RfcEmisorCtaOrd XEXX010101000 el pago debe llevar NomBancoOrdExt.");
    }
    only_if("CtaOrdenante", "permite_cuenta_ordenante", "CRP212");
    pattern("CtaOrdenante", "patron_cuenta_ordenante", "CRP213");
    only_if("RfcEmisorCtaBen", "permite_banco_beneficiario_rfc", "CRP214");
    only_if("CtaBeneficiario", "permite_cuenta_beneficiario", "CRP215");
    only_if("TipoCadPago", "permite_tipo_cadena_pago", "CRP216");
    only_if("RfcEmisorCtaOrd", "permite_banco_ordenante_rfc", "CRP238");
    pattern("CtaBeneficiario", "patron_cuenta_beneficiario", "CRP239");
  }

  void check_payment_chain() {
    const bool chain = has(pago_, "TipoCadPago");
    const std::pair<std::string_view, std::pair<const char*, const char*>> parts[] = {
        {"CertPago", {"CRP227", "CRP228"}},
        {"CadPago", {"CRP229", "CRP230"}},
        {"SelloPago", {"CRP231", "CRP232"}},
    };
    for (const auto& [attribute, codes] : parts) {
      if (chain && !has(pago_, attribute)) {
        fail(codes.first, attribute,
             "Con TipoCadPago el pago debe llevar " + std::string(attribute) + ".");
      } else if (!chain && has(pago_, attribute)) {
        fail(codes.second, attribute,
             "Sin TipoCadPago el pago no debe llevar " + std::string(attribute) + ".");
      }
    }
  }

  void check_documents() {
    const auto doctos = children(pago_, "pago10:DoctoRelacionado");
    Decimal paid_sum;
    for (std::size_t i = 0; i < doctos.size(); ++i) {
      const std::string node =
          child_path(node_, "pago10:DoctoRelacionado", doctos.size() > 1 ? i + 1 : 0);
      paid_sum = paid_sum + check_document(*doctos[i], node, doctos.size());
    }
    const auto monto = number(pago_, "Monto");
    if (monto && paid_sum > *monto) {
      fail("CRP206", "Monto",
           "La suma de ImpPagado de los documentos relacionados en la moneda del pago, " +
               paid_sum.to_string() + ", es mayor que el Monto del pago " + monto->to_string() +
               ".");
    }
  }

  // Checks one related document and returns what it receives in MonedaP.
  Decimal check_document(const Element& docto, const std::string& node, std::size_t doctos) {
    const std::string_view moneda = attr(docto, "MonedaDR");
    const auto decimals = catalogs::moneda_decimals(moneda);
    const bool has_rate = has(docto, "TipoCambioDR");
    const auto rate = number(docto, "TipoCambioDR");
    if (moneda == "XXX") {
      fail("CRP217", "MonedaDR", "La MonedaDR no puede ser \"XXX\".", &node);
    } else if (moneda != moneda_ && !has_rate) {
      fail("CRP218", "TipoCambioDR",
           "La MonedaDR " + quoted(moneda) + " es distinta de la MonedaP " + quoted(moneda_) +
               " y falta el TipoCambioDR.",
           &node);
    } else if (moneda == moneda_ && has_rate) {
      fail("CRP219", "TipoCambioDR",
           "La MonedaDR es igual a la MonedaP y no debe registrarse TipoCambioDR.", &node);
    } else if (moneda == "MXN" && moneda_ != "MXN" && rate && *rate != Decimal::from_int(1)) {
      fail("CRP220", "TipoCambioDR",
           "Con MonedaDR MXN y MonedaP " + quoted(moneda_) + " el TipoCambioDR debe ser 1 y es " +
               rate->to_string() + ".",
           &node);
    }
    if (attr(docto, "MetodoDePagoDR") == "PPD") {
      for (const auto& [attribute, code] :
           {std::pair<std::string_view, const char*>{"NumParcialidad", "CRP233"},
            {"ImpSaldoAnt", "CRP234"},
            {"ImpSaldoInsoluto", "CRP236"}}) {
        if (has(docto, attribute)) continue;
        fail(code, attribute,
             "Un documento relacionado con MetodoDePagoDR PPD debe llevar " +
                 std::string(attribute) + ".",
             &node);
      }
    }
    if (!has(docto, "ImpPagado") && (doctos > 1 || has_rate)) {
      fail("CRP235", "ImpPagado",
           "El documento relacionado debe llevar ImpPagado: el pago salda varios documentos o "
           "convierte moneda.",
           &node);
    }
    const std::string why = "la moneda " + std::string(moneda);
    const auto anterior = number(docto, "ImpSaldoAnt");
    if (anterior && !positive(anterior)) {
      fail("CRP221", "ImpSaldoAnt",
           "El ImpSaldoAnt " + anterior->to_string() + " debe ser mayor que cero.", &node);
    }
    check_decimals(failures_, "CRP222", docto, node, "ImpSaldoAnt", decimals, why);
    auto pagado = number(docto, "ImpPagado");
    if (pagado && !positive(pagado)) {
      fail("CRP223", "ImpPagado",
           "El ImpPagado " + pagado->to_string() + " debe ser mayor que cero.", &node);
    }
    check_decimals(failures_, "CRP224", docto, node, "ImpPagado", decimals, why);
    check_decimals(failures_, "CRP225", docto, node, "ImpSaldoInsoluto", decimals, why);
    // A single related document may leave ImpPagado out: it receives the Monto.
    if (!pagado && doctos == 1 && !has(docto, "ImpPagado")) pagado = number(pago_, "Monto");
    const auto insoluto = number(docto, "ImpSaldoInsoluto");
    if (insoluto && insoluto->is_negative()) {
      fail("CRP226", "ImpSaldoInsoluto",
           "El ImpSaldoInsoluto " + insoluto->to_string() + " no puede ser negativo.", &node);
    } else if (anterior && insoluto && pagado && *insoluto != *anterior - *pagado) {
      fail("CRP226", "ImpSaldoInsoluto",
           "El ImpSaldoInsoluto " + insoluto->to_string() + " no es igual a ImpSaldoAnt " +
               anterior->to_string() + " - ImpPagado " + pagado->to_string() + " = " +
               (*anterior - *pagado).to_string() + ".",
           &node);
    }
    if (!pagado) return {};
    // TipoCambioDR is MonedaDR units per MonedaP unit.
    if (!rate || rate->is_zero()) return *pagado;
    const Decimal converted = pagado->divide_floor(*rate, 10);
    return moneda_decimals_ ? converted.round_to(*moneda_decimals_) : converted;
  }

  const Element& pago_;
  std::string node_;
  Failures& failures_;
  std::string_view moneda_;
  std::optional<int> moneda_decimals_;
  PaymentForm form_;
};

}  // namespace

Failures pagos10_rules(const Element& comprobante) {
  Failures failures;
  const Element* pagos = complement(comprobante, "pago10:Pagos");
  if (pagos == nullptr) return failures;
  check_receipt(comprobante, failures);
  const auto items = children(*pagos, "pago10:Pago");
  const std::string parent = child_path(child_path(kRoot, "cfdi:Complemento"), "pago10:Pagos");
  for (std::size_t i = 0; i < items.size(); ++i) {
    PagoCheck(*items[i], child_path(parent, "pago10:Pago", items.size() > 1 ? i + 1 : 0), failures)
        .run();
  }
  return failures;
}

}  // namespace drovanexis::rules

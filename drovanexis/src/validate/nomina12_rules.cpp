// Complemento de nómina 1.2, applied when the document carries
// nomina12:Nomina. All codes are this library's own:
// The receipt:
//   NOM901 TipoDeComprobante is N       NOM904 exactly one Concepto
//   NOM902 Moneda is MXN                NOM905 the Concepto is 84111505, Cantidad 1, ACT
//   NOM903 FormaPago is 99
//   NOM906 Concepto ValorUnitario = Importe = TotalPercepciones + TotalOtrosPagos
//   NOM907 Descuento (Comprobante and Concepto) = TotalDeducciones
// The totals equal their sums:
//   NOM911 TotalSueldos = Σ gravado + exento of the ordinary perceptions
//   NOM912 TotalGravado = Σ ImporteGravado
//   NOM913 TotalExento = Σ ImporteExento
//   NOM914 TotalOtrasDeducciones = Σ Importe of deductions other than 002
//   NOM915 TotalImpuestosRetenidos = Σ Importe of deductions 002 (ISR)
//   NOM916 TotalPercepciones = TotalSueldos + TotalSeparacionIndemnizacion
//          + TotalJubilacionPensionRetiro
//   NOM917 TotalDeducciones = TotalOtrasDeducciones + TotalImpuestosRetenidos
//   NOM918 TotalOtrosPagos = Σ OtroPago Importe
// The dates:
//   NOM921 FechaPago, FechaInicialPago, FechaFinalPago are real dates yyyy-mm-dd
//   NOM922 FechaInicialPago ≤ FechaFinalPago
//   NOM923 Receptor FechaInicioRelLaboral ≤ FechaFinalPago
#include <array>

#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kNominaNode =
    child_path(child_path(kRoot, "cfdi:Complemento"), "nomina12:Nomina");

// Perception types paid on separation (022, 023, 025) or retirement (039,
// 044): they count in their own totals, not in TotalSueldos.
bool is_ordinary_perception(std::string_view tipo) {
  constexpr std::array<std::string_view, 5> kSpecial = {"022", "023", "025", "039", "044"};
  for (const std::string_view special : kSpecial) {
    if (tipo == special) return false;
  }
  return true;
}

Decimal amount_or_zero(const Element* element, std::string_view attribute) {
  return element == nullptr ? Decimal{} : number(*element, attribute).value_or(Decimal{});
}

// Reports when a stated total (absent counts as 0) differs from its sum.
void check_total(const Element* element, const std::string& node, std::string_view attribute,
                 const Decimal& sum, std::string_view code, std::string_view parts,
                 Failures& failures) {
  if (element != nullptr && has(*element, attribute) && !number(*element, attribute))
    return;  // malformed: 301
  const Decimal stated = amount_or_zero(element, attribute);
  if (stated == sum) return;
  add(failures, std::string(code), node, std::string(attribute),
      "El " + std::string(attribute) + " " + stated.to_string() + " no es igual a " +
          std::string(parts) + " = " + sum.to_string() + ".");
}

void check_receipt(const Element& comprobante, const Element& nomina, Failures& failures) {
  const auto fixed = [&](std::string_view attribute, std::string_view expected,
                         std::string_view code) {
    if (attr(comprobante, attribute) == expected) return;
    add(failures, std::string(code), kRoot, std::string(attribute),
        "Un comprobante de nómina debe llevar " + std::string(attribute) + " \"" +
            std::string(expected) + "\" y lleva " + quoted(attr(comprobante, attribute)) + ".");
  };
  fixed("TipoDeComprobante", "N", "NOM901");
  fixed("Moneda", "MXN", "NOM902");
  fixed("FormaPago", "99", "NOM903");
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  const auto items =
      conceptos ? children(*conceptos, "cfdi:Concepto") : std::vector<const Element*>{};
  if (items.size() != 1) {
    add(failures, "NOM904", child_path(kRoot, "cfdi:Conceptos"), "",
        "Un comprobante de nómina debe tener exactamente un Concepto y tiene " +
            std::to_string(items.size()) + ".");
    return;
  }
  const Element& concepto = *items.front();
  const std::string node = child_path(child_path(kRoot, "cfdi:Conceptos"), "cfdi:Concepto");
  const auto cantidad = number(concepto, "Cantidad");
  for (const auto& [attribute, expected] :
       {std::pair<std::string_view, std::string_view>{"ClaveProdServ", "84111505"},
        {"ClaveUnidad", "ACT"}}) {
    if (attr(concepto, attribute) != expected) {
      add(failures, "NOM905", node, std::string(attribute),
          "El concepto de nómina debe llevar " + std::string(attribute) + " \"" +
              std::string(expected) + "\" y lleva " + quoted(attr(concepto, attribute)) + ".");
    }
  }
  if (!cantidad || *cantidad != Decimal::from_int(1)) {
    add(failures, "NOM905", node, "Cantidad",
        "El concepto de nómina debe llevar Cantidad 1 y lleva " +
            quoted(attr(concepto, "Cantidad")) + ".");
  }
  const Decimal paid =
      amount_or_zero(&nomina, "TotalPercepciones") + amount_or_zero(&nomina, "TotalOtrosPagos");
  check_total(&concepto, node, "ValorUnitario", paid, "NOM906",
              "TotalPercepciones + TotalOtrosPagos", failures);
  check_total(&concepto, node, "Importe", paid, "NOM906", "TotalPercepciones + TotalOtrosPagos",
              failures);
  const Decimal deducted = amount_or_zero(&nomina, "TotalDeducciones");
  check_total(&comprobante, kRoot, "Descuento", deducted, "NOM907", "TotalDeducciones", failures);
  check_total(&concepto, node, "Descuento", deducted, "NOM907", "TotalDeducciones", failures);
}

void check_percepciones(const Element& nomina, Failures& failures) {
  const Element* percepciones = nomina.child("nomina12:Percepciones");
  if (percepciones == nullptr) return;
  const std::string node = child_path(kNominaNode, "nomina12:Percepciones");
  Decimal sueldos, gravado, exento;
  for (const Element* percepcion : children(*percepciones, "nomina12:Percepcion")) {
    const Decimal g = amount_or_zero(percepcion, "ImporteGravado");
    const Decimal e = amount_or_zero(percepcion, "ImporteExento");
    gravado = gravado + g;
    exento = exento + e;
    if (is_ordinary_perception(attr(*percepcion, "TipoPercepcion"))) sueldos = sueldos + g + e;
  }
  check_total(percepciones, node, "TotalSueldos", sueldos, "NOM911",
              "la suma de ImporteGravado + ImporteExento de las percepciones de sueldos", failures);
  check_total(percepciones, node, "TotalGravado", gravado, "NOM912", "la suma de ImporteGravado",
              failures);
  check_total(percepciones, node, "TotalExento", exento, "NOM913", "la suma de ImporteExento",
              failures);
  const Decimal totals = amount_or_zero(percepciones, "TotalSueldos") +
                         amount_or_zero(percepciones, "TotalSeparacionIndemnizacion") +
                         amount_or_zero(percepciones, "TotalJubilacionPensionRetiro");
  check_total(&nomina, kNominaNode, "TotalPercepciones", totals, "NOM916",
              "TotalSueldos + TotalSeparacionIndemnizacion + TotalJubilacionPensionRetiro",
              failures);
}

void check_deducciones(const Element& nomina, Failures& failures) {
  const Element* deducciones = nomina.child("nomina12:Deducciones");
  const std::string node = child_path(kNominaNode, "nomina12:Deducciones");
  Decimal otras, retenidos;
  for (const Element* deduccion :
       deducciones ? children(*deducciones, "nomina12:Deduccion") : std::vector<const Element*>{}) {
    const Decimal importe = amount_or_zero(deduccion, "Importe");
    if (attr(*deduccion, "TipoDeduccion") == "002") {
      retenidos = retenidos + importe;
    } else {
      otras = otras + importe;
    }
  }
  if (deducciones != nullptr) {
    check_total(deducciones, node, "TotalOtrasDeducciones", otras, "NOM914",
                "la suma de las deducciones distintas de ISR", failures);
    check_total(deducciones, node, "TotalImpuestosRetenidos", retenidos, "NOM915",
                "la suma de las deducciones de ISR (002)", failures);
  }
  check_total(&nomina, kNominaNode, "TotalDeducciones",
              amount_or_zero(deducciones, "TotalOtrasDeducciones") +
                  amount_or_zero(deducciones, "TotalImpuestosRetenidos"),
              "NOM917", "TotalOtrasDeducciones + TotalImpuestosRetenidos", failures);
}

void check_otros_pagos(const Element& nomina, Failures& failures) {
  const Element* otros = nomina.child("nomina12:OtrosPagos");
  Decimal sum;
  for (const Element* pago :
       otros ? children(*otros, "nomina12:OtroPago") : std::vector<const Element*>{}) {
    sum = sum + amount_or_zero(pago, "Importe");
  }
  check_total(&nomina, kNominaNode, "TotalOtrosPagos", sum, "NOM918",
              "la suma de los Importe de OtrosPagos", failures);
}

void check_dates(const Element& nomina, Failures& failures) {
  const auto date = [&](std::string_view attribute) -> std::optional<LocalDateTime> {
    if (!has(nomina, attribute)) return std::nullopt;
    const auto value = parse_date(attr(nomina, attribute));
    if (!value) {
      add(failures, "NOM921", kNominaNode, std::string(attribute),
          "La " + std::string(attribute) + " " + quoted(attr(nomina, attribute)) +
              " no es una fecha válida de la forma aaaa-mm-dd.");
    }
    return value;
  };
  date("FechaPago");
  const auto inicial = date("FechaInicialPago");
  const auto final_pago = date("FechaFinalPago");
  if (inicial && final_pago && *inicial > *final_pago) {
    add(failures, "NOM922", kNominaNode, "FechaInicialPago",
        "La FechaInicialPago " + std::string(attr(nomina, "FechaInicialPago")) +
            " es posterior a la FechaFinalPago " + std::string(attr(nomina, "FechaFinalPago")) +
            ".");
  }
  const Element* receptor = nomina.child("nomina12:Receptor");
  if (receptor == nullptr || !final_pago) return;
  const auto inicio = parse_date(attr(*receptor, "FechaInicioRelLaboral"));
  if (inicio && *inicio > *final_pago) {
    add(failures, "NOM923", child_path(kNominaNode, "nomina12:Receptor"), "FechaInicioRelLaboral",
        "La FechaInicioRelLaboral " + std::string(attr(*receptor, "FechaInicioRelLaboral")) +
            " es posterior a la FechaFinalPago " + std::string(attr(nomina, "FechaFinalPago")) +
            ".");
  }
}

}  // namespace

Failures nomina12_rules(const Element& comprobante) {
  Failures failures;
  const Element* nomina = complement(comprobante, "nomina12:Nomina");
  if (nomina == nullptr) return failures;
  check_receipt(comprobante, *nomina, failures);
  check_percepciones(*nomina, failures);
  check_deducciones(*nomina, failures);
  check_otros_pagos(*nomina, failures);
  check_dates(*nomina, failures);
  return failures;
}

}  // namespace drovanexis::rules

// Complemento de nómina 1.2, applied when the document carries
// nomina12:Nomina. A receipt may carry several Nomina nodes (one per period
// or kind of payment): each is checked on its own, and the receipt's
// Concepto carries their sums.
// The receipt (SAT codes):
//   NOM132 Moneda MXN                      NOM141 no NoIdentificacion
//   NOM133 FormaPago 99                    NOM142 Cantidad 1
//   NOM134 TipoDeComprobante N             NOM143 ClaveUnidad ACT
//   NOM137 Receptor Rfc of 13 characters   NOM144 no Unidad
//   NOM139 one Concepto, no child nodes    NOM145 Descripcion "Pago de nómina"
//   NOM140 ClaveProdServ 84111505          NOM149 no Impuestos node
//   NOM146 ValorUnitario = Σ (TotalPercepciones + TotalOtrosPagos) of every Nomina
//   NOM147 Importe = the same sum
//   NOM148 Descuento (Concepto and Comprobante) = Σ TotalDeducciones, absent when none
//   NOM150 Nomina is a child of cfdi:Complemento, not of ComplementoConcepto
// Each Nomina:
//   NOM135/136 Emisor Curp absent for a company, present for a person
//   NOM151 TotalPercepciones or TotalOtrosPagos present
//   NOM152 TipoNomina in c_TipoNomina
//   NOM153/154 TipoNomina O: PeriodicidadPago other than 99; E: 99
//   NOM155 FechaInicialPago ≤ FechaFinalPago
//   NOM156 TotalPercepciones present exactly with Percepciones
//   NOM157 TotalPercepciones = TotalSueldos + TotalSeparacionIndemnizacion
//          + TotalJubilacionPensionRetiro
//   NOM158 TotalDeducciones present exactly with Deducciones
//   NOM159 TotalDeducciones = TotalOtrasDeducciones + TotalImpuestosRetenidos
//   NOM160 TotalOtrosPagos present exactly with OtrosPagos, = Σ OtroPago Importe
//   NOM162/163 RegistroPatronal present for TipoContrato 01–08, absent for 09, 10, 99
//   NOM164 RegistroPatronal requires the receiver's social-security data
//   NOM167 OrigenRecurso in c_OrigenRecurso
//   NOM168/169 MontoRecursoPropio present exactly with OrigenRecurso IM
//   NOM170 MontoRecursoPropio < TotalPercepciones + TotalOtrosPagos
//   NOM171 TipoContrato, NOM172 TipoJornada, NOM176 TipoRegimen,
//   NOM179 RiesgoPuesto, NOM180 PeriodicidadPago, NOM181 Banco: in their catalogues
//   NOM173 FechaInicioRelLaboral ≤ FechaFinalPago
//   NOM174 Antigüedad in weeks fits the time worked
//   NOM175 Antigüedad P[nY][nM]nD equals the time from FechaInicioRelLaboral to
//          FechaFinalPago (with or without the last day)
//   NOM177/178 TipoRegimen fits the TipoContrato
//   NOM182 CuentaBancaria of 10, 11, 16 or 18 digits
//   NOM183 a CLABE (18 digits) carries no Banco; NOM184 its check digit is right
//   NOM185 an account of 10, 11 or 16 digits carries Banco
//   NOM186 ClaveEntFed in c_Estado for MEX
//   NOM188 Σ PorcentajeTiempo of SubContratacion = 100
// Percepciones:
//   NOM189 TotalSueldos + TotalSeparacionIndemnizacion + TotalJubilacionPensionRetiro
//          = TotalGravado + TotalExento
//   NOM190/191/192 TotalSueldos / TotalSeparacionIndemnizacion /
//          TotalJubilacionPensionRetiro = Σ of their perception types
//   NOM193/194 TotalGravado / TotalExento = Σ ImporteGravado / ImporteExento
//   NOM195 ImporteGravado + ImporteExento > 0
//   NOM196 TipoPercepcion in c_TipoPercepcion
//   NOM197/198/199 the totals and nodes that the perception types require
//   NOM200/201 TipoPercepcion 039 / 044 and the retirement amounts
//   NOM202/203 AccionesOTitulos exactly with 045; NOM204/205 HorasExtra exactly with 019
//   NOM206/207 TipoPercepcion 014 requires Incapacidades summing to it
//   NOM208 TipoHoras in c_TipoHoras
//   NOM209/210 TotalUnaExhibicion excludes MontoDiario and TotalParcialidad;
//          TotalParcialidad requires MontoDiario
// Deducciones:
//   NOM211 TotalImpuestosRetenidos = Σ Importe of TipoDeduccion 002
//   NOM212 no deduction 002: no TotalImpuestosRetenidos
//   NOM213 TipoDeduccion in c_TipoDeduccion
//   NOM214/215 TipoDeduccion 006 requires Incapacidades summing to its Importe
//   NOM216 Importe > 0
// OtrosPagos:
//   NOM217 TipoOtroPago in c_TipoOtroPago
//   NOM218 CompensacionSaldosAFavor exactly with 004
//   NOM219 SubsidioAlEmpleo with 002 (and only with 002, 007, 008)
//   NOM220 Importe > 0, except for 002
//   NOM221 SubsidioCausado ≤ 407.02 when NumDiasPagados ≤ 31
//   NOM222 SaldoAFavor ≥ RemanenteSalFav
//   NOM223 Año is the previous year of FechaPago, or its own in December
//   NOM224 TipoIncapacidad in c_TipoIncapacidad
//   NOM226 TipoRegimen 02: 002 not mixed with 007 or 008
//   NOM227 TipoRegimen other than 02: no 002, 007 or 008
//   NOM228 OtroPago 002 Importe ≤ SubsidioCausado
//   NOM229 NumDiasPagados > 31: SubsidioCausado ≤ 13.39 × NumDiasPagados
// This library's codes (no SAT code):
//   SBX-NOM01 TotalOtrasDeducciones = Σ Importe of deductions other than 002
//   SBX-NOM02 FechaPago, FechaInicialPago, FechaFinalPago are real dates
// Not checked here: NOM115, NOM138, NOM161, NOM165, NOM166 and NOM187 need
// the list of registered RFCs (l_RFC) and its flags.
// NOM225 is the SAT's unclassified error: it names no condition. NOM101 to
// NOM131 are worded for CFDI 3.2 receipts, which the schema stage refuses
// (301) before the rules run.
#include <algorithm>
#include <array>
#include <chrono>
#include <regex>
#include <set>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kComplementoNode = child_path(kRoot, "cfdi:Complemento");

bool is_separation(std::string_view tipo) {
  return tipo == "022" || tipo == "023" || tipo == "025";
}
bool is_retirement(std::string_view tipo) { return tipo == "039" || tipo == "044"; }

Decimal amount_or_zero(const Element* element, std::string_view attribute) {
  return element == nullptr ? Decimal{} : number(*element, attribute).value_or(Decimal{});
}

bool positive(const std::optional<Decimal>& value) {
  return value && !value->is_zero() && !value->is_negative();
}

std::vector<const Element*> items(const Element* parent, std::string_view name) {
  return parent ? children(*parent, name) : std::vector<const Element*>{};
}

// Reports when a stated total (absent counts as 0) differs from its sum.
void check_sum(Failures& failures, const Element* element, const std::string& node,
               std::string_view attribute, const Decimal& sum, std::string code,
               std::string_view parts) {
  if (element != nullptr && has(*element, attribute) && !number(*element, attribute))
    return;  // malformed: the structure stage reports it
  const Decimal stated = amount_or_zero(element, attribute);
  if (stated == sum) return;
  add(failures, std::move(code), node, std::string(attribute),
      "El " + std::string(attribute) + " " + stated.to_string() + " no es igual a " +
          std::string(parts) + " = " + sum.to_string() + ".");
}

void check_receipt(const Element& comprobante, const std::vector<const Element*>& nominas,
                   Failures& failures) {
  const auto fixed = [&](std::string_view attribute, std::string_view expected, const char* code) {
    if (attr(comprobante, attribute) == expected) return;
    add(failures, code, kRoot, std::string(attribute),
        "Un comprobante de nómina debe llevar " + std::string(attribute) + " \"" +
            std::string(expected) + "\" y lleva " + quoted(attr(comprobante, attribute)) + ".");
  };
  fixed("Moneda", "MXN", "NOM132");
  fixed("FormaPago", "99", "NOM133");
  fixed("TipoDeComprobante", "N", "NOM134");
  if (const Element* receptor = comprobante.child("cfdi:Receptor");
      receptor && attr(*receptor, "Rfc").size() != 13) {
    add(failures, "NOM137", child_path(kRoot, "cfdi:Receptor"), "Rfc",
        "El receptor de un comprobante de nómina es una persona física (RFC de 13 caracteres) y "
        "su RFC es " +
            quoted(attr(*receptor, "Rfc")) + ".");
  }
  if (comprobante.child("cfdi:Impuestos") != nullptr) {
    add(failures, "NOM149", child_path(kRoot, "cfdi:Impuestos"), "",
        "Un comprobante de nómina no debe llevar el nodo Impuestos.");
  }
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  const auto lines = items(conceptos, "cfdi:Concepto");
  if (lines.size() != 1 || !lines.front()->children().empty()) {
    add(failures, "NOM139", child_path(kRoot, "cfdi:Conceptos"), "",
        "Un comprobante de nómina debe tener exactamente un Concepto sin nodos hijo.");
    if (lines.size() != 1) return;
  }
  const Element& concepto = *lines.front();
  const std::string node = child_path(child_path(kRoot, "cfdi:Conceptos"), "cfdi:Concepto");
  const auto concept_fixed = [&](std::string_view attribute, std::string_view expected,
                                 const char* code) {
    if (attr(concepto, attribute) == expected) return;
    add(failures, code, node, std::string(attribute),
        "El concepto de nómina debe llevar " + std::string(attribute) + " \"" +
            std::string(expected) + "\" y lleva " + quoted(attr(concepto, attribute)) + ".");
  };
  concept_fixed("ClaveProdServ", "84111505", "NOM140");
  concept_fixed("ClaveUnidad", "ACT", "NOM143");
  concept_fixed("Descripcion", "Pago de nómina", "NOM145");
  for (const auto& [attribute, code] :
       {std::pair<const char*, const char*>{"NoIdentificacion", "NOM141"}, {"Unidad", "NOM144"}}) {
    if (!has(concepto, attribute)) continue;
    add(failures, code, node, attribute,
        "El concepto de nómina no debe llevar " + std::string(attribute) + ".");
  }
  const auto cantidad = number(concepto, "Cantidad");
  if (!cantidad || *cantidad != Decimal::from_int(1)) {
    add(failures, "NOM142", node, "Cantidad",
        "El concepto de nómina debe llevar Cantidad 1 y lleva " +
            quoted(attr(concepto, "Cantidad")) + ".");
  }
  Decimal paid, deducted;
  bool any_deduction = false;
  for (const Element* nomina : nominas) {
    paid = paid + amount_or_zero(nomina, "TotalPercepciones") +
           amount_or_zero(nomina, "TotalOtrosPagos");
    deducted = deducted + amount_or_zero(nomina, "TotalDeducciones");
    any_deduction = any_deduction || has(*nomina, "TotalDeducciones");
  }
  const std::string_view paid_parts =
      nominas.size() > 1 ? "la suma de TotalPercepciones + TotalOtrosPagos de los complementos"
                         : "TotalPercepciones + TotalOtrosPagos";
  check_sum(failures, &concepto, node, "ValorUnitario", paid, "NOM146", paid_parts);
  check_sum(failures, &concepto, node, "Importe", paid, "NOM147", paid_parts);
  const std::string_view deducted_parts =
      nominas.size() > 1 ? "la suma de TotalDeducciones de los complementos" : "TotalDeducciones";
  for (const auto& [element, element_node] :
       {std::pair<const Element*, const std::string*>{&concepto, &node}, {&comprobante, &kRoot}}) {
    if (!any_deduction || deducted.is_zero()) {
      if (has(*element, "Descuento") && !amount_or_zero(element, "Descuento").is_zero()) {
        add(failures, "NOM148", *element_node, "Descuento",
            "El comprobante de nómina no registra deducciones y lleva Descuento " +
                quoted(attr(*element, "Descuento")) + ".");
      }
      continue;
    }
    check_sum(failures, element, *element_node, "Descuento", deducted, "NOM148", deducted_parts);
  }
}

std::int64_t days_between(std::optional<LocalDateTime> from, std::optional<LocalDateTime> to) {
  return (to->seconds - from->seconds) / 86400;
}

// Years, months and days from one date to a later one, as a calendar counts them.
std::array<int, 3> elapsed(LocalDateTime from, LocalDateTime to) {
  using namespace std::chrono;
  const year_month_day a{sys_days{days{from.seconds / 86400}}};
  const year_month_day b{sys_days{days{to.seconds / 86400}}};
  int years = int(b.year()) - int(a.year());
  int months = int(unsigned(b.month())) - int(unsigned(a.month()));
  int day_count = int(unsigned(b.day())) - int(unsigned(a.day()));
  if (day_count < 0) {
    --months;
    const year_month_day previous = b - std::chrono::months{1};
    const year_month_day_last last{previous.year(), month_day_last{previous.month()}};
    day_count += int(unsigned(last.day()));
  }
  if (months < 0) {
    --years;
    months += 12;
  }
  return {years, months, day_count};
}

class NominaCheck {
 public:
  NominaCheck(const Element& comprobante, const Element& nomina, std::string node,
              Failures& failures)
      : comprobante_(comprobante),
        nomina_(nomina),
        node_(std::move(node)),
        failures_(failures),
        day_(document_facts(comprobante).day) {}

  void run() {
    check_header();
    check_emisor();
    check_receptor();
    check_percepciones();
    check_deducciones();
    check_otros_pagos();
    check_incapacidades_catalogue();
  }

 private:
  void fail(std::string code, const std::string& node, std::string_view attribute,
            std::string explanation) {
    add(failures_, std::move(code), node, std::string(attribute), std::move(explanation));
  }
  std::string path(std::string_view child) const { return child_path(node_, child); }

  void in_catalogue(const Element& element, const std::string& node, std::string_view attribute,
                    std::string_view catalogue, const char* code) {
    if (!has(element, attribute)) return;
    check_catalog(failures_, code, node, attribute, catalogue, attr(element, attribute), day_);
  }

  std::optional<LocalDateTime> date(std::string_view attribute) {
    if (!has(nomina_, attribute)) return std::nullopt;
    const auto value = parse_date(attr(nomina_, attribute));
    if (!value) {
      fail("SBX-NOM02", node_, attribute,
           "La " + std::string(attribute) + " " + quoted(attr(nomina_, attribute)) +
               " no es una fecha válida de la forma aaaa-mm-dd.");
    }
    return value;
  }

  void check_header() {
    if (!has(nomina_, "TotalPercepciones") && !has(nomina_, "TotalOtrosPagos")) {
      fail("NOM151", node_, "TotalPercepciones",
           "El complemento de nómina debe llevar TotalPercepciones o TotalOtrosPagos.");
    }
    in_catalogue(nomina_, node_, "TipoNomina", "nomina.c_TipoNomina", "NOM152");
    const std::string_view tipo = attr(nomina_, "TipoNomina");
    const std::string_view periodicidad = attr(receptor(), "PeriodicidadPago");
    if (tipo == "O" && periodicidad == "99") {
      fail("NOM153", path("nomina12:Receptor"), "PeriodicidadPago",
           "En una nómina ordinaria la PeriodicidadPago no puede ser 99.");
    } else if (tipo == "E" && receptor_ && has(*receptor_, "PeriodicidadPago") &&
               periodicidad != "99") {
      fail("NOM154", path("nomina12:Receptor"), "PeriodicidadPago",
           "En una nómina extraordinaria la PeriodicidadPago debe ser 99 y es " +
               quoted(periodicidad) + ".");
    }
    fecha_pago_ = date("FechaPago");
    const auto inicial = date("FechaInicialPago");
    final_pago_ = date("FechaFinalPago");
    if (inicial && final_pago_ && *inicial > *final_pago_) {
      fail("NOM155", node_, "FechaInicialPago",
           "La FechaInicialPago " + std::string(attr(nomina_, "FechaInicialPago")) +
               " es posterior a la FechaFinalPago " + std::string(attr(nomina_, "FechaFinalPago")) +
               ".");
    }
  }

  const Element& receptor() {
    static const Element kEmpty("nomina12:Receptor");
    receptor_ = nomina_.child("nomina12:Receptor");
    return receptor_ ? *receptor_ : kEmpty;
  }

  void check_emisor() {
    const Element* emisor = nomina_.child("nomina12:Emisor");
    const std::string node = path("nomina12:Emisor");
    const Element* cfdi_emisor = comprobante_.child("cfdi:Emisor");
    const std::size_t rfc_length = cfdi_emisor ? attr(*cfdi_emisor, "Rfc").size() : 0;
    const bool has_curp = emisor && has(*emisor, "Curp");
    if (rfc_length == 12 && has_curp) {
      fail("NOM135", node, "Curp", "Un emisor persona moral no lleva Curp en la nómina.");
    } else if (rfc_length == 13 && !has_curp) {
      fail("NOM136", node, "Curp", "Un emisor persona física debe llevar Curp en la nómina.");
    }
    const std::string_view contrato = attr(receptor(), "TipoContrato");
    const bool registro = emisor && has(*emisor, "RegistroPatronal");
    const bool employed = contrato >= "01" && contrato <= "08" && contrato.size() == 2;
    if (employed && !registro) {
      fail("NOM162", node, "RegistroPatronal",
           "Con TipoContrato " + quoted(contrato) + " el emisor debe llevar RegistroPatronal.");
    } else if ((contrato == "09" || contrato == "10" || contrato == "99") && registro) {
      fail("NOM163", node, "RegistroPatronal",
           "Con TipoContrato " + quoted(contrato) + " el emisor no lleva RegistroPatronal.");
    }
    if (registro && receptor_) {
      for (const std::string_view required :
           {"NumSeguridadSocial", "FechaInicioRelLaboral", "Antigüedad", "RiesgoPuesto",
            "SalarioDiarioIntegrado"}) {
        if (has(*receptor_, required)) continue;
        fail("NOM164", path("nomina12:Receptor"), required,
             "Con RegistroPatronal el receptor debe llevar " + std::string(required) + ".");
      }
    }
    const Element* entidad = emisor ? emisor->child("nomina12:EntidadSNCF") : nullptr;
    if (entidad == nullptr) return;
    const std::string entidad_node = child_path(node, "nomina12:EntidadSNCF");
    in_catalogue(*entidad, entidad_node, "OrigenRecurso", "nomina.c_OrigenRecurso", "NOM167");
    const bool mixed = attr(*entidad, "OrigenRecurso") == "IM";
    const bool own = has(*entidad, "MontoRecursoPropio");
    if (mixed && !own) {
      fail("NOM168", entidad_node, "MontoRecursoPropio",
           "Con OrigenRecurso IM debe registrarse MontoRecursoPropio.");
    } else if (!mixed && own) {
      fail("NOM169", entidad_node, "MontoRecursoPropio",
           "Solo con OrigenRecurso IM se registra MontoRecursoPropio.");
    }
    const Decimal paid =
        amount_or_zero(&nomina_, "TotalPercepciones") + amount_or_zero(&nomina_, "TotalOtrosPagos");
    if (own && amount_or_zero(entidad, "MontoRecursoPropio") >= paid) {
      fail("NOM170", entidad_node, "MontoRecursoPropio",
           "El MontoRecursoPropio debe ser menor que TotalPercepciones + TotalOtrosPagos = " +
               paid.to_string() + ".");
    }
  }

  void check_antiguedad(const Element& r, const std::string& node) {
    const auto inicio = parse_date(attr(r, "FechaInicioRelLaboral"));
    if (!inicio || !final_pago_ || !has(r, "Antigüedad")) return;
    const std::string text(attr(r, "Antigüedad"));
    static const std::regex kWeeks("P([0-9]{1,4})W");
    static const std::regex kDate("P(?:([0-9]{1,2})Y)?(?:([0-9]{1,2})M)?([0-9]{1,2})D");
    std::smatch parts;
    if (std::regex_match(text, parts, kWeeks)) {
      const std::int64_t weeks = (days_between(inicio, final_pago_) + 1) / 7;
      if (std::stoll(parts[1].str()) > weeks) {
        fail("NOM174", node, "Antigüedad",
             "La Antigüedad " + quoted(text) + " excede las " + std::to_string(weeks) +
                 " semanas transcurridas desde la FechaInicioRelLaboral.");
      }
    } else if (std::regex_match(text, parts, kDate)) {
      const auto value = [&](int i) { return parts[i].matched ? std::stoi(parts[i].str()) : 0; };
      const std::array<int, 3> stated{value(1), value(2), value(3)};
      const std::array<int, 3> without_last = elapsed(*inicio, *final_pago_);
      const std::array<int, 3> with_last =
          elapsed(*inicio, LocalDateTime{final_pago_->seconds + 86400});
      if (stated != without_last && stated != with_last) {
        fail("NOM175", node, "Antigüedad",
             "La Antigüedad " + quoted(text) +
                 " no corresponde al tiempo entre FechaInicioRelLaboral y FechaFinalPago.");
      }
    }
  }

  void check_cuenta(const Element& r, const std::string& node) {
    if (!has(r, "CuentaBancaria")) return;
    const std::string_view cuenta = attr(r, "CuentaBancaria");
    const bool digits =
        std::all_of(cuenta.begin(), cuenta.end(), [](char c) { return c >= '0' && c <= '9'; });
    const std::size_t n = cuenta.size();
    if (!digits || (n != 10 && n != 11 && n != 16 && n != 18)) {
      fail("NOM182", node, "CuentaBancaria",
           "La CuentaBancaria " + quoted(cuenta) + " debe tener 10, 11, 16 o 18 dígitos.");
      return;
    }
    if (n != 18) {
      if (!has(r, "Banco")) {
        fail("NOM185", node, "Banco",
             "Con una cuenta de " + std::to_string(n) + " dígitos debe registrarse el Banco.");
      }
      return;
    }
    if (has(r, "Banco")) {
      fail("NOM183", node, "Banco", "Con una CLABE de 18 dígitos no se registra el Banco.");
    }
    constexpr std::array<int, 3> kWeights = {3, 7, 1};
    int sum = 0;
    for (std::size_t i = 0; i < 17; ++i) sum += (cuenta[i] - '0') * kWeights[i % 3] % 10;
    const int check = (10 - sum % 10) % 10;
    if (cuenta[17] - '0' != check) {
      fail("NOM184", node, "CuentaBancaria",
           "El dígito verificador de la CLABE " + quoted(cuenta) + " debería ser " +
               std::to_string(check) + ".");
    }
  }

  void check_receptor() {
    if (nomina_.child("nomina12:Receptor") == nullptr) return;
    const Element& r = receptor();
    const std::string node = path("nomina12:Receptor");
    in_catalogue(r, node, "TipoContrato", "nomina.c_TipoContrato", "NOM171");
    in_catalogue(r, node, "TipoJornada", "nomina.c_TipoJornada", "NOM172");
    in_catalogue(r, node, "TipoRegimen", "nomina.c_TipoRegimen", "NOM176");
    in_catalogue(r, node, "RiesgoPuesto", "nomina.c_RiesgoPuesto", "NOM179");
    in_catalogue(r, node, "PeriodicidadPago", "nomina.c_PeriodicidadPago", "NOM180");
    in_catalogue(r, node, "Banco", "nomina.c_Banco", "NOM181");
    if (has(r, "ClaveEntFed")) {
      check_catalog(failures_, "NOM186", node, "ClaveEntFed", "nomina.c_Estado",
                    "MEX|" + std::string(attr(r, "ClaveEntFed")), day_);
    }
    const auto inicio = parse_date(attr(r, "FechaInicioRelLaboral"));
    if (inicio && final_pago_ && *inicio > *final_pago_) {
      fail("NOM173", node, "FechaInicioRelLaboral",
           "La FechaInicioRelLaboral " + std::string(attr(r, "FechaInicioRelLaboral")) +
               " es posterior a la FechaFinalPago " + std::string(attr(nomina_, "FechaFinalPago")) +
               ".");
    } else {
      check_antiguedad(r, node);
    }
    const std::string_view contrato = attr(r, "TipoContrato");
    const std::string_view regimen = attr(r, "TipoRegimen");
    const bool employed = contrato.size() == 2 && contrato >= "01" && contrato <= "08";
    if (has(r, "TipoContrato") && has(r, "TipoRegimen")) {
      if (employed && regimen != "02" && regimen != "03" && regimen != "04") {
        fail("NOM177", node, "TipoRegimen",
             "Con TipoContrato " + quoted(contrato) + " el TipoRegimen debe ser 02, 03 o 04.");
      } else if (!employed && (regimen < "05" || regimen.size() != 2)) {
        fail("NOM178", node, "TipoRegimen",
             "Con TipoContrato " + quoted(contrato) + " el TipoRegimen debe ser de 05 a 99.");
      }
    }
    check_cuenta(r, node);
    Decimal porcentaje;
    const auto subcontrataciones = children(r, "nomina12:SubContratacion");
    for (const Element* sub : subcontrataciones)
      porcentaje = porcentaje + amount_or_zero(sub, "PorcentajeTiempo");
    if (!subcontrataciones.empty() && porcentaje != Decimal::from_int(100)) {
      fail("NOM188", child_path(node, "nomina12:SubContratacion"), "PorcentajeTiempo",
           "La suma de PorcentajeTiempo es " + porcentaje.to_string() + " y debe ser 100.");
    }
  }

  void check_percepciones() {
    const Element* percepciones = nomina_.child("nomina12:Percepciones");
    if ((percepciones != nullptr) != has(nomina_, "TotalPercepciones")) {
      fail("NOM156", node_, "TotalPercepciones",
           "TotalPercepciones se registra si y solo si existe el nodo Percepciones.");
    }
    if (percepciones == nullptr) return;
    const std::string node = path("nomina12:Percepciones");
    Decimal sueldos, separacion, jubilacion, gravado, exento;
    bool any_sueldo = false, any_separacion = false, any_jubilacion = false;
    bool has_039 = false, has_044 = false;
    const auto list = children(*percepciones, "nomina12:Percepcion");
    for (std::size_t i = 0; i < list.size(); ++i) {
      const Element& p = *list[i];
      const std::string p_node =
          child_path(node, "nomina12:Percepcion", list.size() > 1 ? i + 1 : 0);
      const std::string_view tipo = attr(p, "TipoPercepcion");
      const Decimal g = amount_or_zero(&p, "ImporteGravado");
      const Decimal e = amount_or_zero(&p, "ImporteExento");
      gravado = gravado + g;
      exento = exento + e;
      if (is_separation(tipo)) {
        separacion = separacion + g + e;
        any_separacion = true;
      } else if (is_retirement(tipo)) {
        jubilacion = jubilacion + g + e;
        any_jubilacion = true;
        has_039 = has_039 || tipo == "039";
        has_044 = has_044 || tipo == "044";
      } else {
        sueldos = sueldos + g + e;
        any_sueldo = true;
      }
      check_percepcion(p, p_node, tipo, g + e);
    }
    if (any_sueldo && !has(*percepciones, "TotalSueldos")) {
      fail("NOM197", node, "TotalSueldos", "Hay percepciones de sueldos y falta TotalSueldos.");
    }
    const Element* separacion_node = percepciones->child("nomina12:SeparacionIndemnizacion");
    if (any_separacion &&
        (!has(*percepciones, "TotalSeparacionIndemnizacion") || separacion_node == nullptr)) {
      fail("NOM198", node, "TotalSeparacionIndemnizacion",
           "Hay percepciones 022, 023 o 025 y falta TotalSeparacionIndemnizacion o el nodo "
           "SeparacionIndemnizacion.");
    }
    const Element* jubilacion_node = percepciones->child("nomina12:JubilacionPensionRetiro");
    if (any_jubilacion &&
        (!has(*percepciones, "TotalJubilacionPensionRetiro") || jubilacion_node == nullptr)) {
      fail("NOM199", node, "TotalJubilacionPensionRetiro",
           "Hay percepciones 039 o 044 y falta TotalJubilacionPensionRetiro o el nodo "
           "JubilacionPensionRetiro.");
    }
    check_retirement(jubilacion_node, child_path(node, "nomina12:JubilacionPensionRetiro"), has_039,
                     has_044);
    check_sum(failures_, percepciones, node, "TotalSueldos", sueldos, "NOM190",
              "la suma de las percepciones de sueldos");
    check_sum(failures_, percepciones, node, "TotalSeparacionIndemnizacion", separacion, "NOM191",
              "la suma de las percepciones 022, 023 y 025");
    check_sum(failures_, percepciones, node, "TotalJubilacionPensionRetiro", jubilacion, "NOM192",
              "la suma de las percepciones 039 y 044");
    check_sum(failures_, percepciones, node, "TotalGravado", gravado, "NOM193",
              "la suma de ImporteGravado");
    check_sum(failures_, percepciones, node, "TotalExento", exento, "NOM194",
              "la suma de ImporteExento");
    const Decimal three = amount_or_zero(percepciones, "TotalSueldos") +
                          amount_or_zero(percepciones, "TotalSeparacionIndemnizacion") +
                          amount_or_zero(percepciones, "TotalJubilacionPensionRetiro");
    const Decimal two =
        amount_or_zero(percepciones, "TotalGravado") + amount_or_zero(percepciones, "TotalExento");
    if (three != two) {
      fail("NOM189", node, "TotalGravado",
           "TotalSueldos + TotalSeparacionIndemnizacion + TotalJubilacionPensionRetiro = " +
               three.to_string() +
               " no es igual a TotalGravado + TotalExento = " + two.to_string() + ".");
    }
    if (has(nomina_, "TotalPercepciones")) {
      check_sum(failures_, &nomina_, node_, "TotalPercepciones", three, "NOM157",
                "TotalSueldos + TotalSeparacionIndemnizacion + TotalJubilacionPensionRetiro");
    }
  }

  void check_percepcion(const Element& p, const std::string& node, std::string_view tipo,
                        const Decimal& amount) {
    if (amount.is_zero() || amount.is_negative()) {
      fail("NOM195", node, "ImporteGravado",
           "La suma de ImporteGravado e ImporteExento de la percepción debe ser mayor que cero.");
    }
    in_catalogue(p, node, "TipoPercepcion", "nomina.c_TipoPercepcion", "NOM196");
    const bool acciones = p.child("nomina12:AccionesOTitulos") != nullptr;
    if (tipo == "045" && !acciones) {
      fail("NOM202", node, "", "La percepción 045 debe llevar el nodo AccionesOTitulos.");
    } else if (tipo != "045" && acciones) {
      fail("NOM203", node, "", "Solo la percepción 045 lleva el nodo AccionesOTitulos.");
    }
    const auto horas = children(p, "nomina12:HorasExtra");
    if (tipo == "019" && horas.empty()) {
      fail("NOM204", node, "", "La percepción 019 debe llevar el nodo HorasExtra.");
    } else if (tipo != "019" && !horas.empty()) {
      fail("NOM205", node, "", "Solo la percepción 019 lleva el nodo HorasExtra.");
    }
    for (const Element* h : horas) {
      in_catalogue(*h, child_path(node, "nomina12:HorasExtra"), "TipoHoras", "nomina.c_TipoHoras",
                   "NOM208");
    }
    if (tipo == "014") {
      const auto list = items(nomina_.child("nomina12:Incapacidades"), "nomina12:Incapacidad");
      if (list.empty()) {
        fail("NOM206", node, "", "La percepción 014 requiere el nodo Incapacidades.");
      } else {
        Decimal sum;
        for (const Element* i : list) sum = sum + amount_or_zero(i, "ImporteMonetario");
        if (sum != amount) {
          fail("NOM207", node, "ImporteGravado",
               "La suma de ImporteMonetario de las incapacidades, " + sum.to_string() +
                   ", no es igual al importe de la percepción 014 = " + amount.to_string() + ".");
        }
      }
    }
  }

  void check_retirement(const Element* node_element, const std::string& node, bool has_039,
                        bool has_044) {
    if (node_element == nullptr) return;
    const Element& j = *node_element;
    const bool una = has(j, "TotalUnaExhibicion");
    const bool parcialidad = has(j, "TotalParcialidad");
    const bool diario = has(j, "MontoDiario");
    if (has_039 && (!una || parcialidad || diario)) {
      fail("NOM200", node, "TotalUnaExhibicion",
           "Con la percepción 039 se registra TotalUnaExhibicion, sin TotalParcialidad ni "
           "MontoDiario.");
    }
    if (has_044 && (una || !parcialidad || !diario)) {
      fail("NOM201", node, "TotalParcialidad",
           "Con la percepción 044 se registran TotalParcialidad y MontoDiario, sin "
           "TotalUnaExhibicion.");
    }
    if (una && (diario || parcialidad)) {
      fail("NOM209", node, "TotalUnaExhibicion",
           "Con TotalUnaExhibicion no se registran MontoDiario ni TotalParcialidad.");
    }
    if (parcialidad && (!diario || una)) {
      fail("NOM210", node, "TotalParcialidad",
           "Con TotalParcialidad se registra MontoDiario y no TotalUnaExhibicion.");
    }
  }

  void check_deducciones() {
    const Element* deducciones = nomina_.child("nomina12:Deducciones");
    if ((deducciones != nullptr) != has(nomina_, "TotalDeducciones")) {
      fail("NOM158", node_, "TotalDeducciones",
           "TotalDeducciones se registra si y solo si existe el nodo Deducciones.");
    }
    if (deducciones == nullptr) return;
    const std::string node = path("nomina12:Deducciones");
    Decimal otras, retenidos;
    bool any_isr = false;
    const auto list = children(*deducciones, "nomina12:Deduccion");
    for (std::size_t i = 0; i < list.size(); ++i) {
      const Element& d = *list[i];
      const std::string d_node =
          child_path(node, "nomina12:Deduccion", list.size() > 1 ? i + 1 : 0);
      const Decimal importe = amount_or_zero(&d, "Importe");
      const std::string_view tipo = attr(d, "TipoDeduccion");
      if (tipo == "002") {
        retenidos = retenidos + importe;
        any_isr = true;
      } else {
        otras = otras + importe;
      }
      in_catalogue(d, d_node, "TipoDeduccion", "nomina.c_TipoDeduccion", "NOM213");
      if (importe.is_zero() || importe.is_negative()) {
        fail("NOM216", d_node, "Importe", "El Importe de la deducción debe ser mayor que cero.");
      }
      if (tipo == "006") {
        const auto incapacidades =
            items(nomina_.child("nomina12:Incapacidades"), "nomina12:Incapacidad");
        Decimal sum;
        for (const Element* inc : incapacidades)
          sum = sum + amount_or_zero(inc, "ImporteMonetario");
        if (incapacidades.empty()) {
          fail("NOM214", d_node, "", "La deducción 006 requiere el nodo Incapacidades.");
        } else if (sum != importe) {
          fail("NOM215", d_node, "Importe",
               "El Importe de la deducción 006, " + importe.to_string() +
                   ", no es igual a la suma de ImporteMonetario de las incapacidades = " +
                   sum.to_string() + ".");
        }
      }
    }
    check_sum(failures_, deducciones, node, "TotalOtrasDeducciones", otras, "SBX-NOM01",
              "la suma de las deducciones distintas de ISR (002)");
    if (!any_isr && has(*deducciones, "TotalImpuestosRetenidos")) {
      fail("NOM212", node, "TotalImpuestosRetenidos",
           "Sin deducciones de ISR (002) no se registra TotalImpuestosRetenidos.");
    } else if (any_isr) {
      check_sum(failures_, deducciones, node, "TotalImpuestosRetenidos", retenidos, "NOM211",
                "la suma de las deducciones de ISR (002)");
    }
    check_sum(failures_, &nomina_, node_, "TotalDeducciones",
              amount_or_zero(deducciones, "TotalOtrasDeducciones") +
                  amount_or_zero(deducciones, "TotalImpuestosRetenidos"),
              "NOM159", "TotalOtrasDeducciones + TotalImpuestosRetenidos");
  }

  void check_otro_pago(const Element& o, const std::string& node, std::set<std::string>& keys) {
    const std::string_view tipo = attr(o, "TipoOtroPago");
    keys.insert(std::string(tipo));
    in_catalogue(o, node, "TipoOtroPago", "nomina.c_TipoOtroPago", "NOM217");
    const Element* compensacion = o.child("nomina12:CompensacionSaldosAFavor");
    if ((tipo == "004") != (compensacion != nullptr)) {
      fail("NOM218", node, "TipoOtroPago",
           "El nodo CompensacionSaldosAFavor se registra si y solo si TipoOtroPago es 004.");
    }
    const Element* subsidio = o.child("nomina12:SubsidioAlEmpleo");
    if ((tipo == "002" && subsidio == nullptr) ||
        (subsidio != nullptr && tipo != "002" && tipo != "007" && tipo != "008")) {
      fail("NOM219", node, "TipoOtroPago",
           "El nodo SubsidioAlEmpleo se registra con TipoOtroPago 002 (y solo con 002, 007 u "
           "008).");
    }
    const auto importe = number(o, "Importe");
    if (tipo != "002" && importe && !positive(importe)) {
      fail("NOM220", node, "Importe", "El Importe del otro pago debe ser mayor que cero.");
    }
    if (subsidio != nullptr)
      check_subsidio(*subsidio, child_path(node, subsidio->name()), tipo, importe);
    if (compensacion != nullptr) {
      const std::string c_node = child_path(node, compensacion->name());
      if (amount_or_zero(compensacion, "SaldoAFavor") <
          amount_or_zero(compensacion, "RemanenteSalFav")) {
        fail("NOM222", c_node, "RemanenteSalFav",
             "El RemanenteSalFav no puede exceder el SaldoAFavor.");
      }
      if (fecha_pago_ && has(*compensacion, "Año")) {
        const std::string pago(attr(nomina_, "FechaPago"));
        const int year = std::stoi(pago.substr(0, 4));
        const bool december = pago.substr(5, 2) == "12";
        const std::string stated(attr(*compensacion, "Año"));
        if (stated != std::to_string(year - 1) && !(december && stated == std::to_string(year))) {
          fail("NOM223", c_node, "Año",
               "El Año " + quoted(stated) + " debe ser el anterior al de la FechaPago " +
                   quoted(pago) + " (o el mismo, si se paga diciembre).");
        }
      }
    }
  }

  void check_subsidio(const Element& subsidio, const std::string& node, std::string_view tipo,
                      const std::optional<Decimal>& importe) {
    const auto causado = number(subsidio, "SubsidioCausado");
    if (!causado) return;
    const auto dias = number(nomina_, "NumDiasPagados");
    if (dias && *dias <= Decimal::from_int(31) && *causado > *Decimal::parse("407.02")) {
      fail("NOM221", node, "SubsidioCausado",
           "El SubsidioCausado " + causado->to_string() +
               " excede 407.02 para un periodo de hasta 31 días.");
    }
    if (dias && *dias > Decimal::from_int(31) && *causado > *Decimal::parse("13.39") * *dias) {
      fail("NOM229", node, "SubsidioCausado",
           "El SubsidioCausado " + causado->to_string() + " excede 13.39 x NumDiasPagados = " +
               (*Decimal::parse("13.39") * *dias).to_string() + ".");
    }
    if (tipo == "002" && importe && *importe > *causado) {
      fail("NOM228", node, "SubsidioCausado",
           "El Importe del subsidio para el empleo " + importe->to_string() +
               " excede el SubsidioCausado " + causado->to_string() + ".");
    }
  }

  void check_otros_pagos() {
    const Element* otros = nomina_.child("nomina12:OtrosPagos");
    if ((otros != nullptr) != has(nomina_, "TotalOtrosPagos")) {
      fail("NOM160", node_, "TotalOtrosPagos",
           "TotalOtrosPagos se registra si y solo si existe el nodo OtrosPagos.");
    }
    if (otros == nullptr) return;
    const std::string node = path("nomina12:OtrosPagos");
    const auto list = children(*otros, "nomina12:OtroPago");
    Decimal sum;
    std::set<std::string> keys;
    for (std::size_t i = 0; i < list.size(); ++i) {
      sum = sum + amount_or_zero(list[i], "Importe");
      check_otro_pago(*list[i], child_path(node, "nomina12:OtroPago", list.size() > 1 ? i + 1 : 0),
                      keys);
    }
    if (has(nomina_, "TotalOtrosPagos")) {
      check_sum(failures_, &nomina_, node_, "TotalOtrosPagos", sum, "NOM160",
                "la suma de los Importe de OtrosPagos");
    }
    const bool subsidy_keys = keys.contains("002") || keys.contains("007") || keys.contains("008");
    const std::string_view regimen = attr(receptor(), "TipoRegimen");
    if (!receptor_ || !has(*receptor_, "TipoRegimen")) return;
    if (regimen == "02" && keys.contains("002") && (keys.contains("007") || keys.contains("008"))) {
      fail("NOM226", node, "", "Con TipoRegimen 02 el subsidio 002 no se mezcla con 007 u 008.");
    } else if (regimen != "02" && subsidy_keys) {
      fail("NOM227", node, "",
           "Con TipoRegimen " + quoted(regimen) +
               " no se registran los otros pagos 002, 007 u "
               "008.");
    }
  }

  void check_incapacidades_catalogue() {
    const Element* incapacidades = nomina_.child("nomina12:Incapacidades");
    for (const Element* i : items(incapacidades, "nomina12:Incapacidad")) {
      in_catalogue(*i, child_path(path("nomina12:Incapacidades"), "nomina12:Incapacidad"),
                   "TipoIncapacidad", "nomina.c_TipoIncapacidad", "NOM224");
    }
  }

  const Element& comprobante_;
  const Element& nomina_;
  std::string node_;
  Failures& failures_;
  std::optional<int> day_;
  const Element* receptor_ = nullptr;
  std::optional<LocalDateTime> fecha_pago_;
  std::optional<LocalDateTime> final_pago_;
};

// NOM150: a payroll complement placed inside a Concepto.
void check_placement(const Element& comprobante, Failures& failures) {
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  for (const Element* concepto : items(conceptos, "cfdi:Concepto")) {
    const Element* complemento = concepto->child("cfdi:ComplementoConcepto");
    if (complemento && complemento->child("nomina12:Nomina")) {
      add(failures, "NOM150", child_path(child_path(kRoot, "cfdi:Conceptos"), "cfdi:Concepto"), "",
          "El complemento de nómina va en cfdi:Complemento, no en ComplementoConcepto.");
    }
  }
}

}  // namespace

Failures nomina12_rules(const Element& comprobante) {
  Failures failures;
  check_placement(comprobante, failures);
  const Element* complemento = comprobante.child("cfdi:Complemento");
  const auto nominas = items(complemento, "nomina12:Nomina");
  if (nominas.empty()) {
    if (attr(comprobante, "TipoDeComprobante") == "N") {
      add(failures, "NOM134", kRoot, "TipoDeComprobante",
          "Un comprobante de tipo N debe llevar el complemento de nómina.");
    }
    return failures;
  }
  check_receipt(comprobante, nominas, failures);
  for (std::size_t i = 0; i < nominas.size(); ++i) {
    NominaCheck(comprobante, *nominas[i],
                child_path(kComplementoNode, "nomina12:Nomina", nominas.size() > 1 ? i + 1 : 0),
                failures)
        .run();
  }
  return failures;
}

}  // namespace drovanexis::rules

#include "tools/pdf/printed_layout.h"

#include <array>
#include <cstdlib>
#include <initializer_list>

#include "tools/pdf/catalog_names.h"
#include "tools/pdf/decimal_text.h"

namespace pdf {

namespace {

using drovanexis::Element;
using Kind = Block::Kind;

std::string unit_of_line(const Element& concepto) {
  std::string out = value_at(concepto, "ClaveUnidad");
  if (const std::string unit = value_at(concepto, "Unidad"); !unit.empty()) {
    out += (out.empty() ? "" : " ") + unit;
  }
  return out;
}

std::string description_of_line(const Element& concepto) {
  std::string out = value_at(concepto, "Descripcion");
  if (const std::string id = value_at(concepto, "NoIdentificacion"); !id.empty()) {
    out += "\nNo. " + id;
  }
  return out;
}

// A 4.0 line billed on behalf of a third party names it under the
// description.
std::string description_of_line40(const Element& concepto) {
  std::string out = description_of_line(concepto);
  if (const Element* third = concepto.child("cfdi:ACuentaTerceros")) {
    out += "\nA cuenta de terceros: " + value_at(*third, "RfcACuentaTerceros") + " " +
           value_at(*third, "NombreACuentaTerceros");
  }
  return out;
}

std::string payroll_net(const Element& nomina) {
  return format_cents(parse_cents(value_at(nomina, "TotalPercepciones")) +
                      parse_cents(value_at(nomina, "TotalOtrosPagos")) -
                      parse_cents(value_at(nomina, "TotalDeducciones")));
}

// Repeated CfdiRelacionados (4.0) print one group each.
const std::vector<Block> kRelated = {
    {Kind::kFields,
     "CFDI relacionados",
     "cfdi:CfdiRelacionados",
     {{"Tipo de relación", "TipoRelacion"}},
     {{Kind::kList, "UUID relacionados", "cfdi:CfdiRelacionado", {{"UUID", "UUID"}}}}},
};

const std::vector<Block> kTaxSummary33 = {
    {Kind::kTable,
     "Impuestos trasladados",
     "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
     {{"Impuesto", "Impuesto", nullptr, tax_name},
      {"Tipo factor", "TipoFactor"},
      {"Tasa o cuota", "TasaOCuota"},
      {"Importe", "Importe"}}},
    {Kind::kTable,
     "Impuestos retenidos",
     "cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion",
     {{"Impuesto", "Impuesto", nullptr, tax_name}, {"Importe", "Importe"}}},
};

const std::vector<Block> kTaxSummary40 = {
    {Kind::kTable,
     "Impuestos trasladados",
     "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
     {{"Impuesto", "Impuesto", nullptr, tax_name},
      {"Base", "Base"},
      {"Tipo factor", "TipoFactor"},
      {"Tasa o cuota", "TasaOCuota"},
      {"Importe", "Importe"}}},
    kTaxSummary33[1],
};

// The parts both versions print alike.
const std::vector<Field> kIssuer = {
    {"RFC", "cfdi:Emisor@Rfc"},
    {"Régimen fiscal", "cfdi:Emisor@RegimenFiscal", nullptr, tax_regime_name},
    {"Lugar de expedición", "LugarExpedicion"}};

const std::vector<Field> kDocument = {{"Tipo de comprobante", "TipoDeComprobante"},
                                      {"Serie", "Serie"},
                                      {"Folio", "Folio"},
                                      {"Fecha de emisión", "Fecha"},
                                      {"Certificado del emisor", "NoCertificado"},
                                      {"Confirmación", "Confirmacion"}};

const std::vector<Field> kStamp = {
    {"Folio fiscal", "cfdi:Complemento/tfd:TimbreFiscalDigital@UUID"},
    {"Fecha de timbrado", "cfdi:Complemento/tfd:TimbreFiscalDigital@FechaTimbrado"},
    {"Certificado del SAT", "cfdi:Complemento/tfd:TimbreFiscalDigital@NoCertificadoSAT"},
    {"RFC del proveedor de certificación",
     "cfdi:Complemento/tfd:TimbreFiscalDigital@RfcProvCertif"}};

const std::vector<Field> kReceiver = {
    {"Receptor", "cfdi:Receptor@Nombre"},
    {"RFC", "cfdi:Receptor@Rfc"},
    {"Uso del CFDI", "cfdi:Receptor@UsoCFDI", nullptr, cfdi_use_name},
    {"Residencia fiscal", "cfdi:Receptor@ResidenciaFiscal"},
    {"Registro de identidad tributaria", "cfdi:Receptor@NumRegIdTrib"}};

const std::vector<Field> kPayment = {{"Forma de pago", "FormaPago", nullptr, payment_form_name},
                                     {"Método de pago", "MetodoPago", nullptr, payment_method_name},
                                     {"Condiciones de pago", "CondicionesDePago"},
                                     {"Moneda", "Moneda"},
                                     {"Tipo de cambio", "TipoCambio"}};

const std::vector<Field> kTotals = {
    {"Subtotal", "SubTotal"},
    {"Descuento", "Descuento"},
    {"Impuestos trasladados", "cfdi:Impuestos@TotalImpuestosTrasladados"},
    {"Impuestos retenidos", "cfdi:Impuestos@TotalImpuestosRetenidos"},
    {"Total", "Total"}};

template <typename T>
std::vector<T> joined(std::initializer_list<std::vector<T>> parts) {
  std::vector<T> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

const VersionLayout kCfdi33 = {
    "3.3",
    kIssuer,
    joined({kDocument, kStamp}),
    kReceiver,
    kPayment,
    {{"Cantidad", "Cantidad"},
     {"Unidad", "", unit_of_line},
     {"Clave", "ClaveProdServ"},
     {"Descripción", "", description_of_line},
     {"Valor unitario", "ValorUnitario"},
     {"Descuento", "Descuento"},
     {"Importe", "Importe"},
     {"Impuestos", "", line_taxes}},
    {1.1f, 1.0f, 1.2f, 3.0f, 1.1f, 1.2f, 1.1f, 2.0f},
    kTotals,
    kRelated,
    kTaxSummary33,
};

// 4.0 adds the export key, the global invoice's period, the receiver's
// fiscal address and regime, each line's tax object and the third party a
// line is billed for; the document's transferred taxes carry their base.
const VersionLayout kCfdi40 = {
    "4.0",
    kIssuer,
    joined<Field>(
        {kDocument,
         {{"Exportación", "Exportacion", nullptr, export_name},
          {"Periodicidad", "cfdi:InformacionGlobal@Periodicidad", nullptr, periodicity_name},
          {"Meses", "cfdi:InformacionGlobal@Meses", nullptr, months_name},
          {"Año", "cfdi:InformacionGlobal@Año"}},
         kStamp}),
    joined<Field>({kReceiver,
                   {{"Domicilio fiscal", "cfdi:Receptor@DomicilioFiscalReceptor"},
                    {"Régimen fiscal del receptor", "cfdi:Receptor@RegimenFiscalReceptor", nullptr,
                     tax_regime_name}}}),
    kPayment,
    {{"Cantidad", "Cantidad"},
     {"Unidad", "", unit_of_line},
     {"Clave", "ClaveProdServ"},
     {"Descripción", "", description_of_line40},
     {"Valor unitario", "ValorUnitario"},
     {"Descuento", "Descuento"},
     {"Importe", "Importe"},
     {"Obj. imp.", "ObjetoImp"},
     {"Impuestos", "", line_taxes}},
    {1.1f, 1.0f, 1.2f, 3.0f, 1.1f, 1.2f, 1.1f, 0.6f, 2.0f},
    kTotals,
    kRelated,
    kTaxSummary40,
};

const std::vector<Block> kPayments10 = {
    {Kind::kFields,
     "Pago",
     "pago10:Pago",
     {{"Fecha de pago", "FechaPago"},
      {"Forma de pago", "FormaDePagoP", nullptr, payment_form_name},
      {"Moneda", "MonedaP"},
      {"Tipo de cambio", "TipoCambioP"},
      {"Monto", "Monto"},
      {"Número de operación", "NumOperacion"},
      {"RFC banco ordenante", "RfcEmisorCtaOrd"},
      {"Banco ordenante extranjero", "NomBancoOrdExt"},
      {"Cuenta ordenante", "CtaOrdenante"},
      {"RFC banco beneficiario", "RfcEmisorCtaBen"},
      {"Cuenta beneficiaria", "CtaBeneficiario"}},
     {{Kind::kTable,
       "Documentos relacionados",
       "pago10:DoctoRelacionado",
       {{"Id. del documento", "IdDocumento"},
        {"Serie", "Serie"},
        {"Folio", "Folio"},
        {"Moneda", "MonedaDR"},
        {"Método", "MetodoDePagoDR"},
        {"Parcialidad", "NumParcialidad"},
        {"Saldo anterior", "ImpSaldoAnt"},
        {"Pagado", "ImpPagado"},
        {"Saldo insoluto", "ImpSaldoInsoluto"}},
       {},
       {3.2f, 0.7f, 0.8f, 0.8f, 0.8f, 0.9f, 1.1f, 1.1f, 1.1f}}}},
};

const std::vector<Block> kPayroll12 = {
    {Kind::kFields,
     "Nómina",
     "",
     {{"Tipo de nómina", "TipoNomina"},
      {"Fecha de pago", "FechaPago"},
      {"Periodo desde", "FechaInicialPago"},
      {"Periodo hasta", "FechaFinalPago"},
      {"Días pagados", "NumDiasPagados"},
      {"Total percepciones", "TotalPercepciones"},
      {"Total deducciones", "TotalDeducciones"},
      {"Total otros pagos", "TotalOtrosPagos"},
      {"Neto a pagar", "", payroll_net}}},
    {Kind::kFields,
     "Patrón",
     "nomina12:Emisor",
     {{"Registro patronal", "RegistroPatronal"},
      {"CURP", "Curp"},
      {"RFC patrón origen", "RfcPatronOrigen"}}},
    {Kind::kFields,
     "Empleado",
     "nomina12:Receptor",
     {{"CURP", "Curp"},
      {"Número de seguridad social", "NumSeguridadSocial"},
      {"Número de empleado", "NumEmpleado"},
      {"Departamento", "Departamento"},
      {"Puesto", "Puesto"},
      {"Inicio de la relación laboral", "FechaInicioRelLaboral"},
      {"Antigüedad", "Antigüedad"},
      {"Tipo de contrato", "TipoContrato"},
      {"Tipo de jornada", "TipoJornada"},
      {"Tipo de régimen", "TipoRegimen"},
      {"Periodicidad de pago", "PeriodicidadPago"},
      {"Riesgo del puesto", "RiesgoPuesto"},
      {"Salario base", "SalarioBaseCotApor"},
      {"Salario diario integrado", "SalarioDiarioIntegrado"},
      {"Entidad federativa", "ClaveEntFed"},
      {"Banco", "Banco"},
      {"Cuenta bancaria", "CuentaBancaria"}}},
    {Kind::kTable,
     "Percepciones",
     "nomina12:Percepciones/nomina12:Percepcion",
     {{"Tipo", "TipoPercepcion"},
      {"Clave", "Clave"},
      {"Concepto", "Concepto"},
      {"Gravado", "ImporteGravado"},
      {"Exento", "ImporteExento"}},
     {},
     {0.7f, 0.8f, 3.0f, 1.0f, 1.0f}},
    {Kind::kTable,
     "Deducciones",
     "nomina12:Deducciones/nomina12:Deduccion",
     {{"Tipo", "TipoDeduccion"},
      {"Clave", "Clave"},
      {"Concepto", "Concepto"},
      {"Importe", "Importe"}},
     {},
     {0.7f, 0.8f, 3.0f, 1.0f}},
    {Kind::kTable,
     "Otros pagos",
     "nomina12:OtrosPagos/nomina12:OtroPago",
     {{"Tipo", "TipoOtroPago"},
      {"Clave", "Clave"},
      {"Concepto", "Concepto"},
      {"Importe", "Importe"}},
     {},
     {0.7f, 0.8f, 3.0f, 1.0f}},
};

const std::vector<Block> kCartaPorte10 = {
    {Kind::kFields,
     "Carta Porte",
     "",
     {{"Versión", "Version"},
      {"Transporte internacional", "TranspInternac"},
      {"Entrada o salida", "EntradaSalidaMerc"},
      {"Vía de entrada o salida", "ViaEntradaSalida"},
      {"Distancia total recorrida", "TotalDistRec"}}},
    {Kind::kTable,
     "Ubicaciones",
     "cartaporte:Ubicaciones/cartaporte:Ubicacion",
     {{"Origen", "cartaporte:Origen@IDOrigen"},
      {"Remitente", "cartaporte:Origen@RFCRemitente"},
      {"Salida", "cartaporte:Origen@FechaHoraSalida"},
      {"Destino", "cartaporte:Destino@IDDestino"},
      {"Destinatario", "cartaporte:Destino@RFCDestinatario"},
      {"Llegada", "cartaporte:Destino@FechaHoraProgLlegada"},
      {"Distancia", "DistanciaRecorrida"}}},
    {Kind::kTable,
     "Mercancías",
     "cartaporte:Mercancias/cartaporte:Mercancia",
     {{"Bienes", "BienesTransp"},
      {"Descripción", "Descripcion"},
      {"Cantidad", "Cantidad"},
      {"Unidad", "ClaveUnidad"},
      {"Peso (kg)", "PesoEnKg"},
      {"Valor", "ValorMercancia"},
      {"Moneda", "Moneda"},
      {"Material peligroso", "MaterialPeligroso"}},
     {},
     {1.0f, 3.0f, 0.8f, 0.8f, 0.9f, 1.0f, 0.8f, 1.0f}},
    {Kind::kFields,
     "Vehículo",
     "cartaporte:Mercancias/cartaporte:AutotransporteFederal",
     {{"Permiso SCT", "PermSCT"},
      {"Número de permiso", "NumPermisoSCT"},
      {"Aseguradora", "NombreAseg"},
      {"Póliza", "NumPolizaSeguro"},
      {"Configuración vehicular", "cartaporte:IdentificacionVehicular@ConfigVehicular"},
      {"Placa", "cartaporte:IdentificacionVehicular@PlacaVM"},
      {"Año del modelo", "cartaporte:IdentificacionVehicular@AnioModeloVM"}}},
    {Kind::kTable,
     "Operadores",
     "cartaporte:FiguraTransporte/cartaporte:Operadores/cartaporte:Operador",
     {{"RFC", "RFCOperador"},
      {"Nombre", "NombreOperador"},
      {"Licencia", "NumLicencia"},
      {"Registro tributario", "NumRegIdTribOperador"},
      {"Residencia fiscal", "ResidenciaFiscalOperador"}}},
};

// The parts Carta Porte 2.0, 3.0 and 3.1 print alike; their paths have no
// prefix and so match each version's namespace.
const std::vector<Block> kCartaPorteParts = {
    {Kind::kTable,
     "Ubicaciones",
     "Ubicaciones/Ubicacion",
     {{"Tipo", "TipoUbicacion"},
      {"Id.", "IDUbicacion"},
      {"RFC", "RFCRemitenteDestinatario"},
      {"Nombre", "NombreRemitenteDestinatario"},
      {"Fecha y hora", "FechaHoraSalidaLlegada"},
      {"Código postal", "Domicilio@CodigoPostal"},
      {"Distancia", "DistanciaRecorrida"}},
     {},
     {0.8f, 1.0f, 1.2f, 2.2f, 1.4f, 0.9f, 0.8f}},
    {Kind::kTable,
     "Mercancías",
     "Mercancias/Mercancia",
     {{"Bienes", "BienesTransp"},
      {"Descripción", "Descripcion"},
      {"Cantidad", "Cantidad"},
      {"Unidad", "ClaveUnidad"},
      {"Peso (kg)", "PesoEnKg"},
      {"Valor", "ValorMercancia"},
      {"Moneda", "Moneda"},
      {"Material peligroso", "MaterialPeligroso"}},
     {},
     {1.0f, 3.0f, 0.8f, 0.8f, 0.9f, 1.0f, 0.8f, 1.0f}},
    {Kind::kFields,
     "Vehículo",
     "Mercancias/Autotransporte",
     {{"Permiso SCT", "PermSCT"},
      {"Número de permiso", "NumPermisoSCT"},
      {"Configuración vehicular", "IdentificacionVehicular@ConfigVehicular"},
      {"Placa", "IdentificacionVehicular@PlacaVM"},
      {"Año del modelo", "IdentificacionVehicular@AnioModeloVM"},
      {"Aseguradora", "Seguros@AseguraRespCivil"},
      {"Póliza", "Seguros@PolizaRespCivil"}}},
    {Kind::kTable,
     "Operadores y otras figuras",
     "FiguraTransporte/TiposFigura",
     {{"Figura", "TipoFigura"},
      {"RFC", "RFCFigura"},
      {"Nombre", "NombreFigura"},
      {"Licencia", "NumLicencia"},
      {"Registro tributario", "NumRegIdTribFigura"}}},
};

const std::vector<Block> kCartaPorte20 =
    joined<Block>({{{Kind::kFields,
                     "Carta Porte",
                     "",
                     {{"Versión", "Version"},
                      {"Transporte internacional", "TranspInternac"},
                      {"Entrada o salida", "EntradaSalidaMerc"},
                      {"País de origen o destino", "PaisOrigenDestino"},
                      {"Vía de entrada o salida", "ViaEntradaSalida"},
                      {"Distancia total recorrida", "TotalDistRec"}}}},
                   kCartaPorteParts});

const std::vector<Block> kPayments20 = {
    {Kind::kFields,
     "Totales",
     "pago20:Totales",
     {{"Monto total de los pagos", "MontoTotalPagos"},
      {"Retenciones IVA", "TotalRetencionesIVA"},
      {"Retenciones ISR", "TotalRetencionesISR"},
      {"Retenciones IEPS", "TotalRetencionesIEPS"},
      {"Base IVA 16%", "TotalTrasladosBaseIVA16"},
      {"IVA 16%", "TotalTrasladosImpuestoIVA16"},
      {"Base IVA 8%", "TotalTrasladosBaseIVA8"},
      {"IVA 8%", "TotalTrasladosImpuestoIVA8"},
      {"Base IVA 0%", "TotalTrasladosBaseIVA0"},
      {"IVA 0%", "TotalTrasladosImpuestoIVA0"},
      {"Base IVA exento", "TotalTrasladosBaseIVAExento"}}},
    {Kind::kFields,
     "Pago",
     "pago20:Pago",
     {{"Fecha de pago", "FechaPago"},
      {"Forma de pago", "FormaDePagoP", nullptr, payment_form_name},
      {"Moneda", "MonedaP"},
      {"Tipo de cambio", "TipoCambioP"},
      {"Monto", "Monto"},
      {"Número de operación", "NumOperacion"},
      {"RFC banco ordenante", "RfcEmisorCtaOrd"},
      {"Banco ordenante extranjero", "NomBancoOrdExt"},
      {"Cuenta ordenante", "CtaOrdenante"},
      {"RFC banco beneficiario", "RfcEmisorCtaBen"},
      {"Cuenta beneficiaria", "CtaBeneficiario"}},
     {{Kind::kTable,
       "Documentos relacionados",
       "pago20:DoctoRelacionado",
       {{"Id. del documento", "IdDocumento"},
        {"Serie", "Serie"},
        {"Folio", "Folio"},
        {"Moneda", "MonedaDR"},
        {"Equivalencia", "EquivalenciaDR"},
        {"Parcialidad", "NumParcialidad"},
        {"Saldo anterior", "ImpSaldoAnt"},
        {"Pagado", "ImpPagado"},
        {"Saldo insoluto", "ImpSaldoInsoluto"},
        {"Obj. imp.", "ObjetoImpDR"}},
       {},
       {3.2f, 0.7f, 0.8f, 0.8f, 0.9f, 0.9f, 1.1f, 1.1f, 1.1f, 0.6f}},
      {Kind::kTable,
       "Impuestos trasladados del pago",
       "pago20:ImpuestosP/pago20:TrasladosP/pago20:TrasladoP",
       {{"Impuesto", "ImpuestoP", nullptr, tax_name},
        {"Base", "BaseP"},
        {"Tipo factor", "TipoFactorP"},
        {"Tasa o cuota", "TasaOCuotaP"},
        {"Importe", "ImporteP"}}},
      {Kind::kTable,
       "Impuestos retenidos del pago",
       "pago20:ImpuestosP/pago20:RetencionesP/pago20:RetencionP",
       {{"Impuesto", "ImpuestoP", nullptr, tax_name}, {"Importe", "ImporteP"}}}}},
};

// Carta Porte 3.0 and 3.1 add the IdCCP to 2.0's heading.
const std::vector<Block> kCartaPorte3x =
    joined<Block>({{{Kind::kFields,
                     "Carta Porte",
                     "",
                     {{"Versión", "Version"},
                      {"Id. CCP", "IdCCP"},
                      {"Transporte internacional", "TranspInternac"},
                      {"Entrada o salida", "EntradaSalidaMerc"},
                      {"País de origen o destino", "PaisOrigenDestino"},
                      {"Vía de entrada o salida", "ViaEntradaSalida"},
                      {"Distancia total recorrida", "TotalDistRec"}}}},
                   kCartaPorteParts});

const std::array<ComplementLayout, 7> kComplements = {{
    {"pago20:Pagos", "Complemento de pagos", kPayments20},
    {"cartaporte30:CartaPorte", "Complemento Carta Porte", kCartaPorte3x},
    {"cartaporte31:CartaPorte", "Complemento Carta Porte", kCartaPorte3x},
    {"pago10:Pagos", "Complemento de pagos", kPayments10},
    {"nomina12:Nomina", "Complemento de nómina", kPayroll12},
    {"cartaporte:CartaPorte", "Complemento Carta Porte", kCartaPorte10},
    {"cartaporte20:CartaPorte", "Complemento Carta Porte", kCartaPorte20},
}};

// A step with a prefix names a child by its qualified name; a step without
// one matches the local name, so that one table serves the versions of a
// complement that differ only in their namespace's prefix.
bool step_matches(const Element& child, std::string_view step) {
  return step.find(':') == std::string_view::npos ? child.local_name() == step
                                                  : child.name() == step;
}

const Element* step_into(const Element& from, std::string_view step) {
  if (step.empty()) return &from;
  if (step.find(':') != std::string_view::npos) return from.child(step);
  for (const auto& child : from.children()) {
    if (step_matches(*child, step)) return child.get();
  }
  return nullptr;
}

}  // namespace

const VersionLayout* layout_for_version(std::string_view version) {
  for (const VersionLayout* layout : {&kCfdi33, &kCfdi40}) {
    if (layout->version == version) return layout;
  }
  return nullptr;
}

const ComplementLayout* complement_layout(std::string_view element) {
  for (const auto& layout : kComplements) {
    if (layout.element == element) return &layout;
  }
  return nullptr;
}

std::string value_at(const Element& from, std::string_view path) {
  const auto at = path.rfind('@');
  std::string_view steps = at == std::string_view::npos ? std::string_view() : path.substr(0, at);
  const std::string_view name = at == std::string_view::npos ? path : path.substr(at + 1);
  const Element* element = &from;
  while (element != nullptr && !steps.empty()) {
    const auto slash = steps.find('/');
    element = step_into(*element, steps.substr(0, slash));
    steps = slash == std::string_view::npos ? std::string_view() : steps.substr(slash + 1);
  }
  const std::string* value = element ? element->attribute(name) : nullptr;
  return value ? *value : std::string();
}

std::string field_value(const Element& from, const Field& field) {
  std::string value = field.compute ? field.compute(from) : value_at(from, field.path);
  if (field.name_of != nullptr && !value.empty()) {
    if (const std::string_view name = field.name_of(value); !name.empty()) {
      value += " - " + std::string(name);
    }
  }
  return value;
}

std::vector<const Element*> elements_at(const Element& from, std::string_view path) {
  std::vector<const Element*> current{&from};
  while (!path.empty()) {
    const auto slash = path.find('/');
    const std::string_view step = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    std::vector<const Element*> next;
    for (const Element* element : current) {
      for (const auto& child : element->children()) {
        if (step_matches(*child, step)) next.push_back(child.get());
      }
    }
    current = std::move(next);
  }
  return current;
}

std::string line_taxes(const Element& concepto) {
  std::string out;
  const auto add = [&](std::string_view kind, const Element& tax) {
    if (!out.empty()) out += '\n';
    out += kind;
    const std::string code = value_at(tax, "Impuesto");
    if (const std::string_view name = tax_name(code); !name.empty()) out += " " + std::string(name);
    for (const char* name : {"TipoFactor", "TasaOCuota"}) {
      if (const std::string value = value_at(tax, name); !value.empty()) out += " " + value;
    }
    if (const std::string amount = value_at(tax, "Importe"); !amount.empty()) {
      out += ": " + amount;
    }
  };
  for (const Element* tax : elements_at(concepto, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado")) {
    add("Traslado", *tax);
  }
  for (const Element* tax :
       elements_at(concepto, "cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion")) {
    add("Retención", *tax);
  }
  return out;
}

}  // namespace pdf

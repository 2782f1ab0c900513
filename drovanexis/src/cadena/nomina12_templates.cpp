#include "cadena/template.h"

// Payroll complement 1.2.
namespace drovanexis::cadena {
namespace {

constexpr Step kEntidadSNCFSteps[] = {
    req("OrigenRecurso"),
    opt("MontoRecursoPropio"),
};
constexpr Template kEntidadSNCF{kEntidadSNCFSteps};

constexpr Step kEmisorSteps[] = {
    opt("Curp"),
    opt("RegistroPatronal"),
    opt("RfcPatronOrigen"),
    each("nomina12:EntidadSNCF", kEntidadSNCF),
};
constexpr Template kEmisor{kEmisorSteps};

constexpr Step kSubContratacionSteps[] = {
    req("RfcLabora"),
    req("PorcentajeTiempo"),
};
constexpr Template kSubContratacion{kSubContratacionSteps};

constexpr Step kReceptorSteps[] = {
    req("Curp"),
    opt("NumSeguridadSocial"),
    opt("FechaInicioRelLaboral"),
    opt("Antigüedad"),
    req("TipoContrato"),
    opt("Sindicalizado"),
    opt("TipoJornada"),
    req("TipoRegimen"),
    req("NumEmpleado"),
    opt("Departamento"),
    opt("Puesto"),
    opt("RiesgoPuesto"),
    req("PeriodicidadPago"),
    opt("Banco"),
    opt("CuentaBancaria"),
    opt("SalarioBaseCotApor"),
    opt("SalarioDiarioIntegrado"),
    req("ClaveEntFed"),
    each("nomina12:SubContratacion", kSubContratacion),
};
constexpr Template kReceptor{kReceptorSteps};

constexpr Step kAccionesOTitulosSteps[] = {
    req("ValorMercado"),
    req("PrecioAlOtorgarse"),
};
constexpr Template kAccionesOTitulos{kAccionesOTitulosSteps};

constexpr Step kHorasExtraSteps[] = {
    req("Dias"),
    req("TipoHoras"),
    req("HorasExtra"),
    req("ImportePagado"),
};
constexpr Template kHorasExtra{kHorasExtraSteps};

constexpr Step kPercepcionSteps[] = {
    req("TipoPercepcion"),
    req("Clave"),
    req("Concepto"),
    req("ImporteGravado"),
    req("ImporteExento"),
    each("nomina12:AccionesOTitulos", kAccionesOTitulos),
    each("nomina12:HorasExtra", kHorasExtra),
};
constexpr Template kPercepcion{kPercepcionSteps};

constexpr Step kJubilacionPensionRetiroSteps[] = {
    opt("TotalUnaExhibicion"), opt("TotalParcialidad"),    opt("MontoDiario"),
    req("IngresoAcumulable"),  req("IngresoNoAcumulable"),
};
constexpr Template kJubilacionPensionRetiro{kJubilacionPensionRetiroSteps};

constexpr Step kSeparacionIndemnizacionSteps[] = {
    req("TotalPagado"),       req("NumAñosServicio"),     req("UltimoSueldoMensOrd"),
    req("IngresoAcumulable"), req("IngresoNoAcumulable"),
};
constexpr Template kSeparacionIndemnizacion{kSeparacionIndemnizacionSteps};

constexpr Step kPercepcionesSteps[] = {
    opt("TotalSueldos"),
    opt("TotalSeparacionIndemnizacion"),
    opt("TotalJubilacionPensionRetiro"),
    req("TotalGravado"),
    req("TotalExento"),
    each("nomina12:Percepcion", kPercepcion),
    each("nomina12:JubilacionPensionRetiro", kJubilacionPensionRetiro),
    each("nomina12:SeparacionIndemnizacion", kSeparacionIndemnizacion),
};
constexpr Template kPercepciones{kPercepcionesSteps};

constexpr Step kDeduccionSteps[] = {
    req("TipoDeduccion"),
    req("Clave"),
    req("Concepto"),
    req("Importe"),
};
constexpr Template kDeduccion{kDeduccionSteps};

constexpr Step kDeduccionesSteps[] = {
    opt("TotalOtrasDeducciones"),
    opt("TotalImpuestosRetenidos"),
    each("nomina12:Deduccion", kDeduccion),
};
constexpr Template kDeducciones{kDeduccionesSteps};

constexpr Step kSubsidioAlEmpleoSteps[] = {
    req("SubsidioCausado"),
};
constexpr Template kSubsidioAlEmpleo{kSubsidioAlEmpleoSteps};

constexpr Step kCompensacionSaldosAFavorSteps[] = {
    req("SaldoAFavor"),
    req("Año"),
    req("RemanenteSalFav"),
};
constexpr Template kCompensacionSaldosAFavor{kCompensacionSaldosAFavorSteps};

constexpr Step kOtroPagoSteps[] = {
    req("TipoOtroPago"),
    req("Clave"),
    req("Concepto"),
    req("Importe"),
    each("nomina12:SubsidioAlEmpleo", kSubsidioAlEmpleo),
    each("nomina12:CompensacionSaldosAFavor", kCompensacionSaldosAFavor),
};
constexpr Template kOtroPago{kOtroPagoSteps};

constexpr Step kOtrosPagosSteps[] = {
    each("nomina12:OtroPago", kOtroPago),
};
constexpr Template kOtrosPagos{kOtrosPagosSteps};

constexpr Step kIncapacidadSteps[] = {
    req("DiasIncapacidad"),
    req("TipoIncapacidad"),
    opt("ImporteMonetario"),
};
constexpr Template kIncapacidad{kIncapacidadSteps};

constexpr Step kIncapacidadesSteps[] = {
    each("nomina12:Incapacidad", kIncapacidad),
};
constexpr Template kIncapacidades{kIncapacidadesSteps};

constexpr Step kNominaSteps[] = {
    req("Version"),
    req("TipoNomina"),
    req("FechaPago"),
    req("FechaInicialPago"),
    req("FechaFinalPago"),
    req("NumDiasPagados"),
    opt("TotalPercepciones"),
    opt("TotalDeducciones"),
    opt("TotalOtrosPagos"),
    each("nomina12:Emisor", kEmisor),
    each("nomina12:Receptor", kReceptor),
    each("nomina12:Percepciones", kPercepciones),
    each("nomina12:Deducciones", kDeducciones),
    each("nomina12:OtrosPagos", kOtrosPagos),
    each("nomina12:Incapacidades", kIncapacidades),
};
constexpr Template kNomina{kNominaSteps};

constexpr Match kMatches[] = {
    {"nomina12:Nomina", &kNomina},
    {"nomina12:Emisor", &kEmisor},
    {"nomina12:EntidadSNCF", &kEntidadSNCF},
    {"nomina12:Receptor", &kReceptor},
    {"nomina12:SubContratacion", &kSubContratacion},
    {"nomina12:Percepciones", &kPercepciones},
    {"nomina12:Percepcion", &kPercepcion},
    {"nomina12:AccionesOTitulos", &kAccionesOTitulos},
    {"nomina12:HorasExtra", &kHorasExtra},
    {"nomina12:JubilacionPensionRetiro", &kJubilacionPensionRetiro},
    {"nomina12:SeparacionIndemnizacion", &kSeparacionIndemnizacion},
    {"nomina12:Deducciones", &kDeducciones},
    {"nomina12:Deduccion", &kDeduccion},
    {"nomina12:OtrosPagos", &kOtrosPagos},
    {"nomina12:OtroPago", &kOtroPago},
    {"nomina12:SubsidioAlEmpleo", &kSubsidioAlEmpleo},
    {"nomina12:CompensacionSaldosAFavor", &kCompensacionSaldosAFavor},
    {"nomina12:Incapacidades", &kIncapacidades},
    {"nomina12:Incapacidad", &kIncapacidad},
};

}  // namespace

std::span<const Match> nomina12_templates() { return kMatches; }

}  // namespace drovanexis::cadena

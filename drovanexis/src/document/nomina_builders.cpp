#include "document/builders.h"

namespace drovanexis {
namespace {

// Position i of each entry (after the handle) carries fields[i].
constexpr Field kSetNomina12[] = {{"", "TipoNomina"},       {"", "FechaPago"},
                                  {"", "FechaInicialPago"}, {"", "FechaFinalPago"},
                                  {"", "NumDiasPagados"},   {"", "TotalPercepciones"},
                                  {"", "TotalDeducciones"}, {"", "TotalOtrosPagos"}};
constexpr Field kSetNomina12Emisor[] = {{"", "Curp"},
                                        {"", "RegistroPatronal"},
                                        {"", "RfcPatronOrigen"},
                                        {"nomina12:EntidadSNCF", "OrigenRecurso"},
                                        {"nomina12:EntidadSNCF", "MontoRecursoPropio"}};
constexpr Field kSetNomina12Receptor[] = {{"", "Curp"},
                                          {"", "NumSeguridadSocial"},
                                          {"", "FechaInicioRelLaboral"},
                                          {"", "Antigüedad"},
                                          {"", "TipoContrato"},
                                          {"", "Sindicalizado"},
                                          {"", "TipoJornada"},
                                          {"", "TipoRegimen"},
                                          {"", "NumEmpleado"},
                                          {"", "Departamento"},
                                          {"", "Puesto"},
                                          {"", "RiesgoPuesto"},
                                          {"", "PeriodicidadPago"},
                                          {"", "Banco"},
                                          {"", "CuentaBancaria"},
                                          {"", "SalarioBaseCotApor"},
                                          {"", "SalarioDiarioIntegrado"},
                                          {"", "ClaveEntFed"}};
constexpr Field kSetNomina12Percepciones[] = {{"", "TotalSueldos"},
                                              {"", "TotalSeparacionIndemnizacion"},
                                              {"", "TotalJubilacionPensionRetiro"},
                                              {"", "TotalGravado"},
                                              {"", "TotalExento"}};
constexpr Field kAddNomina12Percepcion[] = {{"", "TipoPercepcion"},
                                            {"", "Clave"},
                                            {"", "Concepto"},
                                            {"", "ImporteGravado"},
                                            {"", "ImporteExento"},
                                            {"nomina12:AccionesOTitulos", "ValorMercado"},
                                            {"nomina12:AccionesOTitulos", "PrecioAlOtorgarse"},
                                            {"nomina12:HorasExtra", "Dias"},
                                            {"nomina12:HorasExtra", "TipoHoras"},
                                            {"nomina12:HorasExtra", "HorasExtra"},
                                            {"nomina12:HorasExtra", "ImportePagado"}};
constexpr Field kSetNomina12Deducciones[] = {{"", "TotalOtrasDeducciones"},
                                             {"", "TotalImpuestosRetenidos"}};
constexpr Field kAddNomina12Deduccion[] = {
    {"", "TipoDeduccion"}, {"", "Clave"}, {"", "Concepto"}, {"", "Importe"}};
constexpr Field kAddNomina12OtroPago[] = {{"", "TipoOtroPago"},
                                          {"", "Clave"},
                                          {"", "Concepto"},
                                          {"", "Importe"},
                                          {"nomina12:CompensacionSaldosAFavor", "SaldoAFavor"},
                                          {"nomina12:CompensacionSaldosAFavor", "Año"},
                                          {"nomina12:CompensacionSaldosAFavor", "RemanenteSalFav"},
                                          {"nomina12:SubsidioAlEmpleo", "SubsidioCausado"}};
constexpr Field kAddNomina12Incapacidad[] = {
    {"", "DiasIncapacidad"}, {"", "TipoIncapacidad"}, {"", "ImporteMonetario"}};
constexpr Field kSetNomina12SeparacionIndemnizacion[] = {{"", "TotalPagado"},
                                                         {"", "NumAñosServicio"},
                                                         {"", "UltimoSueldoMensOrd"},
                                                         {"", "IngresoAcumulable"},
                                                         {"", "IngresoNoAcumulable"}};
constexpr Field kSetNomina12JubilacionPensionRetiro[] = {{"", "TotalUnaExhibicion"},
                                                         {"", "TotalParcialidad"},
                                                         {"", "MontoDiario"},
                                                         {"", "IngresoAcumulable"},
                                                         {"", "IngresoNoAcumulable"}};
constexpr Field kAddNomina12Subcontratacion[] = {{"", "RfcLabora"}, {"", "PorcentajeTiempo"}};

// The Nomina 1.2 complement, created on first use.
Node nomina(Document& document) {
  const Node node = document.root_node().child("cfdi:Complemento").child("nomina12:Nomina");
  node.set("Version", "1.2");
  return node;
}

Node percepciones(Document& document) { return nomina(document).child("nomina12:Percepciones"); }

}  // namespace

void set_nomina12(Document& document, const Values& values) {
  fill(nomina(document), kSetNomina12, values);
}

void set_nomina12_emisor(Document& document, const Values& values) {
  fill(nomina(document).child("nomina12:Emisor"), kSetNomina12Emisor, values);
}

void set_nomina12_receptor(Document& document, const Values& values) {
  fill(nomina(document).child("nomina12:Receptor"), kSetNomina12Receptor, values);
}

void set_nomina12_percepciones(Document& document, const Values& values) {
  fill(percepciones(document), kSetNomina12Percepciones, values);
}

void add_nomina12_percepcion(Document& document, const Values& values) {
  fill(percepciones(document).add("nomina12:Percepcion"), kAddNomina12Percepcion, values);
}

void set_nomina12_deducciones(Document& document, const Values& values) {
  fill(nomina(document).child("nomina12:Deducciones"), kSetNomina12Deducciones, values);
}

void add_nomina12_deduccion(Document& document, const Values& values) {
  const Node deducciones = nomina(document).child("nomina12:Deducciones");
  fill(deducciones.add("nomina12:Deduccion"), kAddNomina12Deduccion, values);
}

void add_nomina12_otro_pago(Document& document, const Values& values) {
  const Node otros_pagos = nomina(document).child("nomina12:OtrosPagos");
  fill(otros_pagos.add("nomina12:OtroPago"), kAddNomina12OtroPago, values);
}

void add_nomina12_incapacidad(Document& document, const Values& values) {
  const Node incapacidades = nomina(document).child("nomina12:Incapacidades");
  fill(incapacidades.add("nomina12:Incapacidad"), kAddNomina12Incapacidad, values);
}

void set_nomina12_separacion_indemnizacion(Document& document, const Values& values) {
  fill(percepciones(document).child("nomina12:SeparacionIndemnizacion"),
       kSetNomina12SeparacionIndemnizacion, values);
}

void set_nomina12_jubilacion_pension_retiro(Document& document, const Values& values) {
  fill(percepciones(document).child("nomina12:JubilacionPensionRetiro"),
       kSetNomina12JubilacionPensionRetiro, values);
}

void add_nomina12_subcontratacion(Document& document, const Values& values) {
  const Node receptor = nomina(document).child("nomina12:Receptor");
  fill(receptor.add("nomina12:SubContratacion"), kAddNomina12Subcontratacion, values);
}

}  // namespace drovanexis

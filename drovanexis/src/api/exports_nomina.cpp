#include "api/api_support.h"
#include "document/builders.h"
#include "drovanexis.h"

// Nomina 1.2 complement: each entry hands its texts to the builder of its node.
using drovanexis::api::build;

void Drovanexis_SetNomina12(int32_t handle, const char* TipoNomina, const char* FechaPago,
                            const char* FechaInicialPago, const char* FechaFinalPago,
                            const char* NumDiasPagados, const char* TotalPercepciones,
                            const char* TotalDeducciones, const char* TotalOtrosPagos) {
  build(handle, drovanexis::set_nomina12,
        {TipoNomina, FechaPago, FechaInicialPago, FechaFinalPago, NumDiasPagados, TotalPercepciones,
         TotalDeducciones, TotalOtrosPagos});
}

void Drovanexis_Nomina12SetEmisor(int32_t handle, const char* Curp, const char* RegistroPatronal,
                                  const char* RfcPatronOrigen,
                                  const char* EntidadSNCF_OrigenRecurso,
                                  const char* EntidadSNCF_MontoRecursoPropio) {
  build(handle, drovanexis::set_nomina12_emisor,
        {Curp, RegistroPatronal, RfcPatronOrigen, EntidadSNCF_OrigenRecurso,
         EntidadSNCF_MontoRecursoPropio});
}

void Drovanexis_Nomina12SetReceptor(
    int32_t handle, const char* Curp, const char* NumSeguridadSocial,
    const char* FechaInicioRelLaboral, const char* Antiguedad, const char* TipoContrato,
    const char* Sindicalizado, const char* TipoJornada, const char* TipoRegimen,
    const char* NumEmpleado, const char* Departamento, const char* Puesto, const char* RiesgoPuesto,
    const char* PeriodicidadPago, const char* Banco, const char* CuentaBancaria,
    const char* SalarioBaseCotApor, const char* SalarioDiarioIntegrado, const char* ClaveEntFed) {
  build(
      handle, drovanexis::set_nomina12_receptor,
      {Curp, NumSeguridadSocial, FechaInicioRelLaboral, Antiguedad, TipoContrato, Sindicalizado,
       TipoJornada, TipoRegimen, NumEmpleado, Departamento, Puesto, RiesgoPuesto, PeriodicidadPago,
       Banco, CuentaBancaria, SalarioBaseCotApor, SalarioDiarioIntegrado, ClaveEntFed});
}

void Drovanexis_Nomina12SetPercepciones(int32_t handle, const char* TotalSueldos,
                                        const char* TotalSeparacionIndemnizacion,
                                        const char* TotalJubilacionPensionRetiro,
                                        const char* TotalGravado, const char* TotalExento) {
  build(handle, drovanexis::set_nomina12_percepciones,
        {TotalSueldos, TotalSeparacionIndemnizacion, TotalJubilacionPensionRetiro, TotalGravado,
         TotalExento});
}

void Drovanexis_Nomina12AddPercepcion(int32_t handle, const char* TipoPercepcion, const char* Clave,
                                      const char* Concepto, const char* ImporteGravado,
                                      const char* ImporteExento,
                                      const char* AccionesOTitulos_ValorMercado,
                                      const char* AccionesOTitulos_PrecioAlOtorgarse,
                                      const char* HorasExtra_Dias, const char* HorasExtra_TipoHoras,
                                      const char* HorasExtra_HorasExtra,
                                      const char* HorasExtra_ImportePagado) {
  build(handle, drovanexis::add_nomina12_percepcion,
        {TipoPercepcion, Clave, Concepto, ImporteGravado, ImporteExento,
         AccionesOTitulos_ValorMercado, AccionesOTitulos_PrecioAlOtorgarse, HorasExtra_Dias,
         HorasExtra_TipoHoras, HorasExtra_HorasExtra, HorasExtra_ImportePagado});
}

void Drovanexis_Nomina12SetDeducciones(int32_t handle, const char* TotalOtrasDeducciones,
                                       const char* TotalImpuestosRetenidos) {
  build(handle, drovanexis::set_nomina12_deducciones,
        {TotalOtrasDeducciones, TotalImpuestosRetenidos});
}

void Drovanexis_Nomina12AddDeduccion(int32_t handle, const char* TipoDeduccion, const char* Clave,
                                     const char* Concepto, const char* Importe) {
  build(handle, drovanexis::add_nomina12_deduccion, {TipoDeduccion, Clave, Concepto, Importe});
}

void Drovanexis_Nomina12AddOtroPago(int32_t handle, const char* TipoOtroPago, const char* Clave,
                                    const char* Concepto, const char* Importe,
                                    const char* CompensacionSaldosAFavor_SaldoAFavor,
                                    const char* CompensacionSaldosAFavor_Anio,
                                    const char* CompensacionSaldosAFavor_RemanenteSalFav,
                                    const char* SubsidioAlEmpleo_SubsidioCausado) {
  build(handle, drovanexis::add_nomina12_otro_pago,
        {TipoOtroPago, Clave, Concepto, Importe, CompensacionSaldosAFavor_SaldoAFavor,
         CompensacionSaldosAFavor_Anio, CompensacionSaldosAFavor_RemanenteSalFav,
         SubsidioAlEmpleo_SubsidioCausado});
}

void Drovanexis_Nomina12AddIncapacidad(int32_t handle, const char* DiasIncapacidad,
                                       const char* TipoIncapacidad, const char* ImporteMonetario) {
  build(handle, drovanexis::add_nomina12_incapacidad,
        {DiasIncapacidad, TipoIncapacidad, ImporteMonetario});
}

void Drovanexis_Nomina12SetSeparacionIndemnizacion(int32_t handle, const char* TotalPagado,
                                                   const char* NumAniosServicio,
                                                   const char* UltimoSueldoMensOrd,
                                                   const char* IngresoAcumulable,
                                                   const char* IngresoNoAcumulable) {
  build(
      handle, drovanexis::set_nomina12_separacion_indemnizacion,
      {TotalPagado, NumAniosServicio, UltimoSueldoMensOrd, IngresoAcumulable, IngresoNoAcumulable});
}

void Drovanexis_Nomina12SetJubilacionPensionRetiro(int32_t handle, const char* TotalUnaExhibicion,
                                                   const char* TotalParcialidad,
                                                   const char* MontoDiario,
                                                   const char* IngresoAcumulable,
                                                   const char* IngresoNoAcumulable) {
  build(
      handle, drovanexis::set_nomina12_jubilacion_pension_retiro,
      {TotalUnaExhibicion, TotalParcialidad, MontoDiario, IngresoAcumulable, IngresoNoAcumulable});
}

void Drovanexis_Nomina12AddSubContratacion(int32_t handle, const char* RfcLabora,
                                           const char* PorcentajeTiempo) {
  build(handle, drovanexis::add_nomina12_subcontratacion, {RfcLabora, PorcentajeTiempo});
}

#include "tools/pdf/catalog_names.h"

#include <algorithm>
#include <utility>

namespace pdf {

namespace {

using Name = std::pair<std::string_view, std::string_view>;

template <std::size_t N>
std::string_view find_name(const Name (&table)[N], std::string_view code) {
  const auto found = std::find_if(std::begin(table), std::end(table),
                                  [&](const Name& entry) { return entry.first == code; });
  return found == std::end(table) ? std::string_view() : found->second;
}

constexpr Name kPaymentForms[] = {
    {"01", "Efectivo"},
    {"02", "Cheque nominativo"},
    {"03", "Transferencia electrónica de fondos"},
    {"04", "Tarjeta de crédito"},
    {"05", "Monedero electrónico"},
    {"06", "Dinero electrónico"},
    {"08", "Vales de despensa"},
    {"12", "Dación en pago"},
    {"13", "Pago por subrogación"},
    {"14", "Pago por consignación"},
    {"15", "Condonación"},
    {"17", "Compensación"},
    {"23", "Novación"},
    {"24", "Confusión"},
    {"25", "Remisión de deuda"},
    {"26", "Prescripción o caducidad"},
    {"27", "A satisfacción del acreedor"},
    {"28", "Tarjeta de débito"},
    {"29", "Tarjeta de servicios"},
    {"30", "Aplicación de anticipos"},
    {"31", "Intermediario pagos"},
    {"99", "Por definir"},
};

constexpr Name kPaymentMethods[] = {
    {"PUE", "Pago en una sola exhibición"},
    {"PPD", "Pago en parcialidades o diferido"},
};

constexpr Name kCfdiUses[] = {
    {"G01", "Adquisición de mercancías"},
    {"G02", "Devoluciones, descuentos o bonificaciones"},
    {"G03", "Gastos en general"},
    {"I01", "Construcciones"},
    {"I02", "Mobiliario y equipo de oficina por inversiones"},
    {"I03", "Equipo de transporte"},
    {"I04", "Equipo de cómputo y accesorios"},
    {"I05", "Dados, troqueles, moldes, matrices y herramental"},
    {"I06", "Comunicaciones telefónicas"},
    {"I07", "Comunicaciones satelitales"},
    {"I08", "Otra maquinaria y equipo"},
    {"D01", "Honorarios médicos, dentales y gastos hospitalarios"},
    {"D02", "Gastos médicos por incapacidad o discapacidad"},
    {"D03", "Gastos funerales"},
    {"D04", "Donativos"},
    {"D05", "Intereses reales efectivamente pagados por créditos hipotecarios (casa habitación)"},
    {"D06", "Aportaciones voluntarias al SAR"},
    {"D07", "Primas por seguros de gastos médicos"},
    {"D08", "Gastos de transportación escolar obligatoria"},
    {"D09", "Depósitos en cuentas para el ahorro, primas que tengan como base planes de pensiones"},
    {"D10", "Pagos por servicios educativos (colegiaturas)"},
    {"P01", "Por definir"},
    {"S01", "Sin efectos fiscales"},
    {"CP01", "Pagos"},
    {"CN01", "Nómina"},
};

constexpr Name kTaxRegimes[] = {
    {"601", "General de Ley Personas Morales"},
    {"603", "Personas Morales con Fines no Lucrativos"},
    {"605", "Sueldos y Salarios e Ingresos Asimilados a Salarios"},
    {"606", "Arrendamiento"},
    {"607", "Régimen de Enajenación o Adquisición de Bienes"},
    {"608", "Demás ingresos"},
    {"610", "Residentes en el Extranjero sin Establecimiento Permanente en México"},
    {"611", "Ingresos por Dividendos (socios y accionistas)"},
    {"612", "Personas Físicas con Actividades Empresariales y Profesionales"},
    {"614", "Ingresos por intereses"},
    {"615", "Régimen de los ingresos por obtención de premios"},
    {"616", "Sin obligaciones fiscales"},
    {"620", "Sociedades Cooperativas de Producción que optan por diferir sus ingresos"},
    {"621", "Incorporación Fiscal"},
    {"622", "Actividades Agrícolas, Ganaderas, Silvícolas y Pesqueras"},
    {"623", "Opcional para Grupos de Sociedades"},
    {"624", "Coordinados"},
    {"625",
     "Régimen de las Actividades Empresariales con ingresos a través de Plataformas "
     "Tecnológicas"},
    {"626", "Régimen Simplificado de Confianza"},
};

constexpr Name kTaxes[] = {
    {"001", "ISR"},
    {"002", "IVA"},
    {"003", "IEPS"},
};

constexpr Name kExports[] = {
    {"01", "No aplica"},
    {"02", "Definitiva con clave A1"},
    {"03", "Temporal"},
    {"04", "Definitiva con clave distinta a A1 o cuando no existe enajenación en términos del CFF"},
};

constexpr Name kPeriodicities[] = {
    {"01", "Diario"},  {"02", "Semanal"},   {"03", "Quincenal"},
    {"04", "Mensual"}, {"05", "Bimestral"},
};

constexpr Name kMonths[] = {
    {"01", "Enero"},
    {"02", "Febrero"},
    {"03", "Marzo"},
    {"04", "Abril"},
    {"05", "Mayo"},
    {"06", "Junio"},
    {"07", "Julio"},
    {"08", "Agosto"},
    {"09", "Septiembre"},
    {"10", "Octubre"},
    {"11", "Noviembre"},
    {"12", "Diciembre"},
    {"13", "Enero-Febrero"},
    {"14", "Marzo-Abril"},
    {"15", "Mayo-Junio"},
    {"16", "Julio-Agosto"},
    {"17", "Septiembre-Octubre"},
    {"18", "Noviembre-Diciembre"},
};

}  // namespace

std::string_view export_name(std::string_view code) { return find_name(kExports, code); }
std::string_view periodicity_name(std::string_view code) { return find_name(kPeriodicities, code); }
std::string_view months_name(std::string_view code) { return find_name(kMonths, code); }
std::string_view payment_form_name(std::string_view code) { return find_name(kPaymentForms, code); }
std::string_view payment_method_name(std::string_view code) {
  return find_name(kPaymentMethods, code);
}
std::string_view cfdi_use_name(std::string_view code) { return find_name(kCfdiUses, code); }
std::string_view tax_regime_name(std::string_view code) { return find_name(kTaxRegimes, code); }
std::string_view tax_name(std::string_view code) { return find_name(kTaxes, code); }

}  // namespace pdf

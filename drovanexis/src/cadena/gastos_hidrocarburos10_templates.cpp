#include "cadena/template.h"

// Hydrocarbon expenses complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kDocumentoRelacionadoSteps[] = {
    req("OrigenErogacion"),
    opt("FolioFiscalVinculado"),
    opt("RFCProveedor"),
    req("MontoTotalIVA"),
    opt("MontoRetencionISR"),
    opt("MontoRetencionIVA"),
    opt("MontoRetencionOtrosImpuestos"),
    opt("NumeroPedimentoVinculado"),
    opt("ClavePedimentoVinculado"),
    opt("ClavePagoPedimentoVinculado"),
    opt("MontoIVAPedimento"),
    opt("OtrosImpuestosPagadosPedimento"),
    req("FechaFolioFiscalVinculado"),
    req("Mes"),
    req("MontoTotalErogaciones"),
};
constexpr Template kDocumentoRelacionado{kDocumentoRelacionadoSteps};

constexpr Step kTareasSteps[] = {
    opt("TareaRelacionada"),
};
constexpr Template kTareas{kTareasSteps};

constexpr Step kSubActividadesSteps[] = {
    opt("SubActividadRelacionada"),
    each("gceh:Tareas", kTareas),
};
constexpr Template kSubActividades{kSubActividadesSteps};

constexpr Step kActividadesSteps[] = {
    opt("ActividadRelacionada"),
    each("gceh:SubActividades", kSubActividades),
};
constexpr Template kActividades{kActividadesSteps};

constexpr Step kPozosSteps[] = {
    opt("Pozo"),
};
constexpr Template kPozos{kPozosSteps};

constexpr Step kYacimientosSteps[] = {
    opt("Yacimiento"),
    each("gceh:Pozos", kPozos),
};
constexpr Template kYacimientos{kYacimientosSteps};

constexpr Step kCentroCostosSteps[] = {
    opt("Campo"),
    each("gceh:Yacimientos", kYacimientos),
};
constexpr Template kCentroCostos{kCentroCostosSteps};

constexpr Step kErogacionSteps[] = {
    req("TipoErogacion"),
    req("MontocuErogacion"),
    req("Porcentaje"),
    each("gceh:DocumentoRelacionado", kDocumentoRelacionado),
    each("gceh:Actividades", kActividades),
    each("gceh:CentroCostos", kCentroCostos),
};
constexpr Template kErogacion{kErogacionSteps};

constexpr Step kGastosHidrocarburosSteps[] = {
    req("Version"),
    req("NumeroContrato"),
    opt("AreaContractual"),
    each("gceh:Erogacion", kErogacion),
};
constexpr Template kGastosHidrocarburos{kGastosHidrocarburosSteps};

constexpr Match kMatches[] = {
    {"gceh:GastosHidrocarburos", &kGastosHidrocarburos},
    {"gceh:Erogacion", &kErogacion},
    {"gceh:DocumentoRelacionado", &kDocumentoRelacionado},
    {"gceh:Actividades", &kActividades},
    {"gceh:SubActividades", &kSubActividades},
    {"gceh:Tareas", &kTareas},
    {"gceh:CentroCostos", &kCentroCostos},
    {"gceh:Yacimientos", &kYacimientos},
    {"gceh:Pozos", &kPozos},
};

}  // namespace

std::span<const Match> gastos_hidrocarburos10_templates() { return kMatches; }

}  // namespace drovanexis::cadena

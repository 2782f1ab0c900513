#include "cadena/template.h"

// Notaries public complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kDescInmuebleSteps[] = {
    req("TipoInmueble"), req("Calle"),     opt("NoExterior"),   opt("NoInterior"),
    opt("Colonia"),      opt("Localidad"), opt("Referencia"),   req("Municipio"),
    req("Estado"),       req("Pais"),      req("CodigoPostal"),
};
constexpr Template kDescInmueble{kDescInmuebleSteps};

constexpr Step kDescInmueblesSteps[] = {
    each("notariospublicos:DescInmueble", kDescInmueble),
};
constexpr Template kDescInmuebles{kDescInmueblesSteps};

constexpr Step kDatosOperacionSteps[] = {
    req("NumInstrumentoNotarial"),
    req("FechaInstNotarial"),
    req("MontoOperacion"),
    req("Subtotal"),
    req("IVA"),
};
constexpr Template kDatosOperacion{kDatosOperacionSteps};

constexpr Step kDatosNotarioSteps[] = {
    req("CURP"),
    req("NumNotaria"),
    req("EntidadFederativa"),
    opt("Adscripcion"),
};
constexpr Template kDatosNotario{kDatosNotarioSteps};

constexpr Step kDatosUnEnajenanteSteps[] = {
    req("Nombre"), req("ApellidoPaterno"), opt("ApellidoMaterno"), req("RFC"), req("CURP"),
};
constexpr Template kDatosUnEnajenante{kDatosUnEnajenanteSteps};

constexpr Step kDatosEnajenanteCopSCSteps[] = {
    req("Nombre"), opt("ApellidoPaterno"), opt("ApellidoMaterno"), req("RFC"),
    opt("CURP"),   req("Porcentaje"),
};
constexpr Template kDatosEnajenanteCopSC{kDatosEnajenanteCopSCSteps};

constexpr Step kDatosEnajenantesCopSCSteps[] = {
    each("notariospublicos:DatosEnajenanteCopSC", kDatosEnajenanteCopSC),
};
constexpr Template kDatosEnajenantesCopSC{kDatosEnajenantesCopSCSteps};

constexpr Step kDatosEnajenanteSteps[] = {
    req("CoproSocConyugalE"),
    each("notariospublicos:DatosUnEnajenante", kDatosUnEnajenante),
    each("notariospublicos:DatosEnajenantesCopSC", kDatosEnajenantesCopSC),
};
constexpr Template kDatosEnajenante{kDatosEnajenanteSteps};

constexpr Step kDatosUnAdquirienteSteps[] = {
    req("Nombre"), opt("ApellidoPaterno"), opt("ApellidoMaterno"), req("RFC"), opt("CURP"),
};
constexpr Template kDatosUnAdquiriente{kDatosUnAdquirienteSteps};

constexpr Step kDatosAdquirienteCopSCSteps[] = {
    req("Nombre"), opt("ApellidoPaterno"), opt("ApellidoMaterno"), req("RFC"),
    opt("CURP"),   req("Porcentaje"),
};
constexpr Template kDatosAdquirienteCopSC{kDatosAdquirienteCopSCSteps};

constexpr Step kDatosAdquirientesCopSCSteps[] = {
    each("notariospublicos:DatosAdquirienteCopSC", kDatosAdquirienteCopSC),
};
constexpr Template kDatosAdquirientesCopSC{kDatosAdquirientesCopSCSteps};

constexpr Step kDatosAdquirienteSteps[] = {
    req("CoproSocConyugalE"),
    each("notariospublicos:DatosUnAdquiriente", kDatosUnAdquiriente),
    each("notariospublicos:DatosAdquirientesCopSC", kDatosAdquirientesCopSC),
};
constexpr Template kDatosAdquiriente{kDatosAdquirienteSteps};

constexpr Step kNotariosPublicosSteps[] = {
    req("Version"),
    each("notariospublicos:DescInmuebles", kDescInmuebles),
    each("notariospublicos:DatosOperacion", kDatosOperacion),
    each("notariospublicos:DatosNotario", kDatosNotario),
    each("notariospublicos:DatosEnajenante", kDatosEnajenante),
    each("notariospublicos:DatosAdquiriente", kDatosAdquiriente),
};
constexpr Template kNotariosPublicos{kNotariosPublicosSteps};

constexpr Match kMatches[] = {
    {"notariospublicos:NotariosPublicos", &kNotariosPublicos},
    {"notariospublicos:DescInmuebles", &kDescInmuebles},
    {"notariospublicos:DescInmueble", &kDescInmueble},
    {"notariospublicos:DatosOperacion", &kDatosOperacion},
    {"notariospublicos:DatosNotario", &kDatosNotario},
    {"notariospublicos:DatosEnajenante", &kDatosEnajenante},
    {"notariospublicos:DatosUnEnajenante", &kDatosUnEnajenante},
    {"notariospublicos:DatosEnajenantesCopSC", &kDatosEnajenantesCopSC},
    {"notariospublicos:DatosEnajenanteCopSC", &kDatosEnajenanteCopSC},
    {"notariospublicos:DatosAdquiriente", &kDatosAdquiriente},
    {"notariospublicos:DatosUnAdquiriente", &kDatosUnAdquiriente},
    {"notariospublicos:DatosAdquirientesCopSC", &kDatosAdquirientesCopSC},
    {"notariospublicos:DatosAdquirienteCopSC", &kDatosAdquirienteCopSC},
};

}  // namespace

std::span<const Match> notarios_publicos10_templates() { return kMatches; }

}  // namespace drovanexis::cadena

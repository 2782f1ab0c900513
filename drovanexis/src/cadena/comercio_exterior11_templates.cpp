#include "cadena/template.h"

// Foreign trade complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kDomicilioSteps[] = {
    req("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kDomicilio{kDomicilioSteps};

constexpr Step kEmisorSteps[] = {
    opt("Curp"),
    each("cce11:Domicilio", kDomicilio),
};
constexpr Template kEmisor{kEmisorSteps};

constexpr Step kPropietarioSteps[] = {
    req("NumRegIdTrib"),
    req("ResidenciaFiscal"),
};
constexpr Template kPropietario{kPropietarioSteps};

constexpr Step kReceptorSteps[] = {
    opt("NumRegIdTrib"),
    each("cce11:Domicilio", kDomicilio),
};
constexpr Template kReceptor{kReceptorSteps};

constexpr Step kDestinatarioSteps[] = {
    opt("NumRegIdTrib"),
    opt("Nombre"),
    each("cce11:Domicilio", kDomicilio),
};
constexpr Template kDestinatario{kDestinatarioSteps};

constexpr Step kDescripcionesEspecificasSteps[] = {
    req("Marca"),
    opt("Modelo"),
    opt("SubModelo"),
    opt("NumeroSerie"),
};
constexpr Template kDescripcionesEspecificas{kDescripcionesEspecificasSteps};

constexpr Step kMercanciaSteps[] = {
    req("NoIdentificacion"),
    opt("FraccionArancelaria"),
    opt("CantidadAduana"),
    opt("UnidadAduana"),
    opt("ValorUnitarioAduana"),
    req("ValorDolares"),
    each("cce11:DescripcionesEspecificas", kDescripcionesEspecificas),
};
constexpr Template kMercancia{kMercanciaSteps};

constexpr Step kMercanciasSteps[] = {
    each("cce11:Mercancia", kMercancia),
};
constexpr Template kMercancias{kMercanciasSteps};

constexpr Step kComercioExteriorSteps[] = {
    req("Version"),
    opt("MotivoTraslado"),
    req("TipoOperacion"),
    opt("ClaveDePedimento"),
    opt("CertificadoOrigen"),
    opt("NumCertificadoOrigen"),
    opt("NumeroExportadorConfiable"),
    opt("Incoterm"),
    opt("Subdivision"),
    opt("Observaciones"),
    opt("TipoCambioUSD"),
    opt("TotalUSD"),
    each("cce11:Emisor", kEmisor),
    each("cce11:Propietario", kPropietario),
    each("cce11:Receptor", kReceptor),
    each("cce11:Destinatario", kDestinatario),
    each("cce11:Mercancias", kMercancias),
};
constexpr Template kComercioExterior{kComercioExteriorSteps};

constexpr Match kMatches[] = {
    {"cce11:ComercioExterior", &kComercioExterior},
    {"cce11:Emisor", &kEmisor},
    {"cce11:Propietario", &kPropietario},
    {"cce11:Receptor", &kReceptor},
    {"cce11:Destinatario", &kDestinatario},
    {"cce11:Mercancias", &kMercancias},
    {"cce11:Domicilio", &kDomicilio},
    {"cce11:Mercancia", &kMercancia},
    {"cce11:DescripcionesEspecificas", &kDescripcionesEspecificas},
};

}  // namespace

std::span<const Match> comercio_exterior11_templates() { return kMatches; }

}  // namespace drovanexis::cadena

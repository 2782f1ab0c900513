#include "cadena/template.h"

// Foreign trade complement 2.0.
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
    each("cce20:Domicilio", kDomicilio),
};
constexpr Template kEmisor{kEmisorSteps};

constexpr Step kPropietarioSteps[] = {
    req("NumRegIdTrib"),
    req("ResidenciaFiscal"),
};
constexpr Template kPropietario{kPropietarioSteps};

constexpr Step kReceptorSteps[] = {
    opt("NumRegIdTrib"),
    each("cce20:Domicilio", kDomicilio),
};
constexpr Template kReceptor{kReceptorSteps};

constexpr Step kDestinatarioSteps[] = {
    opt("NumRegIdTrib"),
    opt("Nombre"),
    each("cce20:Domicilio", kDomicilio),
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
    each("cce20:DescripcionesEspecificas", kDescripcionesEspecificas),
};
constexpr Template kMercancia{kMercanciaSteps};

constexpr Step kMercanciasSteps[] = {
    each("cce20:Mercancia", kMercancia),
};
constexpr Template kMercancias{kMercanciasSteps};

constexpr Step kComercioExteriorSteps[] = {
    req("Version"),
    opt("MotivoTraslado"),
    req("ClaveDePedimento"),
    req("CertificadoOrigen"),
    opt("NumCertificadoOrigen"),
    opt("NumeroExportadorConfiable"),
    opt("Incoterm"),
    opt("Observaciones"),
    req("TipoCambioUSD"),
    req("TotalUSD"),
    each("cce20:Emisor", kEmisor),
    each("cce20:Propietario", kPropietario),
    each("cce20:Receptor", kReceptor),
    each("cce20:Destinatario", kDestinatario),
    each("cce20:Mercancias", kMercancias),
};
constexpr Template kComercioExterior{kComercioExteriorSteps};

constexpr Match kMatches[] = {
    {"cce20:ComercioExterior", &kComercioExterior},
    {"cce20:Emisor", &kEmisor},
    {"cce20:Propietario", &kPropietario},
    {"cce20:Receptor", &kReceptor},
    {"cce20:Destinatario", &kDestinatario},
    {"cce20:Mercancias", &kMercancias},
    {"cce20:Domicilio", &kDomicilio},
    {"cce20:Mercancia", &kMercancia},
    {"cce20:DescripcionesEspecificas", &kDescripcionesEspecificas},
};

}  // namespace

std::span<const Match> comercio_exterior20_templates() { return kMatches; }

}  // namespace drovanexis::cadena

#include "cadena/template.h"

// Transport complement 2.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kUbicacionDomicilioSteps[] = {
    opt("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kUbicacionDomicilio{kUbicacionDomicilioSteps};

constexpr Step kUbicacionSteps[] = {
    req("TipoUbicacion"),
    opt("IDUbicacion"),
    req("RFCRemitenteDestinatario"),
    opt("NombreRemitenteDestinatario"),
    opt("NumRegIdTrib"),
    opt("ResidenciaFiscal"),
    opt("NumEstacion"),
    opt("NombreEstacion"),
    opt("NavegacionTrafico"),
    req("FechaHoraSalidaLlegada"),
    opt("TipoEstacion"),
    opt("DistanciaRecorrida"),
    each("cartaporte20:Domicilio", kUbicacionDomicilio),
};
constexpr Template kUbicacion{kUbicacionSteps};

constexpr Step kUbicacionesSteps[] = {
    each("cartaporte20:Ubicacion", kUbicacion),
};
constexpr Template kUbicaciones{kUbicacionesSteps};

constexpr Step kPedimentosSteps[] = {
    req("Pedimento"),
};
constexpr Template kPedimentos{kPedimentosSteps};

constexpr Step kGuiasIdentificacionSteps[] = {
    req("NumeroGuiaIdentificacion"),
    req("DescripGuiaIdentificacion"),
    req("PesoGuiaIdentificacion"),
};
constexpr Template kGuiasIdentificacion{kGuiasIdentificacionSteps};

constexpr Step kCantidadTransportaSteps[] = {
    req("Cantidad"),
    req("IDOrigen"),
    req("IDDestino"),
    opt("CvesTransporte"),
};
constexpr Template kCantidadTransporta{kCantidadTransportaSteps};

constexpr Step kDetalleMercanciaSteps[] = {
    req("UnidadPesoMerc"), req("PesoBruto"), req("PesoNeto"), req("PesoTara"), opt("NumPiezas"),
};
constexpr Template kDetalleMercancia{kDetalleMercanciaSteps};

constexpr Step kMercanciaSteps[] = {
    req("BienesTransp"),
    opt("ClaveSTCC"),
    req("Descripcion"),
    req("Cantidad"),
    req("ClaveUnidad"),
    opt("Unidad"),
    opt("Dimensiones"),
    opt("MaterialPeligroso"),
    opt("CveMaterialPeligroso"),
    opt("Embalaje"),
    opt("DescripEmbalaje"),
    req("PesoEnKg"),
    opt("ValorMercancia"),
    opt("Moneda"),
    opt("FraccionArancelaria"),
    opt("UUIDComercioExt"),
    each("cartaporte20:Pedimentos", kPedimentos),
    each("cartaporte20:GuiasIdentificacion", kGuiasIdentificacion),
    each("cartaporte20:CantidadTransporta", kCantidadTransporta),
    each("cartaporte20:DetalleMercancia", kDetalleMercancia),
};
constexpr Template kMercancia{kMercanciaSteps};

constexpr Step kIdentificacionVehicularSteps[] = {
    req("ConfigVehicular"),
    req("PlacaVM"),
    req("AnioModeloVM"),
};
constexpr Template kIdentificacionVehicular{kIdentificacionVehicularSteps};

constexpr Step kSegurosSteps[] = {
    req("AseguraRespCivil"),  req("PolizaRespCivil"), opt("AseguraMedAmbiente"),
    opt("PolizaMedAmbiente"), opt("AseguraCarga"),    opt("PolizaCarga"),
    opt("PrimaSeguro"),
};
constexpr Template kSeguros{kSegurosSteps};

constexpr Step kRemolqueSteps[] = {
    req("SubTipoRem"),
    req("Placa"),
};
constexpr Template kRemolque{kRemolqueSteps};

constexpr Step kRemolquesSteps[] = {
    each("cartaporte20:Remolque", kRemolque),
};
constexpr Template kRemolques{kRemolquesSteps};

constexpr Step kAutotransporteSteps[] = {
    req("PermSCT"),
    req("NumPermisoSCT"),
    each("cartaporte20:IdentificacionVehicular", kIdentificacionVehicular),
    each("cartaporte20:Seguros", kSeguros),
    each("cartaporte20:Remolques", kRemolques),
};
constexpr Template kAutotransporte{kAutotransporteSteps};

constexpr Step kTransporteMaritimoContenedorSteps[] = {
    req("MatriculaContenedor"),
    req("TipoContenedor"),
    opt("NumPrecinto"),
};
constexpr Template kTransporteMaritimoContenedor{kTransporteMaritimoContenedorSteps};

constexpr Step kTransporteMaritimoSteps[] = {
    opt("PermSCT"),
    opt("NumPermisoSCT"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    req("TipoEmbarcacion"),
    req("Matricula"),
    req("NumeroOMI"),
    opt("AnioEmbarcacion"),
    opt("NombreEmbarc"),
    req("NacionalidadEmbarc"),
    req("UnidadesDeArqBruto"),
    req("TipoCarga"),
    req("NumCertITC"),
    opt("Eslora"),
    opt("Manga"),
    opt("Calado"),
    opt("LineaNaviera"),
    req("NombreAgenteNaviero"),
    req("NumAutorizacionNaviero"),
    opt("NumViaje"),
    opt("NumConocEmbarc"),
    each("cartaporte20:Contenedor", kTransporteMaritimoContenedor),
};
constexpr Template kTransporteMaritimo{kTransporteMaritimoSteps};

constexpr Step kTransporteAereoSteps[] = {
    req("PermSCT"),
    req("NumPermisoSCT"),
    opt("MatriculaAeronave"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    req("NumeroGuia"),
    opt("LugarContrato"),
    req("CodigoTransportista"),
    opt("RFCEmbarcador"),
    opt("NumRegIdTribEmbarc"),
    opt("ResidenciaFiscalEmbarc"),
    opt("NombreEmbarcador"),
};
constexpr Template kTransporteAereo{kTransporteAereoSteps};

constexpr Step kDerechosDePasoSteps[] = {
    req("TipoDerechoDePaso"),
    req("KilometrajePagado"),
};
constexpr Template kDerechosDePaso{kDerechosDePasoSteps};

constexpr Step kCarroContenedorSteps[] = {
    req("TipoContenedor"),
    req("PesoContenedorVacio"),
    req("PesoNetoMercancia"),
};
constexpr Template kCarroContenedor{kCarroContenedorSteps};

constexpr Step kCarroSteps[] = {
    req("TipoCarro"),
    req("MatriculaCarro"),
    req("GuiaCarro"),
    req("ToneladasNetasCarro"),
    each("cartaporte20:Contenedor", kCarroContenedor),
};
constexpr Template kCarro{kCarroSteps};

constexpr Step kTransporteFerroviarioSteps[] = {
    req("TipoDeServicio"),
    req("TipoDeTrafico"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    each("cartaporte20:DerechosDePaso", kDerechosDePaso),
    each("cartaporte20:Carro", kCarro),
};
constexpr Template kTransporteFerroviario{kTransporteFerroviarioSteps};

constexpr Step kMercanciasSteps[] = {
    req("PesoBrutoTotal"),
    req("UnidadPeso"),
    opt("PesoNetoTotal"),
    req("NumTotalMercancias"),
    opt("CargoPorTasacion"),
    each("cartaporte20:Mercancia", kMercancia),
    each("cartaporte20:Autotransporte", kAutotransporte),
    each("cartaporte20:TransporteMaritimo", kTransporteMaritimo),
    each("cartaporte20:TransporteAereo", kTransporteAereo),
    each("cartaporte20:TransporteFerroviario", kTransporteFerroviario),
};
constexpr Template kMercancias{kMercanciasSteps};

constexpr Step kPartesTransporteSteps[] = {
    req("ParteTransporte"),
};
constexpr Template kPartesTransporte{kPartesTransporteSteps};

constexpr Step kTiposFiguraDomicilioSteps[] = {
    opt("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kTiposFiguraDomicilio{kTiposFiguraDomicilioSteps};

constexpr Step kTiposFiguraSteps[] = {
    req("TipoFigura"),
    opt("RFCFigura"),
    opt("NumLicencia"),
    opt("NombreFigura"),
    opt("NumRegIdTribFigura"),
    opt("ResidenciaFiscalFigura"),
    each("cartaporte20:PartesTransporte", kPartesTransporte),
    each("cartaporte20:Domicilio", kTiposFiguraDomicilio),
};
constexpr Template kTiposFigura{kTiposFiguraSteps};

constexpr Step kFiguraTransporteSteps[] = {
    each("cartaporte20:TiposFigura", kTiposFigura),
};
constexpr Template kFiguraTransporte{kFiguraTransporteSteps};

constexpr Step kCartaPorteSteps[] = {
    req("Version"),
    req("TranspInternac"),
    opt("EntradaSalidaMerc"),
    opt("PaisOrigenDestino"),
    opt("ViaEntradaSalida"),
    opt("TotalDistRec"),
    each("cartaporte20:Ubicaciones", kUbicaciones),
    each("cartaporte20:Mercancias", kMercancias),
    each("cartaporte20:FiguraTransporte", kFiguraTransporte),
};
constexpr Template kCartaPorte{kCartaPorteSteps};

constexpr Match kMatches[] = {
    {"cartaporte20:CartaPorte", &kCartaPorte},
    {"cartaporte20:Ubicaciones", &kUbicaciones},
    {"cartaporte20:Ubicacion", &kUbicacion},
    {"cartaporte20:Mercancias", &kMercancias},
    {"cartaporte20:Mercancia", &kMercancia},
    {"cartaporte20:Pedimentos", &kPedimentos},
    {"cartaporte20:GuiasIdentificacion", &kGuiasIdentificacion},
    {"cartaporte20:CantidadTransporta", &kCantidadTransporta},
    {"cartaporte20:DetalleMercancia", &kDetalleMercancia},
    {"cartaporte20:Autotransporte", &kAutotransporte},
    {"cartaporte20:IdentificacionVehicular", &kIdentificacionVehicular},
    {"cartaporte20:Seguros", &kSeguros},
    {"cartaporte20:Remolques", &kRemolques},
    {"cartaporte20:Remolque", &kRemolque},
    {"cartaporte20:TransporteMaritimo", &kTransporteMaritimo},
    {"cartaporte20:TransporteAereo", &kTransporteAereo},
    {"cartaporte20:TransporteFerroviario", &kTransporteFerroviario},
    {"cartaporte20:DerechosDePaso", &kDerechosDePaso},
    {"cartaporte20:Carro", &kCarro},
    {"cartaporte20:FiguraTransporte", &kFiguraTransporte},
    {"cartaporte20:TiposFigura", &kTiposFigura},
    {"cartaporte20:PartesTransporte", &kPartesTransporte},
};

}  // namespace

std::span<const Match> carta_porte20_templates() { return kMatches; }

}  // namespace drovanexis::cadena

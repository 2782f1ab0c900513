#include "cadena/template.h"

// Transport complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kOrigenSteps[] = {
    opt("IDOrigen"),       opt("RFCRemitente"),      opt("NombreRemitente"),
    opt("NumRegIdTrib"),   opt("ResidenciaFiscal"),  opt("NumEstacion"),
    opt("NombreEstacion"), opt("NavegacionTrafico"), req("FechaHoraSalida"),
};
constexpr Template kOrigen{kOrigenSteps};

constexpr Step kDestinoSteps[] = {
    opt("IDDestino"),      opt("RFCDestinatario"),   opt("NombreDestinatario"),
    opt("NumRegIdTrib"),   opt("ResidenciaFiscal"),  opt("NumEstacion"),
    opt("NombreEstacion"), opt("NavegacionTrafico"), req("FechaHoraProgLlegada"),
};
constexpr Template kDestino{kDestinoSteps};

constexpr Step kUbicacionDomicilioSteps[] = {
    req("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kUbicacionDomicilio{kUbicacionDomicilioSteps};

constexpr Step kUbicacionSteps[] = {
    opt("TipoEstacion"),
    opt("DistanciaRecorrida"),
    each("cartaporte:Origen", kOrigen),
    each("cartaporte:Destino", kDestino),
    each("cartaporte:Domicilio", kUbicacionDomicilio),
};
constexpr Template kUbicacion{kUbicacionSteps};

constexpr Step kUbicacionesSteps[] = {
    each("cartaporte:Ubicacion", kUbicacion),
};
constexpr Template kUbicaciones{kUbicacionesSteps};

constexpr Step kCantidadTransportaSteps[] = {
    req("Cantidad"),
    req("IDOrigen"),
    req("IDDestino"),
    opt("CvesTransporte"),
};
constexpr Template kCantidadTransporta{kCantidadTransportaSteps};

constexpr Step kDetalleMercanciaSteps[] = {
    req("UnidadPeso"), req("PesoBruto"), req("PesoNeto"), req("PesoTara"), opt("NumPiezas"),
};
constexpr Template kDetalleMercancia{kDetalleMercanciaSteps};

constexpr Step kMercanciaSteps[] = {
    opt("BienesTransp"),
    opt("ClaveSTCC"),
    opt("Descripcion"),
    opt("Cantidad"),
    opt("ClaveUnidad"),
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
    each("cartaporte:CantidadTransporta", kCantidadTransporta),
    each("cartaporte:DetalleMercancia", kDetalleMercancia),
};
constexpr Template kMercancia{kMercanciaSteps};

constexpr Step kIdentificacionVehicularSteps[] = {
    req("ConfigVehicular"),
    req("PlacaVM"),
    req("AnioModeloVM"),
};
constexpr Template kIdentificacionVehicular{kIdentificacionVehicularSteps};

constexpr Step kRemolqueSteps[] = {
    req("SubTipoRem"),
    req("Placa"),
};
constexpr Template kRemolque{kRemolqueSteps};

constexpr Step kRemolquesSteps[] = {
    each("cartaporte:Remolque", kRemolque),
};
constexpr Template kRemolques{kRemolquesSteps};

constexpr Step kAutotransporteFederalSteps[] = {
    req("PermSCT"),
    req("NumPermisoSCT"),
    req("NombreAseg"),
    req("NumPolizaSeguro"),
    each("cartaporte:IdentificacionVehicular", kIdentificacionVehicular),
    each("cartaporte:Remolques", kRemolques),
};
constexpr Template kAutotransporteFederal{kAutotransporteFederalSteps};

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
    each("cartaporte:Contenedor", kTransporteMaritimoContenedor),
};
constexpr Template kTransporteMaritimo{kTransporteMaritimoSteps};

constexpr Step kTransporteAereoSteps[] = {
    req("PermSCT"),
    req("NumPermisoSCT"),
    req("MatriculaAeronave"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    req("NumeroGuia"),
    opt("LugarContrato"),
    opt("RFCTransportista"),
    req("CodigoTransportista"),
    opt("NumRegIdTribTranspor"),
    opt("ResidenciaFiscalTranspor"),
    opt("NombreTransportista"),
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
    each("cartaporte:Contenedor", kCarroContenedor),
};
constexpr Template kCarro{kCarroSteps};

constexpr Step kTransporteFerroviarioSteps[] = {
    req("TipoDeServicio"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    opt("Concesionario"),
    each("cartaporte:DerechosDePaso", kDerechosDePaso),
    each("cartaporte:Carro", kCarro),
};
constexpr Template kTransporteFerroviario{kTransporteFerroviarioSteps};

constexpr Step kMercanciasSteps[] = {
    opt("PesoBrutoTotal"),
    opt("UnidadPeso"),
    opt("PesoNetoTotal"),
    req("NumTotalMercancias"),
    opt("CargoPorTasacion"),
    each("cartaporte:Mercancia", kMercancia),
    each("cartaporte:AutotransporteFederal", kAutotransporteFederal),
    each("cartaporte:TransporteMaritimo", kTransporteMaritimo),
    each("cartaporte:TransporteAereo", kTransporteAereo),
    each("cartaporte:TransporteFerroviario", kTransporteFerroviario),
};
constexpr Template kMercancias{kMercanciasSteps};

constexpr Step kOperadorDomicilioSteps[] = {
    req("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kOperadorDomicilio{kOperadorDomicilioSteps};

constexpr Step kOperadorSteps[] = {
    opt("RFCOperador"),
    opt("NumLicencia"),
    opt("NombreOperador"),
    opt("NumRegIdTribOperador"),
    opt("ResidenciaFiscalOperador"),
    each("cartaporte:Domicilio", kOperadorDomicilio),
};
constexpr Template kOperador{kOperadorSteps};

constexpr Step kOperadoresSteps[] = {
    each("cartaporte:Operador", kOperador),
};
constexpr Template kOperadores{kOperadoresSteps};

constexpr Step kPropietarioDomicilioSteps[] = {
    req("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kPropietarioDomicilio{kPropietarioDomicilioSteps};

constexpr Step kPropietarioSteps[] = {
    opt("RFCPropietario"),
    opt("NombrePropietario"),
    opt("NumRegIdTribPropietario"),
    opt("ResidenciaFiscalPropietario"),
    each("cartaporte:Domicilio", kPropietarioDomicilio),
};
constexpr Template kPropietario{kPropietarioSteps};

constexpr Step kArrendatarioDomicilioSteps[] = {
    req("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kArrendatarioDomicilio{kArrendatarioDomicilioSteps};

constexpr Step kArrendatarioSteps[] = {
    opt("RFCArrendatario"),
    opt("NombreArrendatario"),
    opt("NumRegIdTribArrendatario"),
    opt("ResidenciaFiscalArrendatario"),
    each("cartaporte:Domicilio", kArrendatarioDomicilio),
};
constexpr Template kArrendatario{kArrendatarioSteps};

constexpr Step kNotificadoDomicilioSteps[] = {
    req("Calle"),     opt("NumeroExterior"), opt("NumeroInterior"), opt("Colonia"),
    opt("Localidad"), opt("Referencia"),     opt("Municipio"),      req("Estado"),
    req("Pais"),      req("CodigoPostal"),
};
constexpr Template kNotificadoDomicilio{kNotificadoDomicilioSteps};

constexpr Step kNotificadoSteps[] = {
    opt("RFCNotificado"),
    opt("NombreNotificado"),
    opt("NumRegIdTribNotificado"),
    opt("ResidenciaFiscalNotificado"),
    each("cartaporte:Domicilio", kNotificadoDomicilio),
};
constexpr Template kNotificado{kNotificadoSteps};

constexpr Step kFiguraTransporteSteps[] = {
    req("CveTransporte"),
    each("cartaporte:Operadores", kOperadores),
    each("cartaporte:Propietario", kPropietario),
    each("cartaporte:Arrendatario", kArrendatario),
    each("cartaporte:Notificado", kNotificado),
};
constexpr Template kFiguraTransporte{kFiguraTransporteSteps};

constexpr Step kCartaPorteSteps[] = {
    req("Version"),
    req("TranspInternac"),
    opt("EntradaSalidaMerc"),
    opt("ViaEntradaSalida"),
    opt("TotalDistRec"),
    each("cartaporte:Ubicaciones", kUbicaciones),
    each("cartaporte:Mercancias", kMercancias),
    each("cartaporte:FiguraTransporte", kFiguraTransporte),
};
constexpr Template kCartaPorte{kCartaPorteSteps};

constexpr Match kMatches[] = {
    {"cartaporte:CartaPorte", &kCartaPorte},
    {"cartaporte:Ubicaciones", &kUbicaciones},
    {"cartaporte:Ubicacion", &kUbicacion},
    {"cartaporte:Origen", &kOrigen},
    {"cartaporte:Destino", &kDestino},
    {"cartaporte:Mercancias", &kMercancias},
    {"cartaporte:Mercancia", &kMercancia},
    {"cartaporte:CantidadTransporta", &kCantidadTransporta},
    {"cartaporte:DetalleMercancia", &kDetalleMercancia},
    {"cartaporte:AutotransporteFederal", &kAutotransporteFederal},
    {"cartaporte:IdentificacionVehicular", &kIdentificacionVehicular},
    {"cartaporte:Remolques", &kRemolques},
    {"cartaporte:Remolque", &kRemolque},
    {"cartaporte:TransporteMaritimo", &kTransporteMaritimo},
    {"cartaporte:TransporteAereo", &kTransporteAereo},
    {"cartaporte:TransporteFerroviario", &kTransporteFerroviario},
    {"cartaporte:DerechosDePaso", &kDerechosDePaso},
    {"cartaporte:Carro", &kCarro},
    {"cartaporte:FiguraTransporte", &kFiguraTransporte},
    {"cartaporte:Operadores", &kOperadores},
    {"cartaporte:Operador", &kOperador},
    {"cartaporte:Propietario", &kPropietario},
    {"cartaporte:Arrendatario", &kArrendatario},
    {"cartaporte:Notificado", &kNotificado},
};

}  // namespace

std::span<const Match> carta_porte10_templates() { return kMatches; }

}  // namespace drovanexis::cadena

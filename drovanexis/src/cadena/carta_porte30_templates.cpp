#include "cadena/template.h"

// Transport complement 3.0.
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
    each("cartaporte30:Domicilio", kUbicacionDomicilio),
};
constexpr Template kUbicacion{kUbicacionSteps};

constexpr Step kUbicacionesSteps[] = {
    each("cartaporte30:Ubicacion", kUbicacion),
};
constexpr Template kUbicaciones{kUbicacionesSteps};

constexpr Step kDocumentacionAduaneraSteps[] = {
    req("TipoDocumento"),
    opt("NumPedimento"),
    opt("IdentDocAduanero"),
    opt("RFCImpo"),
};
constexpr Template kDocumentacionAduanera{kDocumentacionAduaneraSteps};

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
    opt("SectorCOFEPRIS"),
    opt("NombreIngredienteActivo"),
    opt("NomQuimico"),
    opt("DenominacionGenericaProd"),
    opt("DenominacionDistintivaProd"),
    opt("Fabricante"),
    opt("FechaCaducidad"),
    opt("LoteMedicamento"),
    opt("FormaFarmaceutica"),
    opt("CondicionesEspTransp"),
    opt("RegistroSanitarioFolioAutorizacion"),
    opt("PermisoImportacion"),
    opt("FolioImpoVUCEM"),
    opt("NumCAS"),
    opt("RazonSocialEmpImp"),
    opt("NumRegSanPlagCOFEPRIS"),
    opt("DatosFabricante"),
    opt("DatosFormulador"),
    opt("DatosMaquilador"),
    opt("UsoAutorizado"),
    req("PesoEnKg"),
    opt("ValorMercancia"),
    opt("Moneda"),
    opt("FraccionArancelaria"),
    opt("UUIDComercioExt"),
    opt("TipoMateria"),
    opt("DescripcionMateria"),
    each("cartaporte30:DocumentacionAduanera", kDocumentacionAduanera),
    each("cartaporte30:GuiasIdentificacion", kGuiasIdentificacion),
    each("cartaporte30:CantidadTransporta", kCantidadTransporta),
    each("cartaporte30:DetalleMercancia", kDetalleMercancia),
};
constexpr Template kMercancia{kMercanciaSteps};

constexpr Step kIdentificacionVehicularSteps[] = {
    req("ConfigVehicular"),
    req("PesoBrutoVehicular"),
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
    each("cartaporte30:Remolque", kRemolque),
};
constexpr Template kRemolques{kRemolquesSteps};

constexpr Step kAutotransporteSteps[] = {
    req("PermSCT"),
    req("NumPermisoSCT"),
    each("cartaporte30:IdentificacionVehicular", kIdentificacionVehicular),
    each("cartaporte30:Seguros", kSeguros),
    each("cartaporte30:Remolques", kRemolques),
};
constexpr Template kAutotransporte{kAutotransporteSteps};

constexpr Step kTransporteMaritimoContenedorSteps[] = {
    req("TipoContenedor"),   opt("MatriculaContenedor"), opt("NumPrecinto"),
    opt("IdCCPRelacionado"), opt("PlacaVMCCP"),          opt("FechaCertificacionCCP"),
};
constexpr Template kTransporteMaritimoContenedor{kTransporteMaritimoContenedorSteps};

constexpr Step kRemolqueCCPSteps[] = {
    req("SubTipoRemCCP"),
    req("PlacaCCP"),
};
constexpr Template kRemolqueCCP{kRemolqueCCPSteps};

constexpr Step kRemolquesCCPSteps[] = {
    each("cartaporte30:RemolqueCCP", kRemolqueCCP),
};
constexpr Template kRemolquesCCP{kRemolquesCCPSteps};

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
    opt("Eslora"),
    opt("Manga"),
    opt("Calado"),
    opt("Puntal"),
    opt("LineaNaviera"),
    req("NombreAgenteNaviero"),
    req("NumAutorizacionNaviero"),
    opt("NumViaje"),
    opt("NumConocEmbarc"),
    opt("PermisoTempNavegacion"),
    each("cartaporte30:Contenedor", kTransporteMaritimoContenedor),
    each("cartaporte30:RemolquesCCP", kRemolquesCCP),
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
    each("cartaporte30:Contenedor", kCarroContenedor),
};
constexpr Template kCarro{kCarroSteps};

constexpr Step kTransporteFerroviarioSteps[] = {
    req("TipoDeServicio"),
    req("TipoDeTrafico"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    each("cartaporte30:DerechosDePaso", kDerechosDePaso),
    each("cartaporte30:Carro", kCarro),
};
constexpr Template kTransporteFerroviario{kTransporteFerroviarioSteps};

constexpr Step kMercanciasSteps[] = {
    req("PesoBrutoTotal"),
    req("UnidadPeso"),
    opt("PesoNetoTotal"),
    req("NumTotalMercancias"),
    opt("CargoPorTasacion"),
    opt("LogisticaInversaRecoleccionDevolucion"),
    each("cartaporte30:Mercancia", kMercancia),
    each("cartaporte30:Autotransporte", kAutotransporte),
    each("cartaporte30:TransporteMaritimo", kTransporteMaritimo),
    each("cartaporte30:TransporteAereo", kTransporteAereo),
    each("cartaporte30:TransporteFerroviario", kTransporteFerroviario),
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
    req("NombreFigura"),
    opt("NumRegIdTribFigura"),
    opt("ResidenciaFiscalFigura"),
    each("cartaporte30:PartesTransporte", kPartesTransporte),
    each("cartaporte30:Domicilio", kTiposFiguraDomicilio),
};
constexpr Template kTiposFigura{kTiposFiguraSteps};

constexpr Step kFiguraTransporteSteps[] = {
    each("cartaporte30:TiposFigura", kTiposFigura),
};
constexpr Template kFiguraTransporte{kFiguraTransporteSteps};

constexpr Step kCartaPorteSteps[] = {
    req("Version"),
    req("IdCCP"),
    req("TranspInternac"),
    opt("RegimenAduanero"),
    opt("EntradaSalidaMerc"),
    opt("PaisOrigenDestino"),
    opt("ViaEntradaSalida"),
    opt("TotalDistRec"),
    opt("RegistroISTMO"),
    opt("UbicacionPoloOrigen"),
    opt("UbicacionPoloDestino"),
    each("cartaporte30:Ubicaciones", kUbicaciones),
    each("cartaporte30:Mercancias", kMercancias),
    each("cartaporte30:FiguraTransporte", kFiguraTransporte),
};
constexpr Template kCartaPorte{kCartaPorteSteps};

constexpr Match kMatches[] = {
    {"cartaporte30:CartaPorte", &kCartaPorte},
    {"cartaporte30:Ubicaciones", &kUbicaciones},
    {"cartaporte30:Ubicacion", &kUbicacion},
    {"cartaporte30:Mercancias", &kMercancias},
    {"cartaporte30:Mercancia", &kMercancia},
    {"cartaporte30:DocumentacionAduanera", &kDocumentacionAduanera},
    {"cartaporte30:GuiasIdentificacion", &kGuiasIdentificacion},
    {"cartaporte30:CantidadTransporta", &kCantidadTransporta},
    {"cartaporte30:DetalleMercancia", &kDetalleMercancia},
    {"cartaporte30:Autotransporte", &kAutotransporte},
    {"cartaporte30:IdentificacionVehicular", &kIdentificacionVehicular},
    {"cartaporte30:Seguros", &kSeguros},
    {"cartaporte30:Remolques", &kRemolques},
    {"cartaporte30:Remolque", &kRemolque},
    {"cartaporte30:TransporteMaritimo", &kTransporteMaritimo},
    {"cartaporte30:RemolquesCCP", &kRemolquesCCP},
    {"cartaporte30:RemolqueCCP", &kRemolqueCCP},
    {"cartaporte30:TransporteAereo", &kTransporteAereo},
    {"cartaporte30:TransporteFerroviario", &kTransporteFerroviario},
    {"cartaporte30:DerechosDePaso", &kDerechosDePaso},
    {"cartaporte30:Carro", &kCarro},
    {"cartaporte30:FiguraTransporte", &kFiguraTransporte},
    {"cartaporte30:TiposFigura", &kTiposFigura},
    {"cartaporte30:PartesTransporte", &kPartesTransporte},
};

}  // namespace

std::span<const Match> carta_porte30_templates() { return kMatches; }

}  // namespace drovanexis::cadena

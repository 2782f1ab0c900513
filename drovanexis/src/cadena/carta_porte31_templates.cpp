#include "cadena/template.h"

// Transport complement 3.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kRegimenAduaneroCCPSteps[] = {
    req("RegimenAduanero"),
};
constexpr Template kRegimenAduaneroCCP{kRegimenAduaneroCCPSteps};

constexpr Step kRegimenesAduanerosSteps[] = {
    each("cartaporte31:RegimenAduaneroCCP", kRegimenAduaneroCCP),
};
constexpr Template kRegimenesAduaneros{kRegimenesAduanerosSteps};

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
    each("cartaporte31:Domicilio", kUbicacionDomicilio),
};
constexpr Template kUbicacion{kUbicacionSteps};

constexpr Step kUbicacionesSteps[] = {
    each("cartaporte31:Ubicacion", kUbicacion),
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
    each("cartaporte31:DocumentacionAduanera", kDocumentacionAduanera),
    each("cartaporte31:GuiasIdentificacion", kGuiasIdentificacion),
    each("cartaporte31:CantidadTransporta", kCantidadTransporta),
    each("cartaporte31:DetalleMercancia", kDetalleMercancia),
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
    each("cartaporte31:Remolque", kRemolque),
};
constexpr Template kRemolques{kRemolquesSteps};

constexpr Step kAutotransporteSteps[] = {
    req("PermSCT"),
    req("NumPermisoSCT"),
    each("cartaporte31:IdentificacionVehicular", kIdentificacionVehicular),
    each("cartaporte31:Seguros", kSeguros),
    each("cartaporte31:Remolques", kRemolques),
};
constexpr Template kAutotransporte{kAutotransporteSteps};

constexpr Step kRemolqueCCPSteps[] = {
    req("SubTipoRemCCP"),
    req("PlacaCCP"),
};
constexpr Template kRemolqueCCP{kRemolqueCCPSteps};

constexpr Step kRemolquesCCPSteps[] = {
    each("cartaporte31:RemolqueCCP", kRemolqueCCP),
};
constexpr Template kRemolquesCCP{kRemolquesCCPSteps};

constexpr Step kContenedorSteps[] = {
    req("TipoContenedor"),
    opt("MatriculaContenedor"),
    opt("NumPrecinto"),
    opt("IdCCPRelacionado"),
    opt("PlacaVMCCP"),
    opt("FechaCertificacionCCP"),
    each("cartaporte31:RemolquesCCP", kRemolquesCCP),
};
constexpr Template kContenedor{kContenedorSteps};

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
    each("cartaporte31:Contenedor", kContenedor),
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
    each("cartaporte31:Contenedor", kCarroContenedor),
};
constexpr Template kCarro{kCarroSteps};

constexpr Step kTransporteFerroviarioSteps[] = {
    req("TipoDeServicio"),
    req("TipoDeTrafico"),
    opt("NombreAseg"),
    opt("NumPolizaSeguro"),
    each("cartaporte31:DerechosDePaso", kDerechosDePaso),
    each("cartaporte31:Carro", kCarro),
};
constexpr Template kTransporteFerroviario{kTransporteFerroviarioSteps};

constexpr Step kMercanciasSteps[] = {
    req("PesoBrutoTotal"),
    req("UnidadPeso"),
    opt("PesoNetoTotal"),
    req("NumTotalMercancias"),
    opt("CargoPorTasacion"),
    opt("LogisticaInversaRecoleccionDevolucion"),
    each("cartaporte31:Mercancia", kMercancia),
    each("cartaporte31:Autotransporte", kAutotransporte),
    each("cartaporte31:TransporteMaritimo", kTransporteMaritimo),
    each("cartaporte31:TransporteAereo", kTransporteAereo),
    each("cartaporte31:TransporteFerroviario", kTransporteFerroviario),
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
    each("cartaporte31:PartesTransporte", kPartesTransporte),
    each("cartaporte31:Domicilio", kTiposFiguraDomicilio),
};
constexpr Template kTiposFigura{kTiposFiguraSteps};

constexpr Step kFiguraTransporteSteps[] = {
    each("cartaporte31:TiposFigura", kTiposFigura),
};
constexpr Template kFiguraTransporte{kFiguraTransporteSteps};

constexpr Step kCartaPorteSteps[] = {
    req("Version"),
    req("IdCCP"),
    req("TranspInternac"),
    opt("EntradaSalidaMerc"),
    opt("PaisOrigenDestino"),
    opt("ViaEntradaSalida"),
    opt("TotalDistRec"),
    opt("RegistroISTMO"),
    opt("UbicacionPoloOrigen"),
    opt("UbicacionPoloDestino"),
    each("cartaporte31:RegimenesAduaneros", kRegimenesAduaneros),
    each("cartaporte31:Ubicaciones", kUbicaciones),
    each("cartaporte31:Mercancias", kMercancias),
    each("cartaporte31:FiguraTransporte", kFiguraTransporte),
};
constexpr Template kCartaPorte{kCartaPorteSteps};

constexpr Match kMatches[] = {
    {"cartaporte31:CartaPorte", &kCartaPorte},
    {"cartaporte31:RegimenesAduaneros", &kRegimenesAduaneros},
    {"cartaporte31:RegimenAduaneroCCP", &kRegimenAduaneroCCP},
    {"cartaporte31:Ubicaciones", &kUbicaciones},
    {"cartaporte31:Ubicacion", &kUbicacion},
    {"cartaporte31:Mercancias", &kMercancias},
    {"cartaporte31:Mercancia", &kMercancia},
    {"cartaporte31:DocumentacionAduanera", &kDocumentacionAduanera},
    {"cartaporte31:GuiasIdentificacion", &kGuiasIdentificacion},
    {"cartaporte31:CantidadTransporta", &kCantidadTransporta},
    {"cartaporte31:DetalleMercancia", &kDetalleMercancia},
    {"cartaporte31:Autotransporte", &kAutotransporte},
    {"cartaporte31:IdentificacionVehicular", &kIdentificacionVehicular},
    {"cartaporte31:Seguros", &kSeguros},
    {"cartaporte31:Remolques", &kRemolques},
    {"cartaporte31:Remolque", &kRemolque},
    {"cartaporte31:TransporteMaritimo", &kTransporteMaritimo},
    {"cartaporte31:Contenedor", &kContenedor},
    {"cartaporte31:RemolquesCCP", &kRemolquesCCP},
    {"cartaporte31:RemolqueCCP", &kRemolqueCCP},
    {"cartaporte31:TransporteAereo", &kTransporteAereo},
    {"cartaporte31:TransporteFerroviario", &kTransporteFerroviario},
    {"cartaporte31:DerechosDePaso", &kDerechosDePaso},
    {"cartaporte31:Carro", &kCarro},
    {"cartaporte31:FiguraTransporte", &kFiguraTransporte},
    {"cartaporte31:TiposFigura", &kTiposFigura},
    {"cartaporte31:PartesTransporte", &kPartesTransporte},
};

}  // namespace

std::span<const Match> carta_porte31_templates() { return kMatches; }

}  // namespace drovanexis::cadena

#include "api/api_support.h"
#include "document/builders.h"
#include "drovanexis.h"

// Carta Porte 2.0 complement: each entry hands its texts to the builder of its node.
using drovanexis::api::build;

void Drovanexis_SetCartaPorte20(int32_t handle, const char* TranspInternac,
                                const char* EntradaSalidaMerc, const char* PaisOrigenDestino,
                                const char* ViaEntradaSalida, const char* TotalDistRec) {
  build(handle, drovanexis::set_cartaporte20,
        {TranspInternac, EntradaSalidaMerc, PaisOrigenDestino, ViaEntradaSalida, TotalDistRec});
}

void Drovanexis_CartaPorte20AddUbicacion(
    int32_t handle, const char* TipoUbicacion, const char* IDUbicacion,
    const char* RFCRemitenteDestinatario, const char* NombreRemitenteDestinatario,
    const char* NumRegIdTrib, const char* ResidenciaFiscal, const char* NumEstacion,
    const char* NombreEstacion, const char* NavegacionTrafico, const char* FechaHoraSalidaLlegada,
    const char* TipoEstacion, const char* DistanciaRecorrida, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte20_ubicacion,
        {TipoUbicacion,
         IDUbicacion,
         RFCRemitenteDestinatario,
         NombreRemitenteDestinatario,
         NumRegIdTrib,
         ResidenciaFiscal,
         NumEstacion,
         NombreEstacion,
         NavegacionTrafico,
         FechaHoraSalidaLlegada,
         TipoEstacion,
         DistanciaRecorrida,
         Domicilio_Calle,
         Domicilio_NumeroExterior,
         Domicilio_NumeroInterior,
         Domicilio_Colonia,
         Domicilio_Localidad,
         Domicilio_Referencia,
         Domicilio_Municipio,
         Domicilio_Estado,
         Domicilio_Pais,
         Domicilio_CodigoPostal});
}

void Drovanexis_CartaPorte20SetMercancias(int32_t handle, const char* PesoBrutoTotal,
                                          const char* UnidadPeso, const char* PesoNetoTotal,
                                          const char* NumTotalMercancias,
                                          const char* CargoPorTasacion) {
  build(handle, drovanexis::set_cartaporte20_mercancias,
        {PesoBrutoTotal, UnidadPeso, PesoNetoTotal, NumTotalMercancias, CargoPorTasacion});
}

void Drovanexis_CartaPorte20AddMercancia(
    int32_t handle, const char* BienesTransp, const char* ClaveSTCC, const char* Descripcion,
    const char* Cantidad, const char* ClaveUnidad, const char* Unidad, const char* Dimensiones,
    const char* MaterialPeligroso, const char* CveMaterialPeligroso, const char* Embalaje,
    const char* DescripEmbalaje, const char* PesoEnKg, const char* ValorMercancia,
    const char* Moneda, const char* FraccionArancelaria, const char* UUIDComercioExt,
    const char* DetalleMercancia_UnidadPesoMerc, const char* DetalleMercancia_PesoBruto,
    const char* DetalleMercancia_PesoNeto, const char* DetalleMercancia_PesoTara,
    const char* DetalleMercancia_NumPiezas) {
  build(handle, drovanexis::add_cartaporte20_mercancia,
        {BienesTransp,
         ClaveSTCC,
         Descripcion,
         Cantidad,
         ClaveUnidad,
         Unidad,
         Dimensiones,
         MaterialPeligroso,
         CveMaterialPeligroso,
         Embalaje,
         DescripEmbalaje,
         PesoEnKg,
         ValorMercancia,
         Moneda,
         FraccionArancelaria,
         UUIDComercioExt,
         DetalleMercancia_UnidadPesoMerc,
         DetalleMercancia_PesoBruto,
         DetalleMercancia_PesoNeto,
         DetalleMercancia_PesoTara,
         DetalleMercancia_NumPiezas});
}

void Drovanexis_CartaPorte20AddMercanciaCantidadTransporta(int32_t handle, const char* Cantidad,
                                                           const char* IDOrigen,
                                                           const char* IDDestino,
                                                           const char* CvesTransporte) {
  build(handle, drovanexis::add_cartaporte20_cantidad_transporta,
        {Cantidad, IDOrigen, IDDestino, CvesTransporte});
}

void Drovanexis_CartaPorte20AddMercanciaPedimentos(int32_t handle, const char* Pedimento) {
  build(handle, drovanexis::add_cartaporte20_pedimentos, {Pedimento});
}

void Drovanexis_CartaPorte20AddMercanciaGuiasIdentificacion(int32_t handle,
                                                            const char* NumeroGuiaIdentificacion,
                                                            const char* DescripGuiaIdentificacion,
                                                            const char* PesoGuiaIdentificacion) {
  build(handle, drovanexis::add_cartaporte20_guias_identificacion,
        {NumeroGuiaIdentificacion, DescripGuiaIdentificacion, PesoGuiaIdentificacion});
}

void Drovanexis_CartaPorte20SetMercanciasAutotransporte(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT,
    const char* IdentificacionVehicular_ConfigVehicular,
    const char* IdentificacionVehicular_PlacaVM, const char* IdentificacionVehicular_AnioModeloVM,
    const char* Seguros_AseguraRespCivil, const char* Seguros_PolizaRespCivil,
    const char* Seguros_AseguraMedAmbiente, const char* Seguros_PolizaMedAmbiente,
    const char* Seguros_AseguraCarga, const char* Seguros_PolizaCarga,
    const char* Seguros_PrimaSeguro, const char* Remolque_SubTipoRem, const char* Remolque_Placa,
    const char* Remolque2_SubTipoRem, const char* Remolque2_Placa) {
  build(handle, drovanexis::set_cartaporte20_autotransporte,
        {PermSCT, NumPermisoSCT, IdentificacionVehicular_ConfigVehicular,
         IdentificacionVehicular_PlacaVM, IdentificacionVehicular_AnioModeloVM,
         Seguros_AseguraRespCivil, Seguros_PolizaRespCivil, Seguros_AseguraMedAmbiente,
         Seguros_PolizaMedAmbiente, Seguros_AseguraCarga, Seguros_PolizaCarga, Seguros_PrimaSeguro,
         Remolque_SubTipoRem, Remolque_Placa, Remolque2_SubTipoRem, Remolque2_Placa});
}

void Drovanexis_CartaPorte20SetMercanciasTransporteMaritimo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* TipoEmbarcacion, const char* Matricula,
    const char* NumeroOMI, const char* AnioEmbarcacion, const char* NombreEmbarc,
    const char* NacionalidadEmbarc, const char* UnidadesDeArqBruto, const char* TipoCarga,
    const char* NumCertITC, const char* Eslora, const char* Manga, const char* Calado,
    const char* LineaNaviera, const char* NombreAgenteNaviero, const char* NumAutorizacionNaviero,
    const char* NumViaje, const char* NumConocEmbarc, const char* Contenedor_MatriculaContenedor,
    const char* Contenedor_TipoContenedor, const char* Contenedor_NumPrecinto) {
  build(handle, drovanexis::set_cartaporte20_transporte_maritimo,
        {PermSCT,
         NumPermisoSCT,
         NombreAseg,
         NumPolizaSeguro,
         TipoEmbarcacion,
         Matricula,
         NumeroOMI,
         AnioEmbarcacion,
         NombreEmbarc,
         NacionalidadEmbarc,
         UnidadesDeArqBruto,
         TipoCarga,
         NumCertITC,
         Eslora,
         Manga,
         Calado,
         LineaNaviera,
         NombreAgenteNaviero,
         NumAutorizacionNaviero,
         NumViaje,
         NumConocEmbarc,
         Contenedor_MatriculaContenedor,
         Contenedor_TipoContenedor,
         Contenedor_NumPrecinto});
}

void Drovanexis_CartaPorte20AddMercanciasTransporteMaritimoContenedor(
    int32_t handle, const char* MatriculaContenedor, const char* TipoContenedor,
    const char* NumPrecinto) {
  build(handle, drovanexis::add_cartaporte20_maritimo_contenedor,
        {MatriculaContenedor, TipoContenedor, NumPrecinto});
}

void Drovanexis_CartaPorte20SetMercanciasTransporteAereo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* MatriculaAeronave,
    const char* NombreAseg, const char* NumPolizaSeguro, const char* NumeroGuia,
    const char* LugarContrato, const char* CodigoTransportista, const char* RFCEmbarcador,
    const char* NumRegIdTribEmbarc, const char* ResidenciaFiscalEmbarc,
    const char* NombreEmbarcador) {
  build(handle, drovanexis::set_cartaporte20_transporte_aereo,
        {PermSCT, NumPermisoSCT, MatriculaAeronave, NombreAseg, NumPolizaSeguro, NumeroGuia,
         LugarContrato, CodigoTransportista, RFCEmbarcador, NumRegIdTribEmbarc,
         ResidenciaFiscalEmbarc, NombreEmbarcador});
}

void Drovanexis_CartaPorte20SetMercanciasTransporteFerroviario(
    int32_t handle, const char* TipoDeServicio, const char* TipoDeTrafico, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* DerechosDePaso_TipoDerechoDePaso,
    const char* DerechosDePaso_KilometrajePagado, const char* Carro_TipoCarro,
    const char* Carro_MatriculaCarro, const char* Carro_GuiaCarro,
    const char* Carro_ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia) {
  build(handle, drovanexis::set_cartaporte20_transporte_ferroviario,
        {TipoDeServicio, TipoDeTrafico, NombreAseg, NumPolizaSeguro,
         DerechosDePaso_TipoDerechoDePaso, DerechosDePaso_KilometrajePagado, Carro_TipoCarro,
         Carro_MatriculaCarro, Carro_GuiaCarro, Carro_ToneladasNetasCarro,
         Contenedor_TipoContenedor, Contenedor_PesoContenedorVacio, Contenedor_PesoNetoMercancia});
}

void Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioDerechosDePaso(
    int32_t handle, const char* TipoDerechoDePaso, const char* KilometrajePagado) {
  build(handle, drovanexis::add_cartaporte20_ferroviario_derechos_de_paso,
        {TipoDerechoDePaso, KilometrajePagado});
}

void Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarro(
    int32_t handle, const char* TipoCarro, const char* MatriculaCarro, const char* GuiaCarro,
    const char* ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia) {
  build(handle, drovanexis::add_cartaporte20_ferroviario_carro,
        {TipoCarro, MatriculaCarro, GuiaCarro, ToneladasNetasCarro, Contenedor_TipoContenedor,
         Contenedor_PesoContenedorVacio, Contenedor_PesoNetoMercancia});
}

void Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarroContenedor(
    int32_t handle, const char* TipoContenedor, const char* PesoContenedorVacio,
    const char* PesoNetoMercancia) {
  build(handle, drovanexis::add_cartaporte20_ferroviario_carro_contenedor,
        {TipoContenedor, PesoContenedorVacio, PesoNetoMercancia});
}

void Drovanexis_CartaPorte20AddFiguraTransporteTiposFigura(
    int32_t handle, const char* TipoFigura, const char* RFCFigura, const char* NumLicencia,
    const char* NombreFigura, const char* NumRegIdTribFigura, const char* ResidenciaFiscalFigura,
    const char* PartesTransporte_ParteTransporte, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal) {
  build(
      handle, drovanexis::add_cartaporte20_tipos_figura,
      {TipoFigura, RFCFigura, NumLicencia, NombreFigura, NumRegIdTribFigura, ResidenciaFiscalFigura,
       PartesTransporte_ParteTransporte, Domicilio_Calle, Domicilio_NumeroExterior,
       Domicilio_NumeroInterior, Domicilio_Colonia, Domicilio_Localidad, Domicilio_Referencia,
       Domicilio_Municipio, Domicilio_Estado, Domicilio_Pais, Domicilio_CodigoPostal});
}

void Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte(
    int32_t handle, const char* ParteTransporte) {
  build(handle, drovanexis::add_cartaporte20_partes_transporte, {ParteTransporte});
}

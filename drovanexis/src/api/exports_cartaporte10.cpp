#include "api/api_support.h"
#include "document/builders.h"
#include "drovanexis.h"

// Carta Porte 1.0 complement: each entry hands its texts to the builder of its node.
using drovanexis::api::build;

void Drovanexis_SetCartaPorte10(int32_t handle, const char* TranspInternac,
                                const char* EntradaSalidaMerc, const char* ViaEntradaSalida,
                                const char* TotalDistRec) {
  build(handle, drovanexis::set_cartaporte10,
        {TranspInternac, EntradaSalidaMerc, ViaEntradaSalida, TotalDistRec});
}

void Drovanexis_CartaPorte10AddUbicacion(
    int32_t handle, const char* TipoEstacion, const char* DistanciaRecorrida,
    const char* Origen_IDOrigen, const char* Origen_RFCRemitente,
    const char* Origen_NombreRemitente, const char* Origen_NumRegIdTrib,
    const char* Origen_ResidenciaFiscal, const char* Origen_NumEstacion,
    const char* Origen_NombreEstacion, const char* Origen_NavegacionTrafico,
    const char* Origen_FechaHoraSalida, const char* Destino_IDDestino,
    const char* Destino_RFCDestinatario, const char* Destino_NombreDestinatario,
    const char* Destino_NumRegIdTrib, const char* Destino_ResidenciaFiscal,
    const char* Destino_NumEstacion, const char* Destino_NombreEstacion,
    const char* Destino_NavegacionTrafico, const char* Destino_FechaHoraProgLlegada,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte10_ubicacion,
        {TipoEstacion,
         DistanciaRecorrida,
         Origen_IDOrigen,
         Origen_RFCRemitente,
         Origen_NombreRemitente,
         Origen_NumRegIdTrib,
         Origen_ResidenciaFiscal,
         Origen_NumEstacion,
         Origen_NombreEstacion,
         Origen_NavegacionTrafico,
         Origen_FechaHoraSalida,
         Destino_IDDestino,
         Destino_RFCDestinatario,
         Destino_NombreDestinatario,
         Destino_NumRegIdTrib,
         Destino_ResidenciaFiscal,
         Destino_NumEstacion,
         Destino_NombreEstacion,
         Destino_NavegacionTrafico,
         Destino_FechaHoraProgLlegada,
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

void Drovanexis_CartaPorte10SetMercancias(int32_t handle, const char* PesoBrutoTotal,
                                          const char* UnidadPeso, const char* PesoNetoTotal,
                                          const char* NumTotalMercancias,
                                          const char* CargoPorTasacion) {
  build(handle, drovanexis::set_cartaporte10_mercancias,
        {PesoBrutoTotal, UnidadPeso, PesoNetoTotal, NumTotalMercancias, CargoPorTasacion});
}

void Drovanexis_CartaPorte10AddMercancia(
    int32_t handle, const char* BienesTransp, const char* ClaveSTCC, const char* Descripcion,
    const char* Cantidad, const char* ClaveUnidad, const char* Unidad, const char* Dimensiones,
    const char* MaterialPeligroso, const char* CveMaterialPeligroso, const char* Embalaje,
    const char* DescripEmbalaje, const char* PesoEnKg, const char* ValorMercancia,
    const char* Moneda, const char* FraccionArancelaria, const char* UUIDComercioExt,
    const char* CantidadTransporta_Cantidad, const char* CantidadTransporta_IDOrigen,
    const char* CantidadTransporta_IDDestino, const char* CantidadTransporta_CvesTransporte,
    const char* DetalleMercancia_UnidadPeso, const char* DetalleMercancia_PesoBruto,
    const char* DetalleMercancia_PesoNeto, const char* DetalleMercancia_PesoTara,
    const char* DetalleMercancia_NumPiezas) {
  build(handle, drovanexis::add_cartaporte10_mercancia,
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
         CantidadTransporta_Cantidad,
         CantidadTransporta_IDOrigen,
         CantidadTransporta_IDDestino,
         CantidadTransporta_CvesTransporte,
         DetalleMercancia_UnidadPeso,
         DetalleMercancia_PesoBruto,
         DetalleMercancia_PesoNeto,
         DetalleMercancia_PesoTara,
         DetalleMercancia_NumPiezas});
}

void Drovanexis_CartaPorte10AddMercanciaCantidadTransporta(int32_t handle, const char* Cantidad,
                                                           const char* IDOrigen,
                                                           const char* IDDestino,
                                                           const char* CvesTransporte) {
  build(handle, drovanexis::add_cartaporte10_cantidad_transporta,
        {Cantidad, IDOrigen, IDDestino, CvesTransporte});
}

void Drovanexis_CartaPorte10SetMercanciasAutotransporteFederal(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* IdentificacionVehicular_ConfigVehicular,
    const char* IdentificacionVehicular_PlacaVM, const char* IdentificacionVehicular_AnioModeloVM,
    const char* Remolque_SubTipoRem, const char* Remolque_Placa, const char* Remolque2_SubTipoRem,
    const char* Remolque2_Placa) {
  build(
      handle, drovanexis::set_cartaporte10_autotransporte_federal,
      {PermSCT, NumPermisoSCT, NombreAseg, NumPolizaSeguro, IdentificacionVehicular_ConfigVehicular,
       IdentificacionVehicular_PlacaVM, IdentificacionVehicular_AnioModeloVM, Remolque_SubTipoRem,
       Remolque_Placa, Remolque2_SubTipoRem, Remolque2_Placa});
}

void Drovanexis_CartaPorte10SetMercanciasTransporteMaritimo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* TipoEmbarcacion, const char* Matricula,
    const char* NumeroOMI, const char* AnioEmbarcacion, const char* NombreEmbarc,
    const char* NacionalidadEmbarc, const char* UnidadesDeArqBruto, const char* TipoCarga,
    const char* NumCertITC, const char* Eslora, const char* Manga, const char* Calado,
    const char* LineaNaviera, const char* NombreAgenteNaviero, const char* NumAutorizacionNaviero,
    const char* NumViaje, const char* NumConocEmbarc, const char* Contenedor_MatriculaContenedor,
    const char* Contenedor_TipoContenedor, const char* Contenedor_NumPrecinto) {
  build(handle, drovanexis::set_cartaporte10_transporte_maritimo,
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

void Drovanexis_CartaPorte10AddMercanciasTransporteMaritimoContenedor(
    int32_t handle, const char* MatriculaContenedor, const char* TipoContenedor,
    const char* NumPrecinto) {
  build(handle, drovanexis::add_cartaporte10_maritimo_contenedor,
        {MatriculaContenedor, TipoContenedor, NumPrecinto});
}

void Drovanexis_CartaPorte10SetMercanciasTransporteAereo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* MatriculaAeronave,
    const char* NombreAseg, const char* NumPolizaSeguro, const char* NumeroGuia,
    const char* LugarContrato, const char* RFCTransportista, const char* CodigoTransportista,
    const char* NumRegIdTribTranspor, const char* ResidenciaFiscalTranspor,
    const char* NombreTransportista, const char* RFCEmbarcador, const char* NumRegIdTribEmbarc,
    const char* ResidenciaFiscalEmbarc, const char* NombreEmbarcador) {
  build(handle, drovanexis::set_cartaporte10_transporte_aereo,
        {PermSCT, NumPermisoSCT, MatriculaAeronave, NombreAseg, NumPolizaSeguro, NumeroGuia,
         LugarContrato, RFCTransportista, CodigoTransportista, NumRegIdTribTranspor,
         ResidenciaFiscalTranspor, NombreTransportista, RFCEmbarcador, NumRegIdTribEmbarc,
         ResidenciaFiscalEmbarc, NombreEmbarcador});
}

void Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario(
    int32_t handle, const char* TipoDeServicio, const char* NombreAseg, const char* NumPolizaSeguro,
    const char* Concesionario, const char* DerechosDePaso_TipoDerechoDePaso,
    const char* DerechosDePaso_KilometrajePagado, const char* Carro_TipoCarro,
    const char* Carro_MatriculaCarro, const char* Carro_GuiaCarro,
    const char* Carro_ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia) {
  build(handle, drovanexis::set_cartaporte10_transporte_ferroviario,
        {TipoDeServicio, NombreAseg, NumPolizaSeguro, Concesionario,
         DerechosDePaso_TipoDerechoDePaso, DerechosDePaso_KilometrajePagado, Carro_TipoCarro,
         Carro_MatriculaCarro, Carro_GuiaCarro, Carro_ToneladasNetasCarro,
         Contenedor_TipoContenedor, Contenedor_PesoContenedorVacio, Contenedor_PesoNetoMercancia});
}

void Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioDerechosDePaso(
    int32_t handle, const char* TipoDerechoDePaso, const char* KilometrajePagado) {
  build(handle, drovanexis::add_cartaporte10_ferroviario_derechos_de_paso,
        {TipoDerechoDePaso, KilometrajePagado});
}

void Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarro(
    int32_t handle, const char* TipoCarro, const char* MatriculaCarro, const char* GuiaCarro,
    const char* ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia) {
  build(handle, drovanexis::add_cartaporte10_ferroviario_carro,
        {TipoCarro, MatriculaCarro, GuiaCarro, ToneladasNetasCarro, Contenedor_TipoContenedor,
         Contenedor_PesoContenedorVacio, Contenedor_PesoNetoMercancia});
}

void Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarroContenedor(
    int32_t handle, const char* TipoContenedor, const char* PesoContenedorVacio,
    const char* PesoNetoMercancia) {
  build(handle, drovanexis::add_cartaporte10_ferroviario_carro_contenedor,
        {TipoContenedor, PesoContenedorVacio, PesoNetoMercancia});
}

void Drovanexis_CartaPorte10SetFiguraTransporte(int32_t handle, const char* CveTransporte) {
  build(handle, drovanexis::set_cartaporte10_figura_transporte, {CveTransporte});
}

void Drovanexis_CartaPorte10AddFiguraTransporteOperadores(
    int32_t handle, const char* RFCOperador, const char* NumLicencia, const char* NombreOperador,
    const char* NumRegIdTribOperador, const char* ResidenciaFiscalOperador,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte10_operadores,
        {RFCOperador, NumLicencia, NombreOperador, NumRegIdTribOperador, ResidenciaFiscalOperador,
         Domicilio_Calle, Domicilio_NumeroExterior, Domicilio_NumeroInterior, Domicilio_Colonia,
         Domicilio_Localidad, Domicilio_Referencia, Domicilio_Municipio, Domicilio_Estado,
         Domicilio_Pais, Domicilio_CodigoPostal});
}

void Drovanexis_CartaPorte10AddFiguraTransporteOperadoresOperador(
    int32_t handle, const char* RFCOperador, const char* NumLicencia, const char* NombreOperador,
    const char* NumRegIdTribOperador, const char* ResidenciaFiscalOperador,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte10_operador,
        {RFCOperador, NumLicencia, NombreOperador, NumRegIdTribOperador, ResidenciaFiscalOperador,
         Domicilio_Calle, Domicilio_NumeroExterior, Domicilio_NumeroInterior, Domicilio_Colonia,
         Domicilio_Localidad, Domicilio_Referencia, Domicilio_Municipio, Domicilio_Estado,
         Domicilio_Pais, Domicilio_CodigoPostal});
}

void Drovanexis_CartaPorte10AddFiguraTransportePropietario(
    int32_t handle, const char* RFCPropietario, const char* NombrePropietario,
    const char* NumRegIdTribPropietario, const char* ResidenciaFiscalPropietario,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte10_propietario,
        {RFCPropietario, NombrePropietario, NumRegIdTribPropietario, ResidenciaFiscalPropietario,
         Domicilio_Calle, Domicilio_NumeroExterior, Domicilio_NumeroInterior, Domicilio_Colonia,
         Domicilio_Localidad, Domicilio_Referencia, Domicilio_Municipio, Domicilio_Estado,
         Domicilio_Pais, Domicilio_CodigoPostal});
}

void Drovanexis_CartaPorte10AddFiguraTransporteArrendatario(
    int32_t handle, const char* RFCArrendatario, const char* NombreArrendatario,
    const char* NumRegIdTribArrendatario, const char* ResidenciaFiscalArrendatario,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte10_arrendatario,
        {RFCArrendatario, NombreArrendatario, NumRegIdTribArrendatario,
         ResidenciaFiscalArrendatario, Domicilio_Calle, Domicilio_NumeroExterior,
         Domicilio_NumeroInterior, Domicilio_Colonia, Domicilio_Localidad, Domicilio_Referencia,
         Domicilio_Municipio, Domicilio_Estado, Domicilio_Pais, Domicilio_CodigoPostal});
}

void Drovanexis_CartaPorte10AddFiguraTransporteNotificado(
    int32_t handle, const char* RFCNotificado, const char* NombreNotificado,
    const char* NumRegIdTribNotificado, const char* ResidenciaFiscalNotificado,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal) {
  build(handle, drovanexis::add_cartaporte10_notificado,
        {RFCNotificado, NombreNotificado, NumRegIdTribNotificado, ResidenciaFiscalNotificado,
         Domicilio_Calle, Domicilio_NumeroExterior, Domicilio_NumeroInterior, Domicilio_Colonia,
         Domicilio_Localidad, Domicilio_Referencia, Domicilio_Municipio, Domicilio_Estado,
         Domicilio_Pais, Domicilio_CodigoPostal});
}

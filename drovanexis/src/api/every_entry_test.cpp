// Every entry called with null texts and zero integers, on a live document
// and on handles that name none: nothing may crash, and the document stays
// writable and readable as XML.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

#include "document/document_registry.h"
#include "drovanexis.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace drovanexis {
namespace {

void call_every_entry_with_nulls(std::int32_t handle) {
  Drovanexis_ProcesaDocumento(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_GetValue(handle, 0);
  Drovanexis_SetVelmoranetInfo(handle, nullptr, nullptr);
  Drovanexis_SetCompleteXML_cfdi33(handle, nullptr);
  Drovanexis_SetComprobanteInfo_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr);
  Drovanexis_SetCfdiRelacionados_cfdi33(handle, nullptr);
  Drovanexis_AddCfdiRelacionado_cfdi33(handle, nullptr);
  Drovanexis_SetEmisorInfo_cfdi33(handle, nullptr, nullptr, nullptr);
  Drovanexis_SetReceptorInfo_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_AddConcepto_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr);
  Drovanexis_AddConceptoTraslado_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_AddConceptoRetencion_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetImpuestosInfo_cfdi33(handle, nullptr, nullptr);
  Drovanexis_AddRetencion_cfdi33(handle, nullptr, nullptr);
  Drovanexis_AddTraslado_cfdi33(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_AddConceptoInformacionAduanera_cfdi33(handle, nullptr);
  Drovanexis_AddConceptoCuentaPredial_cfdi33(handle, nullptr);
  Drovanexis_AddConceptoParte_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr);
  Drovanexis_AddConceptoComplementoIedu_cfdi33(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetAddendaText_cfdi33(handle, nullptr);
  Drovanexis_AddComplemento_cfdi33(handle, nullptr);
  Drovanexis_SetAddenda_cfdi33(handle, nullptr);
  Drovanexis_SetPagos10(handle);
  Drovanexis_Pagos10SetPago(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Pagos10AddPagoDoctoRelacionado(handle, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetNomina12(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr);
  Drovanexis_Nomina12SetEmisor(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12SetReceptor(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12SetPercepciones(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12AddPercepcion(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12SetDeducciones(handle, nullptr, nullptr);
  Drovanexis_Nomina12AddDeduccion(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12AddOtroPago(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr);
  Drovanexis_Nomina12AddIncapacidad(handle, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12SetSeparacionIndemnizacion(handle, nullptr, nullptr, nullptr, nullptr,
                                                nullptr);
  Drovanexis_Nomina12SetJubilacionPensionRetiro(handle, nullptr, nullptr, nullptr, nullptr,
                                                nullptr);
  Drovanexis_Nomina12AddSubContratacion(handle, nullptr, nullptr);
  Drovanexis_SetCartaPorte10(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddUbicacion(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10SetMercancias(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddMercancia(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddMercanciaCantidadTransporta(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10SetMercanciasAutotransporteFederal(handle, nullptr, nullptr, nullptr,
                                                            nullptr, nullptr, nullptr, nullptr,
                                                            nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10SetMercanciasTransporteMaritimo(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddMercanciasTransporteMaritimoContenedor(handle, nullptr, nullptr,
                                                                   nullptr);
  Drovanexis_CartaPorte10SetMercanciasTransporteAereo(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioDerechosDePaso(handle, nullptr, nullptr);
  Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarro(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarroContenedor(handle, nullptr, nullptr,
                                                                           nullptr);
  Drovanexis_CartaPorte10SetFiguraTransporte(handle, nullptr);
  Drovanexis_CartaPorte10AddFiguraTransporteOperadores(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddFiguraTransporteOperadoresOperador(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddFiguraTransportePropietario(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddFiguraTransporteArrendatario(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte10AddFiguraTransporteNotificado(handle, nullptr, nullptr, nullptr, nullptr,
                                                       nullptr, nullptr, nullptr, nullptr, nullptr,
                                                       nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetCartaPorte20(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddUbicacion(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr);
  Drovanexis_CartaPorte20SetMercancias(handle, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddMercancia(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr);
  Drovanexis_CartaPorte20AddMercanciaCantidadTransporta(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddMercanciaPedimentos(handle, nullptr);
  Drovanexis_CartaPorte20AddMercanciaGuiasIdentificacion(handle, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20SetMercanciasAutotransporte(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20SetMercanciasTransporteMaritimo(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddMercanciasTransporteMaritimoContenedor(handle, nullptr, nullptr,
                                                                   nullptr);
  Drovanexis_CartaPorte20SetMercanciasTransporteAereo(handle, nullptr, nullptr, nullptr, nullptr,
                                                      nullptr, nullptr, nullptr, nullptr, nullptr,
                                                      nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20SetMercanciasTransporteFerroviario(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioDerechosDePaso(handle, nullptr, nullptr);
  Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarro(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarroContenedor(handle, nullptr, nullptr,
                                                                           nullptr);
  Drovanexis_CartaPorte20AddFiguraTransporteTiposFigura(
      handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte(handle, nullptr);
  Drovanexis_CancelaCFDI(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
  Drovanexis_GetStatusCFDI(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_RecuperaAcuseCancelacion(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr);
  Drovanexis_GeneraCBB(nullptr, nullptr, 0, nullptr, 0, 0, 0);
  Drovanexis_CerTo64(nullptr);
  Drovanexis_ProcesaDocumentoSSL(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetTolviqueInfo(handle, nullptr, nullptr);
  Drovanexis_AddDonatarias11(handle, nullptr, nullptr, nullptr);
  Drovanexis_SetDllPath(handle, nullptr);
  Drovanexis_GetValueInFile(0, 0, nullptr);
  Drovanexis_ProcessFile(nullptr);
  Drovanexis_CheckFile(nullptr);
  Drovanexis_SetLogFile(handle, nullptr);
  Drovanexis_ShowValue(0, 0, nullptr);
  Drovanexis_FirmaSellaDocto(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Save(handle, nullptr);
  Drovanexis_Load(nullptr);
  Drovanexis_GetTimeWithDelay(0, 0);
  Drovanexis_GetValues(0, nullptr, 0);
  Drovanexis_CancelaUUID(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CerKeyMatch(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_ConsultaSaldos(nullptr, nullptr, 0, nullptr);
  Drovanexis_ConsultaEstadoCFDI(nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_FileTo64(nullptr);
  Drovanexis_SetComercioExterior11(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CCE11SetEmisor(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CCE11SetReceptor(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CCE11AddDestinatario(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CCE11AddPropietario(handle, nullptr, nullptr);
  Drovanexis_CCE11AddMercancia(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CCE11AddMercanciaDescripcionesEspecificas(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetServicioParcial10(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetINE11(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_AddEntidad(handle, nullptr, nullptr, nullptr);
  Drovanexis_AddEntidadContabilidad(handle, nullptr);
  Drovanexis_SetImpuestosLocalesInfo(handle, nullptr, nullptr);
  Drovanexis_AddImpuestoLocalRetenido(handle, nullptr, nullptr, nullptr);
  Drovanexis_AddImpuestoLocalTrasladado(handle, nullptr, nullptr, nullptr);
  Drovanexis_SetLeyendasFiscales10(handle, nullptr, nullptr, nullptr);
  Drovanexis_SetLeyendasFiscales10Full(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaDescarga(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaVerifica(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaEmitidoXML(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaEmitidoMetadata(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaRecibidoXML(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaRecibidoMetadata(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr);
}

TEST(EveryEntry, NullTextsAndZeroIntegersAreHarmless) {
  namespace fs = std::filesystem;
  // Some entries write their log to the working folder: keep it out of the build tree.
  const fs::path before = fs::current_path();
  const fs::path folder =
      fs::temp_directory_path() / ("drovanexis_nulls_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  fs::current_path(folder);

  const std::int32_t handle = Drovanexis_New(nullptr);
  ASSERT_GT(handle, 0);
  call_every_entry_with_nulls(handle);
  for (const std::int32_t other : {0, -7, handle + 1000}) call_every_entry_with_nulls(other);

  const Document* document = DocumentRegistry::instance().find(handle);
  ASSERT_NE(document, nullptr);
  const std::string xml = write_xml(document->root);
  EXPECT_NO_THROW(parse_xml(xml)) << xml;
  Drovanexis_Free(handle);
  EXPECT_EQ(DocumentRegistry::instance().find(handle), nullptr);

  fs::current_path(before);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace drovanexis

// The shared library as a program loads it: every entry is exported under its
// exact name, nothing of the C++ inside is, and a call with null texts for the
// parameters a caller left out is harmless.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

const std::string kLibrary = std::string(CFDI_BINARY_DIR) + "/bin/libdrovanexis.so";

constexpr const char* kEntries[] = {
    "Drovanexis_New",
    "Drovanexis_ProcesaDocumento",
    "Drovanexis_GetValue",
    "Drovanexis_Free",
    "Drovanexis_SetVelmoranetInfo",
    "Drovanexis_SetCompleteXML_cfdi33",
    "Drovanexis_SetComprobanteInfo_cfdi33",
    "Drovanexis_SetCfdiRelacionados_cfdi33",
    "Drovanexis_AddCfdiRelacionado_cfdi33",
    "Drovanexis_SetEmisorInfo_cfdi33",
    "Drovanexis_SetReceptorInfo_cfdi33",
    "Drovanexis_AddConcepto_cfdi33",
    "Drovanexis_AddConceptoTraslado_cfdi33",
    "Drovanexis_AddConceptoRetencion_cfdi33",
    "Drovanexis_SetImpuestosInfo_cfdi33",
    "Drovanexis_AddRetencion_cfdi33",
    "Drovanexis_AddTraslado_cfdi33",
    "Drovanexis_AddConceptoInformacionAduanera_cfdi33",
    "Drovanexis_AddConceptoCuentaPredial_cfdi33",
    "Drovanexis_AddConceptoParte_cfdi33",
    "Drovanexis_AddConceptoComplementoIedu_cfdi33",
    "Drovanexis_SetAddendaText_cfdi33",
    "Drovanexis_AddComplemento_cfdi33",
    "Drovanexis_SetAddenda_cfdi33",
    "Drovanexis_SetPagos10",
    "Drovanexis_Pagos10SetPago",
    "Drovanexis_Pagos10AddPagoDoctoRelacionado",
    "Drovanexis_SetNomina12",
    "Drovanexis_Nomina12SetEmisor",
    "Drovanexis_Nomina12SetReceptor",
    "Drovanexis_Nomina12SetPercepciones",
    "Drovanexis_Nomina12AddPercepcion",
    "Drovanexis_Nomina12SetDeducciones",
    "Drovanexis_Nomina12AddDeduccion",
    "Drovanexis_Nomina12AddOtroPago",
    "Drovanexis_Nomina12AddIncapacidad",
    "Drovanexis_Nomina12SetSeparacionIndemnizacion",
    "Drovanexis_Nomina12SetJubilacionPensionRetiro",
    "Drovanexis_Nomina12AddSubContratacion",
    "Drovanexis_SetCartaPorte10",
    "Drovanexis_CartaPorte10AddUbicacion",
    "Drovanexis_CartaPorte10SetMercancias",
    "Drovanexis_CartaPorte10AddMercancia",
    "Drovanexis_CartaPorte10AddMercanciaCantidadTransporta",
    "Drovanexis_CartaPorte10SetMercanciasAutotransporteFederal",
    "Drovanexis_CartaPorte10SetMercanciasTransporteMaritimo",
    "Drovanexis_CartaPorte10AddMercanciasTransporteMaritimoContenedor",
    "Drovanexis_CartaPorte10SetMercanciasTransporteAereo",
    "Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario",
    "Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioDerechosDePaso",
    "Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarro",
    "Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarroContenedor",
    "Drovanexis_CartaPorte10SetFiguraTransporte",
    "Drovanexis_CartaPorte10AddFiguraTransporteOperadores",
    "Drovanexis_CartaPorte10AddFiguraTransporteOperadoresOperador",
    "Drovanexis_CartaPorte10AddFiguraTransportePropietario",
    "Drovanexis_CartaPorte10AddFiguraTransporteArrendatario",
    "Drovanexis_CartaPorte10AddFiguraTransporteNotificado",
    "Drovanexis_SetCartaPorte20",
    "Drovanexis_CartaPorte20AddUbicacion",
    "Drovanexis_CartaPorte20SetMercancias",
    "Drovanexis_CartaPorte20AddMercancia",
    "Drovanexis_CartaPorte20AddMercanciaCantidadTransporta",
    "Drovanexis_CartaPorte20AddMercanciaPedimentos",
    "Drovanexis_CartaPorte20AddMercanciaGuiasIdentificacion",
    "Drovanexis_CartaPorte20SetMercanciasAutotransporte",
    "Drovanexis_CartaPorte20SetMercanciasTransporteMaritimo",
    "Drovanexis_CartaPorte20AddMercanciasTransporteMaritimoContenedor",
    "Drovanexis_CartaPorte20SetMercanciasTransporteAereo",
    "Drovanexis_CartaPorte20SetMercanciasTransporteFerroviario",
    "Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioDerechosDePaso",
    "Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarro",
    "Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarroContenedor",
    "Drovanexis_CartaPorte20AddFiguraTransporteTiposFigura",
    "Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte",
    "Drovanexis_CancelaCFDI",
    "Drovanexis_GetStatusCFDI",
    "Drovanexis_RecuperaAcuseCancelacion",
    "Drovanexis_GeneraCBB",
    "Drovanexis_CerTo64",
    "Drovanexis_ProcesaDocumentoSSL",
    "Drovanexis_SetTolviqueInfo",
    "Drovanexis_AddDonatarias11",
    "Drovanexis_SetDllPath",
    "Drovanexis_GetValueInFile",
    "Drovanexis_ProcessFile",
    "Drovanexis_CheckFile",
    "Drovanexis_SetLogFile",
    "Drovanexis_ShowValue",
    "Drovanexis_FirmaSellaDocto",
    "Drovanexis_Save",
    "Drovanexis_Load",
    "Drovanexis_GetTimeWithDelay",
    "Drovanexis_GetValues",
    "Drovanexis_CancelaUUID",
    "Drovanexis_CerKeyMatch",
    "Drovanexis_ConsultaSaldos",
    "Drovanexis_ConsultaEstadoCFDI",
    "Drovanexis_FileTo64",
    "Drovanexis_SetComercioExterior11",
    "Drovanexis_CCE11SetEmisor",
    "Drovanexis_CCE11SetReceptor",
    "Drovanexis_CCE11AddDestinatario",
    "Drovanexis_CCE11AddPropietario",
    "Drovanexis_CCE11AddMercancia",
    "Drovanexis_CCE11AddMercanciaDescripcionesEspecificas",
    "Drovanexis_SetServicioParcial10",
    "Drovanexis_SetINE11",
    "Drovanexis_AddEntidad",
    "Drovanexis_AddEntidadContabilidad",
    "Drovanexis_SetImpuestosLocalesInfo",
    "Drovanexis_AddImpuestoLocalRetenido",
    "Drovanexis_AddImpuestoLocalTrasladado",
    "Drovanexis_SetLeyendasFiscales10",
    "Drovanexis_SetLeyendasFiscales10Full",
    "Drovanexis_MasivaDescarga",
    "Drovanexis_MasivaVerifica",
    "Drovanexis_MasivaSolicitaEmitidoXML",
    "Drovanexis_MasivaSolicitaEmitidoMetadata",
    "Drovanexis_MasivaSolicitaRecibidoXML",
    "Drovanexis_MasivaSolicitaRecibidoMetadata",
};

class SharedLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr) dlclose(library_);
  }

  template <typename Function>
  Function* entry(const char* name) {
    return reinterpret_cast<Function*>(dlsym(library_, name));
  }

  void* library_ = nullptr;
};

TEST_F(SharedLibrary, ExportsEveryEntryUnderItsExactName) {
  for (const char* name : kEntries) EXPECT_NE(dlsym(library_, name), nullptr) << name;
  EXPECT_EQ(dlsym(library_, "drovanexis_new"), nullptr);
}

TEST_F(SharedLibrary, KeepsItsInternalsHidden) {
  EXPECT_EQ(dlsym(library_, "_ZN10drovanexis16DocumentRegistry8instanceEv"), nullptr);
  EXPECT_EQ(dlsym(library_, "_ZN10drovanexis9write_xmlB5cxx11ERKNS_7ElementE"), nullptr);
}

TEST_F(SharedLibrary, PerceptionCallWithSixNullTextsIsHarmless) {
  using New = std::int32_t(const char*);
  using Percepcion =
      void(std::int32_t, const char*, const char*, const char*, const char*, const char*,
           const char*, const char*, const char*, const char*, const char*, const char*);
  using GetValue = const char*(std::int32_t, std::int32_t);
  using Free = void(std::int32_t);
  auto* create = entry<New>("Drovanexis_New");
  auto* add_percepcion = entry<Percepcion>("Drovanexis_Nomina12AddPercepcion");
  auto* get_value = entry<GetValue>("Drovanexis_GetValue");
  auto* release = entry<Free>("Drovanexis_Free");
  ASSERT_TRUE(create && add_percepcion && get_value && release);

  const std::int32_t handle = create("3.3");
  EXPECT_GT(handle, 0);
  add_percepcion(handle, "001", "101", "SUELDO", "1652.00", "0.00", nullptr, nullptr, nullptr,
                 nullptr, nullptr, nullptr);
  const char* value = get_value(handle, 1);
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "");
  release(handle);
  release(handle);
}

}  // namespace

#include "api/api_support.h"
#include "drovanexis.h"

// Entries this library does not support. They exist so that every entry can be
// bound, take any arguments safely and store nothing.

void Drovanexis_AddConceptoComplementoIedu_cfdi33(int32_t, const char*, const char*, const char*,
                                                  const char*, const char*) {}

void Drovanexis_SetAddendaText_cfdi33(int32_t, const char*) {}

void Drovanexis_AddComplemento_cfdi33(int32_t, const char*) {}

void Drovanexis_SetAddenda_cfdi33(int32_t, const char*) {}

void Drovanexis_AddDonatarias11(int32_t, const char*, const char*, const char*) {}

void Drovanexis_SetComercioExterior11(int32_t, const char*, const char*, const char*, const char*,
                                      const char*, const char*, const char*, const char*,
                                      const char*, const char*, const char*) {}

void Drovanexis_CCE11SetEmisor(int32_t, const char*, const char*, const char*, const char*,
                               const char*, const char*, const char*, const char*, const char*,
                               const char*, const char*) {}

void Drovanexis_CCE11SetReceptor(int32_t, const char*, const char*, const char*, const char*,
                                 const char*, const char*, const char*, const char*, const char*,
                                 const char*, const char*) {}

void Drovanexis_CCE11AddDestinatario(int32_t, const char*, const char*, const char*, const char*,
                                     const char*, const char*, const char*, const char*,
                                     const char*, const char*, const char*, const char*) {}

void Drovanexis_CCE11AddPropietario(int32_t, const char*, const char*) {}

void Drovanexis_CCE11AddMercancia(int32_t, const char*, const char*, const char*, const char*,
                                  const char*, const char*, const char*, const char*, const char*,
                                  const char*) {}

void Drovanexis_CCE11AddMercanciaDescripcionesEspecificas(int32_t, const char*, const char*,
                                                          const char*, const char*) {}

void Drovanexis_SetServicioParcial10(int32_t, const char*, const char*, const char*, const char*,
                                     const char*, const char*, const char*, const char*,
                                     const char*, const char*) {}

void Drovanexis_SetINE11(int32_t, const char*, const char*, const char*, const char*, const char*,
                         const char*) {}

void Drovanexis_AddEntidad(int32_t, const char*, const char*, const char*) {}

void Drovanexis_AddEntidadContabilidad(int32_t, const char*) {}

void Drovanexis_SetImpuestosLocalesInfo(int32_t, const char*, const char*) {}

void Drovanexis_AddImpuestoLocalRetenido(int32_t, const char*, const char*, const char*) {}

void Drovanexis_AddImpuestoLocalTrasladado(int32_t, const char*, const char*, const char*) {}

void Drovanexis_SetLeyendasFiscales10(int32_t, const char*, const char*, const char*) {}

void Drovanexis_SetLeyendasFiscales10Full(int32_t, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*) {}

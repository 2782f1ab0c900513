#include "api/api_support.h"
#include "drovanexis.h"

// Entries this library does not support. They exist so that every entry can be
// bound, take any arguments safely, store nothing, and answer with the failure
// result of their kind: -1 for an integer, "" for a text.
using drovanexis::api::kNotSupported;

void Drovanexis_SetTolviqueInfo(int32_t, const char*, const char*) {}

void Drovanexis_SetDllPath(int32_t, const char*) {}

void Drovanexis_GetValueInFile(int32_t, int32_t, const char*) {}

void Drovanexis_ProcessFile(const char*) {}

int32_t Drovanexis_CheckFile(const char*) { return kNotSupported; }

void Drovanexis_SetLogFile(int32_t, const char*) {}

void Drovanexis_ShowValue(int32_t, int32_t, const char*) {}

int32_t Drovanexis_FirmaSellaDocto(int32_t, const char*, const char*, const char*, const char*) {
  return kNotSupported;
}

void Drovanexis_Save(int32_t, const char*) {}

int32_t Drovanexis_Load(const char*) { return kNotSupported; }

const char* Drovanexis_GetTimeWithDelay(int32_t, int32_t) { return ""; }

void Drovanexis_GetValues(int32_t, const char*, int32_t) {}

int32_t Drovanexis_CancelaUUID(const char*, const char*, const char*, const char*, const char*,
                               const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_CerKeyMatch(int32_t, const char*, const char*, const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_ConsultaSaldos(const char*, const char*, int32_t, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_ConsultaEstadoCFDI(const char*, const char*, const char*, const char*,
                                      const char*) {
  return kNotSupported;
}

const char* Drovanexis_FileTo64(const char*) { return ""; }

int32_t Drovanexis_MasivaDescarga(const char*, const char*, const char*, const char*, const char*,
                                  const char*, const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_MasivaVerifica(const char*, const char*, const char*, const char*, const char*,
                                  const char*, const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_MasivaSolicitaEmitidoXML(const char*, const char*, const char*, const char*,
                                            const char*, const char*, const char*, const char*,
                                            const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_MasivaSolicitaEmitidoMetadata(const char*, const char*, const char*, const char*,
                                                 const char*, const char*, const char*, const char*,
                                                 const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_MasivaSolicitaRecibidoXML(const char*, const char*, const char*, const char*,
                                             const char*, const char*, const char*, const char*,
                                             const char*, const char*) {
  return kNotSupported;
}

int32_t Drovanexis_MasivaSolicitaRecibidoMetadata(const char*, const char*, const char*,
                                                  const char*, const char*, const char*,
                                                  const char*, const char*, const char*,
                                                  const char*) {
  return kNotSupported;
}

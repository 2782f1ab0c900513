/* The C interface of the invoicing library (libdrovanexis.so, Drovanexis.dll).
 *
 * Conventions of every entry:
 * - Texts are zero-terminated Windows-1252; the library turns them into UTF-8 for the XML.
 *   A null pointer and "" both mean "absent": an optional attribute given so is left out.
 *   The one exception is the XML text of Drovanexis_SetCompleteXML_cfdi33, kept byte for byte
 *   because its own declaration names its encoding.
 * - A document entry takes the document handle first. A handle that is unknown, already freed
 *   or 0 is ignored by the building entries; processing with it fails.
 * - The parameters of a building entry carry, in order, the attributes of the SAT node the
 *   entry names; each parameter is named after its attribute. A parameter named
 *   `Node_Attribute` carries an attribute of a sub-node of that node (created only when at
 *   least one of its values is present). Where a node has more attributes than the common
 *   calls fill, the further positions carry the remaining attributes of the same SAT node and
 *   of its sub-nodes, in schema order.
 * - Entries whose name holds "Add" add one element per call, in call order. A call that
 *   describes a sub-element (a line's taxes, a payment's related document, a good's quantity
 *   transported, a figure's transport part) attaches to the element of its kind added last;
 *   with no such element it is ignored.
 * - Whatever order the calls come in, the document is written in the schemas' order.
 * - No entry lets an error escape: failures become the documented result values.
 *
 * Result values of Drovanexis_GetValue (all "" before processing):
 *   1 result code of the last processing ("0" on success)     10 FechaTimbrado
 *   2 description of the result ("" on success)               11 start of the CSD's validity
 *   3 NoCertificado of the issuer's CSD                        12 end of the CSD's validity
 *   4 SelloSAT of the stamp                                    13 the provider's operation number
 *   5 original string of the CFDI                              14 stamps left on the account
 *   6 NoCertificadoSAT of the stamp                            15 library version
 *   7 Sello of the CFDI                                        16 Fecha of the CFDI
 *   8 original string of the stamp                             17 the provider's warning, or ""
 *   9 UUID                                                     18 RFC and name of the provider
 */
#ifndef DROVANEXIS_H
#define DROVANEXIS_H

#include <stdint.h>

#if defined(_WIN32)
#define DROVANEXIS_API __declspec(dllexport)
#else
#define DROVANEXIS_API __attribute__((visibility("default")))
#endif

/* ---- Named values ------------------------------------------------------------------------- */

/* The indices of Drovanexis_GetValue. */
enum DrovanexisValue {
  DROVANEXIS_VALUE_RESULT = 1,         /* result code of the last processing ("0", "CFDI33118") */
  DROVANEXIS_VALUE_DESCRIPTION = 2,    /* description of the result */
  DROVANEXIS_VALUE_NO_CERTIFICADO = 3, /* NoCertificado of the issuer's CSD */
  DROVANEXIS_VALUE_SELLO_SAT = 4,      /* SelloSAT of the stamp */
  DROVANEXIS_VALUE_CADENA_CFDI = 5,    /* original string of the CFDI */
  DROVANEXIS_VALUE_NO_CERTIFICADO_SAT = 6, /* NoCertificadoSAT of the stamp */
  DROVANEXIS_VALUE_SELLO_CFD = 7,          /* Sello of the CFDI */
  DROVANEXIS_VALUE_CADENA_TFD = 8,         /* original string of the stamp */
  DROVANEXIS_VALUE_UUID = 9,
  DROVANEXIS_VALUE_FECHA_TIMBRADO = 10,
  DROVANEXIS_VALUE_CSD_VALID_FROM = 11,
  DROVANEXIS_VALUE_CSD_VALID_UNTIL = 12,
  DROVANEXIS_VALUE_OPERATION_NUMBER = 13,
  DROVANEXIS_VALUE_STAMPS_LEFT = 14,
  DROVANEXIS_VALUE_LIBRARY_VERSION = 15,
  DROVANEXIS_VALUE_FECHA = 16,
  DROVANEXIS_VALUE_PROVIDER_WARNING = 17,
  DROVANEXIS_VALUE_PROVIDER = 18
};

/* Results of Drovanexis_ProcesaDocumento (and the other entries that process a document).
 * Validation failures return the number of the SAT rule that failed (see the table of
 * processing result numbers at the end of this header); the others are the library's own. */
enum DrovanexisProcessingResult {
  DROVANEXIS_PROCESSED = 0,
  DROVANEXIS_ERROR_CREDENTIALS = 701,       /* unknown stamping account or wrong password */
  DROVANEXIS_ERROR_NO_STAMPS_LEFT = 702,    /* the account has no stamps left */
  DROVANEXIS_ERROR_STATE_UNAVAILABLE = 703, /* the provider's state file cannot be used */
  DROVANEXIS_ERROR_CERTIFICATE = 801,       /* the certificate file cannot be read */
  DROVANEXIS_ERROR_KEY = 802,               /* the key file cannot be read */
  DROVANEXIS_ERROR_KEY_PASSWORD = 803,      /* wrong key password */
  DROVANEXIS_ERROR_KEY_MISMATCH = 804,      /* the key is not the certificate's pair */
  DROVANEXIS_ERROR_OUTPUT = 805,            /* the output file cannot be written */
  DROVANEXIS_ERROR_NO_DOCUMENT = 806,       /* the handle names no document */
  DROVANEXIS_ERROR_INTERNAL = 899
};

/* Results of Drovanexis_CancelaCFDI. */
enum DrovanexisCancellationResult {
  DROVANEXIS_CANCEL_DONE = 0,             /* cancelled directly */
  DROVANEXIS_CANCEL_IN_PROCESS = 1,       /* needs the receiver's acceptance; request recorded */
  DROVANEXIS_CANCEL_NOT_CANCELLABLE = -1, /* not cancellable, or already cancelled */
  DROVANEXIS_CANCEL_NOT_FOUND = -2,
  DROVANEXIS_CANCEL_INTERNAL_ERROR = -3 /* CSD, key password, files, state file: see the log */
};

/* Results of Drovanexis_GetStatusCFDI. */
enum DrovanexisStatusResult {
  DROVANEXIS_STATUS_CANCELLABLE = 2,     /* in force and cancellable */
  DROVANEXIS_STATUS_NOT_CANCELLABLE = 1, /* in force and not cancellable */
  DROVANEXIS_STATUS_IN_PROCESS = 0,      /* cancellation in process */
  DROVANEXIS_STATUS_CANCELLED = -1,
  DROVANEXIS_STATUS_NOT_FOUND = -2,
  DROVANEXIS_STATUS_INTERNAL_ERROR = -3
};

/* Results of Drovanexis_RecuperaAcuseCancelacion. */
enum DrovanexisAcknowledgementResult {
  DROVANEXIS_ACK_OBTAINED = 1,
  DROVANEXIS_ACK_NONE = 0,
  DROVANEXIS_ACK_ERROR = -1
};

/* Results of Drovanexis_GeneraCBB. */
enum DrovanexisCbbResult {
  DROVANEXIS_CBB_WRITTEN = 0,
  DROVANEXIS_CBB_BAD_ARGUMENT = 1,
  DROVANEXIS_CBB_TEXT_TOO_LONG = 2, /* the text does not fit a QR code */
  DROVANEXIS_CBB_NOT_WRITTEN = 3
};

/* Results of Drovanexis_CerKeyMatch. */
enum DrovanexisPairResult {
  DROVANEXIS_PAIR_MATCHES = 1,              /* the key opens and is the certificate's pair */
  DROVANEXIS_PAIR_DIFFERS = 0,              /* the key opens but belongs to another certificate */
  DROVANEXIS_PAIR_CERTIFICATE_MISSING = -1, /* the certificate file does not exist */
  DROVANEXIS_PAIR_KEY_MISSING = -2,         /* the key file does not exist */
  DROVANEXIS_PAIR_WRONG_PASSWORD = -3,      /* the key does not open with the password */
  DROVANEXIS_PAIR_NOT_A_CERTIFICATE = -4,   /* the certificate file is not a certificate */
  DROVANEXIS_PAIR_NOT_A_KEY = -5            /* the key file is not an encrypted key */
};

/* Results of Drovanexis_CheckFile besides 0 (all holds) and the SAT's rule numbers. */
enum DrovanexisCheckResult {
  DROVANEXIS_CHECK_VALID = 0,
  DROVANEXIS_CHECK_MALFORMED = 301,         /* not well-formed XML, or not a CFDI 3.3 */
  DROVANEXIS_CHECK_SEAL_INVALID = 302,      /* the issuer's Sello does not verify */
  DROVANEXIS_CHECK_FILE_UNREADABLE = 901,   /* the file does not exist or cannot be read */
  DROVANEXIS_CHECK_STAMP_SEAL_INVALID = 902 /* the stamp's SelloSAT does not verify */
};

/* Results of Drovanexis_Load besides a new handle (positive). */
enum DrovanexisLoadResult {
  DROVANEXIS_LOAD_FILE_MISSING = -1, /* the file does not exist or cannot be read */
  DROVANEXIS_LOAD_DAMAGED = -2       /* not a document file, or a damaged or cut one */
};

/* Results of Drovanexis_ConsultaSaldos and of the bulk download entries. */
enum DrovanexisServiceResult {
  DROVANEXIS_SERVICE_DONE = 0,
  DROVANEXIS_SERVICE_BAD_ARGUMENT = -1,   /* a date, RFC or file name that cannot be used */
  DROVANEXIS_SERVICE_CREDENTIALS = -2,    /* account, certificate, key or password refused */
  DROVANEXIS_SERVICE_INTERNAL_ERROR = -3, /* state file, result or package file: see the log */
  DROVANEXIS_SERVICE_UNKNOWN_REQUEST = -4 /* no such request or package */
};

/* The states of a bulk download request that Drovanexis_MasivaVerifica returns. */
enum DrovanexisDownloadState {
  DROVANEXIS_DOWNLOAD_ACCEPTED = 1,
  DROVANEXIS_DOWNLOAD_IN_PROCESS = 2,
  DROVANEXIS_DOWNLOAD_FINISHED = 3, /* its packages can be downloaded */
  DROVANEXIS_DOWNLOAD_ERROR = 4,
  DROVANEXIS_DOWNLOAD_REJECTED = 5, /* nothing matched the request */
  DROVANEXIS_DOWNLOAD_EXPIRED = 6
};

#ifdef __cplusplus
extern "C" {
#endif

// ---- Documents: creation, processing, results, release -----------------------------------------

// Creates an empty CFDI document of the given version ("3.3"; null or "" also mean 3.3) and
// returns its handle, a positive number; 0 when no document could be created.
DROVANEXIS_API int32_t Drovanexis_New(const char* version);

// Builds, seals and stamps the document with the CSD certificate file, its private key file and
// the key password, and writes the stamped XML to output_file. Returns 0 on success; any other
// value on failure, with the reasons in "Drovanexis.log" (working folder).
// Limits of what processing reads. Each refusal is a non-zero result, with the code and a
// message naming the limit in the log; none of them spends a stamp.
//   External XML (Drovanexis_SetCompleteXML_cfdi33), result 301 "XML mal formado" with:
//     larger than 32 MiB                          "the document is larger than 32 MiB"
//     elements nested deeper than 100 levels      "elements nested deeper than 100 levels"
//     more than 256 attributes on one element,    "an element has more than 256 attributes
//       namespace declarations included             (namespace declarations included)"
//     more than 128 namespace declarations in     "more than 128 namespace declarations are
//       scope at one element                        in scope"
//     more than 1,000,000 elements (and so        "the document has more than 1000000
//       children of any one)                        elements"
//     an attribute value or the content of one    "the value of attribute "X" is longer than
//       element longer than 8 MiB                   8 MiB" / "the content of an element ..."
//     UTF-16, UCS-4 or EBCDIC text, or a declared encoding that is not UTF-8 or a
//       single-byte ASCII-compatible one (windows-1252, ISO-8859-n)
//   Certificate and key files: a name that is not a regular file (a folder, a FIFO, a
//     device) is refused at once, result 801 (certificate) or 802 (key); a key that asks
//     for more than 1,000,000 password-hash iterations is refused before any derivation,
//     result 802.
DROVANEXIS_API int32_t Drovanexis_ProcesaDocumento(int32_t handle, const char* certificate_file,
                                                   const char* key_file, const char* key_password,
                                                   const char* output_file);

// Returns result value `index` (1-18, see the table below) as Windows-1252 text owned by the
// library; it stays valid until the next call for the same document. Unknown handles and indices
// give "".
DROVANEXIS_API const char* Drovanexis_GetValue(int32_t handle, int32_t index);

// Releases the document and everything it holds; the handle is not valid afterwards. Unknown
// handles are ignored.
DROVANEXIS_API void Drovanexis_Free(int32_t handle);

// Stores the stamping-service user name and password in the document.
DROVANEXIS_API void Drovanexis_SetVelmoranetInfo(int32_t handle, const char* user,
                                                 const char* password);

// Makes the given text (a complete CFDI 3.3 XML) the document to process, instead of the built
// one.
DROVANEXIS_API void Drovanexis_SetCompleteXML_cfdi33(int32_t handle, const char* xml);

// Same as Drovanexis_ProcesaDocumento: the stamping provider runs inside the library, so there
// is no connection whose transport could be chosen.
DROVANEXIS_API int32_t Drovanexis_ProcesaDocumentoSSL(int32_t handle, const char* certificate_file,
                                                      const char* key_file,
                                                      const char* key_password,
                                                      const char* output_file);

// ---- CFDI 3.3 nodes ----------------------------------------------------------------------------

// cfdi:Comprobante. Fecha "%cb_date" is replaced by the current time of central Mexico when the
// document is processed. A Descuento of zero is left out for receipts of type T and P.
DROVANEXIS_API void Drovanexis_SetComprobanteInfo_cfdi33(
    int32_t handle, const char* Serie, const char* Folio, const char* Fecha, const char* FormaPago,
    const char* CondicionesDePago, const char* SubTotal, const char* Descuento, const char* Moneda,
    const char* TipoCambio, const char* Total, const char* TipoDeComprobante,
    const char* MetodoPago, const char* LugarExpedicion, const char* Confirmacion);

// cfdi:CfdiRelacionados.
DROVANEXIS_API void Drovanexis_SetCfdiRelacionados_cfdi33(int32_t handle, const char* TipoRelacion);

// Adds one cfdi:CfdiRelacionado to cfdi:CfdiRelacionados.
DROVANEXIS_API void Drovanexis_AddCfdiRelacionado_cfdi33(int32_t handle, const char* UUID);

// cfdi:Emisor.
DROVANEXIS_API void Drovanexis_SetEmisorInfo_cfdi33(int32_t handle, const char* Rfc,
                                                    const char* Nombre, const char* RegimenFiscal);

// cfdi:Receptor.
DROVANEXIS_API void Drovanexis_SetReceptorInfo_cfdi33(int32_t handle, const char* Rfc,
                                                      const char* Nombre,
                                                      const char* ResidenciaFiscal,
                                                      const char* NumRegIdTrib,
                                                      const char* UsoCFDI);

// Adds one cfdi:Concepto; the tax, customs, property, part calls that follow attach to it.
DROVANEXIS_API void Drovanexis_AddConcepto_cfdi33(int32_t handle, const char* ClaveProdServ,
                                                  const char* NoIdentificacion,
                                                  const char* Cantidad, const char* ClaveUnidad,
                                                  const char* Unidad, const char* Descripcion,
                                                  const char* ValorUnitario, const char* Importe,
                                                  const char* Descuento);

// Adds one Impuestos/Traslados/Traslado to the Concepto added last.
DROVANEXIS_API void Drovanexis_AddConceptoTraslado_cfdi33(int32_t handle, const char* Base,
                                                          const char* Impuesto,
                                                          const char* TipoFactor,
                                                          const char* TasaOCuota,
                                                          const char* Importe);

// Adds one Impuestos/Retenciones/Retencion to the Concepto added last.
DROVANEXIS_API void Drovanexis_AddConceptoRetencion_cfdi33(int32_t handle, const char* Base,
                                                           const char* Impuesto,
                                                           const char* TipoFactor,
                                                           const char* TasaOCuota,
                                                           const char* Importe);

// The document-level cfdi:Impuestos totals. Note the order: transferred total first, although the
// schema lists the withheld total first.
DROVANEXIS_API void Drovanexis_SetImpuestosInfo_cfdi33(int32_t handle,
                                                       const char* TotalImpuestosTrasladados,
                                                       const char* TotalImpuestosRetenidos);

// Adds one document-level Retenciones/Retencion.
DROVANEXIS_API void Drovanexis_AddRetencion_cfdi33(int32_t handle, const char* Impuesto,
                                                   const char* Importe);

// Adds one document-level Traslados/Traslado.
DROVANEXIS_API void Drovanexis_AddTraslado_cfdi33(int32_t handle, const char* Impuesto,
                                                  const char* TipoFactor, const char* TasaOCuota,
                                                  const char* Importe);

// Adds one cfdi:InformacionAduanera to the Concepto added last.
DROVANEXIS_API void Drovanexis_AddConceptoInformacionAduanera_cfdi33(int32_t handle,
                                                                     const char* NumeroPedimento);

// Sets the cfdi:CuentaPredial of the Concepto added last.
DROVANEXIS_API void Drovanexis_AddConceptoCuentaPredial_cfdi33(int32_t handle, const char* Numero);

// Adds one cfdi:Parte (with an optional InformacionAduanera) to the Concepto added last.
DROVANEXIS_API void Drovanexis_AddConceptoParte_cfdi33(
    int32_t handle, const char* ClaveProdServ, const char* NoIdentificacion, const char* Cantidad,
    const char* Unidad, const char* Descripcion, const char* ValorUnitario, const char* Importe,
    const char* InformacionAduanera_NumeroPedimento);

// ---- Pagos 1.0 complement ----------------------------------------------------------------------

// Adds the Pagos 1.0 complement (pago10:Pagos Version="1.0") to cfdi:Complemento.
DROVANEXIS_API void Drovanexis_SetPagos10(int32_t handle);

// Adds one pago10:Pago (each call adds a payment); the related-document calls that follow attach
// to it.
DROVANEXIS_API void Drovanexis_Pagos10SetPago(
    int32_t handle, const char* FechaPago, const char* FormaDePagoP, const char* MonedaP,
    const char* TipoCambioP, const char* Monto, const char* NumOperacion,
    const char* RfcEmisorCtaOrd, const char* NomBancoOrdExt, const char* CtaOrdenante,
    const char* RfcEmisorCtaBen, const char* CtaBeneficiario, const char* TipoCadPago,
    const char* CertPago, const char* CadPago, const char* SelloPago);

// Adds one pago10:DoctoRelacionado to the Pago added last.
DROVANEXIS_API void Drovanexis_Pagos10AddPagoDoctoRelacionado(
    int32_t handle, const char* IdDocumento, const char* Serie, const char* Folio,
    const char* MonedaDR, const char* TipoCambioDR, const char* MetodoDePagoDR,
    const char* NumParcialidad, const char* ImpSaldoAnt, const char* ImpPagado,
    const char* ImpSaldoInsoluto);

// ---- Nomina 1.2 complement ---------------------------------------------------------------------

// Adds the Nomina 1.2 complement (nomina12:Nomina Version="1.2").
DROVANEXIS_API void Drovanexis_SetNomina12(int32_t handle, const char* TipoNomina,
                                           const char* FechaPago, const char* FechaInicialPago,
                                           const char* FechaFinalPago, const char* NumDiasPagados,
                                           const char* TotalPercepciones,
                                           const char* TotalDeducciones,
                                           const char* TotalOtrosPagos);

// nomina12:Emisor; the last two positions fill its EntidadSNCF.
DROVANEXIS_API void Drovanexis_Nomina12SetEmisor(int32_t handle, const char* Curp,
                                                 const char* RegistroPatronal,
                                                 const char* RfcPatronOrigen,
                                                 const char* EntidadSNCF_OrigenRecurso,
                                                 const char* EntidadSNCF_MontoRecursoPropio);

// nomina12:Receptor (Antiguedad carries the attribute Antigüedad).
DROVANEXIS_API void Drovanexis_Nomina12SetReceptor(
    int32_t handle, const char* Curp, const char* NumSeguridadSocial,
    const char* FechaInicioRelLaboral, const char* Antiguedad, const char* TipoContrato,
    const char* Sindicalizado, const char* TipoJornada, const char* TipoRegimen,
    const char* NumEmpleado, const char* Departamento, const char* Puesto, const char* RiesgoPuesto,
    const char* PeriodicidadPago, const char* Banco, const char* CuentaBancaria,
    const char* SalarioBaseCotApor, const char* SalarioDiarioIntegrado, const char* ClaveEntFed);

// nomina12:Percepciones totals.
DROVANEXIS_API void Drovanexis_Nomina12SetPercepciones(int32_t handle, const char* TotalSueldos,
                                                       const char* TotalSeparacionIndemnizacion,
                                                       const char* TotalJubilacionPensionRetiro,
                                                       const char* TotalGravado,
                                                       const char* TotalExento);

// Adds one nomina12:Percepcion; positions 7-8 fill its AccionesOTitulos, positions 9-12 its
// HorasExtra (each left out when all its values are absent).
DROVANEXIS_API void Drovanexis_Nomina12AddPercepcion(
    int32_t handle, const char* TipoPercepcion, const char* Clave, const char* Concepto,
    const char* ImporteGravado, const char* ImporteExento,
    const char* AccionesOTitulos_ValorMercado, const char* AccionesOTitulos_PrecioAlOtorgarse,
    const char* HorasExtra_Dias, const char* HorasExtra_TipoHoras,
    const char* HorasExtra_HorasExtra, const char* HorasExtra_ImportePagado);

// nomina12:Deducciones totals.
DROVANEXIS_API void Drovanexis_Nomina12SetDeducciones(int32_t handle,
                                                      const char* TotalOtrasDeducciones,
                                                      const char* TotalImpuestosRetenidos);

// Adds one nomina12:Deduccion.
DROVANEXIS_API void Drovanexis_Nomina12AddDeduccion(int32_t handle, const char* TipoDeduccion,
                                                    const char* Clave, const char* Concepto,
                                                    const char* Importe);

// Adds one nomina12:OtroPago; positions 6-8 fill its CompensacionSaldosAFavor (Anio carries the
// attribute Año), position 9 its SubsidioAlEmpleo.
DROVANEXIS_API void Drovanexis_Nomina12AddOtroPago(
    int32_t handle, const char* TipoOtroPago, const char* Clave, const char* Concepto,
    const char* Importe, const char* CompensacionSaldosAFavor_SaldoAFavor,
    const char* CompensacionSaldosAFavor_Anio, const char* CompensacionSaldosAFavor_RemanenteSalFav,
    const char* SubsidioAlEmpleo_SubsidioCausado);

// Adds one nomina12:Incapacidad.
DROVANEXIS_API void Drovanexis_Nomina12AddIncapacidad(int32_t handle, const char* DiasIncapacidad,
                                                      const char* TipoIncapacidad,
                                                      const char* ImporteMonetario);

// nomina12:Percepciones/SeparacionIndemnizacion (NumAniosServicio carries NumAñosServicio).
DROVANEXIS_API void Drovanexis_Nomina12SetSeparacionIndemnizacion(int32_t handle,
                                                                  const char* TotalPagado,
                                                                  const char* NumAniosServicio,
                                                                  const char* UltimoSueldoMensOrd,
                                                                  const char* IngresoAcumulable,
                                                                  const char* IngresoNoAcumulable);

// nomina12:Percepciones/JubilacionPensionRetiro.
DROVANEXIS_API void Drovanexis_Nomina12SetJubilacionPensionRetiro(
    int32_t handle, const char* TotalUnaExhibicion, const char* TotalParcialidad,
    const char* MontoDiario, const char* IngresoAcumulable, const char* IngresoNoAcumulable);

// Adds one nomina12:SubContratacion to the nomina12:Receptor.
DROVANEXIS_API void Drovanexis_Nomina12AddSubContratacion(int32_t handle, const char* RfcLabora,
                                                          const char* PorcentajeTiempo);

// ---- Carta Porte 1.0 complement ----------------------------------------------------------------

// Adds the Carta Porte 1.0 complement (cartaporte:CartaPorte Version="1.0").
DROVANEXIS_API void Drovanexis_SetCartaPorte10(int32_t handle, const char* TranspInternac,
                                               const char* EntradaSalidaMerc,
                                               const char* ViaEntradaSalida,
                                               const char* TotalDistRec);

// Adds one cartaporte:Ubicacion with its Origen, Destino and Domicilio (each sub-node left out
// when all its values are absent).
DROVANEXIS_API void Drovanexis_CartaPorte10AddUbicacion(
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
    const char* Domicilio_CodigoPostal);

// cartaporte:Mercancias.
DROVANEXIS_API void Drovanexis_CartaPorte10SetMercancias(int32_t handle, const char* PesoBrutoTotal,
                                                         const char* UnidadPeso,
                                                         const char* PesoNetoTotal,
                                                         const char* NumTotalMercancias,
                                                         const char* CargoPorTasacion);

// Adds one cartaporte:Mercancia; positions 18-21 fill a CantidadTransporta, 22-26 its
// DetalleMercancia.
DROVANEXIS_API void Drovanexis_CartaPorte10AddMercancia(
    int32_t handle, const char* BienesTransp, const char* ClaveSTCC, const char* Descripcion,
    const char* Cantidad, const char* ClaveUnidad, const char* Unidad, const char* Dimensiones,
    const char* MaterialPeligroso, const char* CveMaterialPeligroso, const char* Embalaje,
    const char* DescripEmbalaje, const char* PesoEnKg, const char* ValorMercancia,
    const char* Moneda, const char* FraccionArancelaria, const char* UUIDComercioExt,
    const char* CantidadTransporta_Cantidad, const char* CantidadTransporta_IDOrigen,
    const char* CantidadTransporta_IDDestino, const char* CantidadTransporta_CvesTransporte,
    const char* DetalleMercancia_UnidadPeso, const char* DetalleMercancia_PesoBruto,
    const char* DetalleMercancia_PesoNeto, const char* DetalleMercancia_PesoTara,
    const char* DetalleMercancia_NumPiezas);

// Adds one cartaporte:CantidadTransporta to the Mercancia added last.
DROVANEXIS_API void Drovanexis_CartaPorte10AddMercanciaCantidadTransporta(
    int32_t handle, const char* Cantidad, const char* IDOrigen, const char* IDDestino,
    const char* CvesTransporte);

// cartaporte:AutotransporteFederal with its IdentificacionVehicular and up to two Remolque.
DROVANEXIS_API void Drovanexis_CartaPorte10SetMercanciasAutotransporteFederal(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* IdentificacionVehicular_ConfigVehicular,
    const char* IdentificacionVehicular_PlacaVM, const char* IdentificacionVehicular_AnioModeloVM,
    const char* Remolque_SubTipoRem, const char* Remolque_Placa, const char* Remolque2_SubTipoRem,
    const char* Remolque2_Placa);

// cartaporte:TransporteMaritimo; the last three positions fill its first Contenedor.
DROVANEXIS_API void Drovanexis_CartaPorte10SetMercanciasTransporteMaritimo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* TipoEmbarcacion, const char* Matricula,
    const char* NumeroOMI, const char* AnioEmbarcacion, const char* NombreEmbarc,
    const char* NacionalidadEmbarc, const char* UnidadesDeArqBruto, const char* TipoCarga,
    const char* NumCertITC, const char* Eslora, const char* Manga, const char* Calado,
    const char* LineaNaviera, const char* NombreAgenteNaviero, const char* NumAutorizacionNaviero,
    const char* NumViaje, const char* NumConocEmbarc, const char* Contenedor_MatriculaContenedor,
    const char* Contenedor_TipoContenedor, const char* Contenedor_NumPrecinto);

// Adds one Contenedor to the TransporteMaritimo.
DROVANEXIS_API void Drovanexis_CartaPorte10AddMercanciasTransporteMaritimoContenedor(
    int32_t handle, const char* MatriculaContenedor, const char* TipoContenedor,
    const char* NumPrecinto);

// cartaporte:TransporteAereo.
DROVANEXIS_API void Drovanexis_CartaPorte10SetMercanciasTransporteAereo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* MatriculaAeronave,
    const char* NombreAseg, const char* NumPolizaSeguro, const char* NumeroGuia,
    const char* LugarContrato, const char* RFCTransportista, const char* CodigoTransportista,
    const char* NumRegIdTribTranspor, const char* ResidenciaFiscalTranspor,
    const char* NombreTransportista, const char* RFCEmbarcador, const char* NumRegIdTribEmbarc,
    const char* ResidenciaFiscalEmbarc, const char* NombreEmbarcador);

// cartaporte:TransporteFerroviario with a first DerechosDePaso, Carro and Contenedor of that
// Carro. (The entry name is spelled this way.)
DROVANEXIS_API void Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario(
    int32_t handle, const char* TipoDeServicio, const char* NombreAseg, const char* NumPolizaSeguro,
    const char* Concesionario, const char* DerechosDePaso_TipoDerechoDePaso,
    const char* DerechosDePaso_KilometrajePagado, const char* Carro_TipoCarro,
    const char* Carro_MatriculaCarro, const char* Carro_GuiaCarro,
    const char* Carro_ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia);

// Adds one DerechosDePaso to the TransporteFerroviario.
DROVANEXIS_API void Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioDerechosDePaso(
    int32_t handle, const char* TipoDerechoDePaso, const char* KilometrajePagado);

// Adds one Carro (with an optional Contenedor) to the TransporteFerroviario.
DROVANEXIS_API void Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarro(
    int32_t handle, const char* TipoCarro, const char* MatriculaCarro, const char* GuiaCarro,
    const char* ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia);

// Adds one Contenedor to the Carro added last.
DROVANEXIS_API void Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarroContenedor(
    int32_t handle, const char* TipoContenedor, const char* PesoContenedorVacio,
    const char* PesoNetoMercancia);

// cartaporte:FiguraTransporte.
DROVANEXIS_API void Drovanexis_CartaPorte10SetFiguraTransporte(int32_t handle,
                                                               const char* CveTransporte);

// Adds one cartaporte:Operadores group holding one Operador (with its Domicilio).
DROVANEXIS_API void Drovanexis_CartaPorte10AddFiguraTransporteOperadores(
    int32_t handle, const char* RFCOperador, const char* NumLicencia, const char* NombreOperador,
    const char* NumRegIdTribOperador, const char* ResidenciaFiscalOperador,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal);

// Adds one more Operador to the Operadores group added last (a new group when there is none).
DROVANEXIS_API void Drovanexis_CartaPorte10AddFiguraTransporteOperadoresOperador(
    int32_t handle, const char* RFCOperador, const char* NumLicencia, const char* NombreOperador,
    const char* NumRegIdTribOperador, const char* ResidenciaFiscalOperador,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal);

// Adds one cartaporte:Propietario with its Domicilio.
DROVANEXIS_API void Drovanexis_CartaPorte10AddFiguraTransportePropietario(
    int32_t handle, const char* RFCPropietario, const char* NombrePropietario,
    const char* NumRegIdTribPropietario, const char* ResidenciaFiscalPropietario,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal);

// Adds one cartaporte:Arrendatario with its Domicilio.
DROVANEXIS_API void Drovanexis_CartaPorte10AddFiguraTransporteArrendatario(
    int32_t handle, const char* RFCArrendatario, const char* NombreArrendatario,
    const char* NumRegIdTribArrendatario, const char* ResidenciaFiscalArrendatario,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal);

// Adds one cartaporte:Notificado with its Domicilio.
DROVANEXIS_API void Drovanexis_CartaPorte10AddFiguraTransporteNotificado(
    int32_t handle, const char* RFCNotificado, const char* NombreNotificado,
    const char* NumRegIdTribNotificado, const char* ResidenciaFiscalNotificado,
    const char* Domicilio_Calle, const char* Domicilio_NumeroExterior,
    const char* Domicilio_NumeroInterior, const char* Domicilio_Colonia,
    const char* Domicilio_Localidad, const char* Domicilio_Referencia,
    const char* Domicilio_Municipio, const char* Domicilio_Estado, const char* Domicilio_Pais,
    const char* Domicilio_CodigoPostal);

// ---- Carta Porte 2.0 complement ----------------------------------------------------------------

// Adds the Carta Porte 2.0 complement (cartaporte20:CartaPorte Version="2.0").
DROVANEXIS_API void Drovanexis_SetCartaPorte20(int32_t handle, const char* TranspInternac,
                                               const char* EntradaSalidaMerc,
                                               const char* PaisOrigenDestino,
                                               const char* ViaEntradaSalida,
                                               const char* TotalDistRec);

// Adds one cartaporte20:Ubicacion with its Domicilio.
DROVANEXIS_API void Drovanexis_CartaPorte20AddUbicacion(
    int32_t handle, const char* TipoUbicacion, const char* IDUbicacion,
    const char* RFCRemitenteDestinatario, const char* NombreRemitenteDestinatario,
    const char* NumRegIdTrib, const char* ResidenciaFiscal, const char* NumEstacion,
    const char* NombreEstacion, const char* NavegacionTrafico, const char* FechaHoraSalidaLlegada,
    const char* TipoEstacion, const char* DistanciaRecorrida, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal);

// cartaporte20:Mercancias.
DROVANEXIS_API void Drovanexis_CartaPorte20SetMercancias(int32_t handle, const char* PesoBrutoTotal,
                                                         const char* UnidadPeso,
                                                         const char* PesoNetoTotal,
                                                         const char* NumTotalMercancias,
                                                         const char* CargoPorTasacion);

// Adds one cartaporte20:Mercancia; positions 18-22 fill its DetalleMercancia.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercancia(
    int32_t handle, const char* BienesTransp, const char* ClaveSTCC, const char* Descripcion,
    const char* Cantidad, const char* ClaveUnidad, const char* Unidad, const char* Dimensiones,
    const char* MaterialPeligroso, const char* CveMaterialPeligroso, const char* Embalaje,
    const char* DescripEmbalaje, const char* PesoEnKg, const char* ValorMercancia,
    const char* Moneda, const char* FraccionArancelaria, const char* UUIDComercioExt,
    const char* DetalleMercancia_UnidadPesoMerc, const char* DetalleMercancia_PesoBruto,
    const char* DetalleMercancia_PesoNeto, const char* DetalleMercancia_PesoTara,
    const char* DetalleMercancia_NumPiezas);

// Adds one cartaporte20:CantidadTransporta to the Mercancia added last.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciaCantidadTransporta(
    int32_t handle, const char* Cantidad, const char* IDOrigen, const char* IDDestino,
    const char* CvesTransporte);

// Adds one cartaporte20:Pedimentos to the Mercancia added last.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciaPedimentos(int32_t handle,
                                                                  const char* Pedimento);

// Adds one cartaporte20:GuiasIdentificacion to the Mercancia added last.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciaGuiasIdentificacion(
    int32_t handle, const char* NumeroGuiaIdentificacion, const char* DescripGuiaIdentificacion,
    const char* PesoGuiaIdentificacion);

// cartaporte20:Autotransporte with its IdentificacionVehicular, Seguros and up to two Remolque.
DROVANEXIS_API void Drovanexis_CartaPorte20SetMercanciasAutotransporte(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT,
    const char* IdentificacionVehicular_ConfigVehicular,
    const char* IdentificacionVehicular_PlacaVM, const char* IdentificacionVehicular_AnioModeloVM,
    const char* Seguros_AseguraRespCivil, const char* Seguros_PolizaRespCivil,
    const char* Seguros_AseguraMedAmbiente, const char* Seguros_PolizaMedAmbiente,
    const char* Seguros_AseguraCarga, const char* Seguros_PolizaCarga,
    const char* Seguros_PrimaSeguro, const char* Remolque_SubTipoRem, const char* Remolque_Placa,
    const char* Remolque2_SubTipoRem, const char* Remolque2_Placa);

// cartaporte20:TransporteMaritimo; the last three positions fill its first Contenedor.
DROVANEXIS_API void Drovanexis_CartaPorte20SetMercanciasTransporteMaritimo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* TipoEmbarcacion, const char* Matricula,
    const char* NumeroOMI, const char* AnioEmbarcacion, const char* NombreEmbarc,
    const char* NacionalidadEmbarc, const char* UnidadesDeArqBruto, const char* TipoCarga,
    const char* NumCertITC, const char* Eslora, const char* Manga, const char* Calado,
    const char* LineaNaviera, const char* NombreAgenteNaviero, const char* NumAutorizacionNaviero,
    const char* NumViaje, const char* NumConocEmbarc, const char* Contenedor_MatriculaContenedor,
    const char* Contenedor_TipoContenedor, const char* Contenedor_NumPrecinto);

// Adds one Contenedor to the TransporteMaritimo.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciasTransporteMaritimoContenedor(
    int32_t handle, const char* MatriculaContenedor, const char* TipoContenedor,
    const char* NumPrecinto);

// cartaporte20:TransporteAereo.
DROVANEXIS_API void Drovanexis_CartaPorte20SetMercanciasTransporteAereo(
    int32_t handle, const char* PermSCT, const char* NumPermisoSCT, const char* MatriculaAeronave,
    const char* NombreAseg, const char* NumPolizaSeguro, const char* NumeroGuia,
    const char* LugarContrato, const char* CodigoTransportista, const char* RFCEmbarcador,
    const char* NumRegIdTribEmbarc, const char* ResidenciaFiscalEmbarc,
    const char* NombreEmbarcador);

// cartaporte20:TransporteFerroviario with a first DerechosDePaso, Carro and Contenedor of that
// Carro.
DROVANEXIS_API void Drovanexis_CartaPorte20SetMercanciasTransporteFerroviario(
    int32_t handle, const char* TipoDeServicio, const char* TipoDeTrafico, const char* NombreAseg,
    const char* NumPolizaSeguro, const char* DerechosDePaso_TipoDerechoDePaso,
    const char* DerechosDePaso_KilometrajePagado, const char* Carro_TipoCarro,
    const char* Carro_MatriculaCarro, const char* Carro_GuiaCarro,
    const char* Carro_ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia);

// Adds one DerechosDePaso to the TransporteFerroviario.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioDerechosDePaso(
    int32_t handle, const char* TipoDerechoDePaso, const char* KilometrajePagado);

// Adds one Carro (with an optional Contenedor) to the TransporteFerroviario.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarro(
    int32_t handle, const char* TipoCarro, const char* MatriculaCarro, const char* GuiaCarro,
    const char* ToneladasNetasCarro, const char* Contenedor_TipoContenedor,
    const char* Contenedor_PesoContenedorVacio, const char* Contenedor_PesoNetoMercancia);

// Adds one Contenedor to the Carro added last.
DROVANEXIS_API void Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarroContenedor(
    int32_t handle, const char* TipoContenedor, const char* PesoContenedorVacio,
    const char* PesoNetoMercancia);

// Adds one cartaporte20:TiposFigura with a first PartesTransporte and its Domicilio; the
// transport-part calls that follow attach to it.
DROVANEXIS_API void Drovanexis_CartaPorte20AddFiguraTransporteTiposFigura(
    int32_t handle, const char* TipoFigura, const char* RFCFigura, const char* NumLicencia,
    const char* NombreFigura, const char* NumRegIdTribFigura, const char* ResidenciaFiscalFigura,
    const char* PartesTransporte_ParteTransporte, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal);

// Adds one cartaporte20:PartesTransporte to the TiposFigura added last.
DROVANEXIS_API void Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte(
    int32_t handle, const char* ParteTransporte);

// ---- Impuestos locales 1.0 complement ----------------------------------------------------------

// Sets the totals of the local taxes complement (implocal:ImpuestosLocales version="1.0").
DROVANEXIS_API void Drovanexis_SetImpuestosLocalesInfo(int32_t handle,
                                                       const char* TotaldeRetenciones,
                                                       const char* TotaldeTraslados);

// Adds one implocal:RetencionesLocales.
DROVANEXIS_API void Drovanexis_AddImpuestoLocalRetenido(int32_t handle, const char* ImpLocRetenido,
                                                        const char* TasadeRetencion,
                                                        const char* Importe);

// Adds one implocal:TrasladosLocales.
DROVANEXIS_API void Drovanexis_AddImpuestoLocalTrasladado(int32_t handle,
                                                          const char* ImpLocTrasladado,
                                                          const char* TasadeTraslado,
                                                          const char* Importe);

// ---- Comercio Exterior 1.1 complement ----------------------------------------------------------

// Sets the foreign trade complement (cce11:ComercioExterior Version="1.1").
DROVANEXIS_API void Drovanexis_SetComercioExterior11(
    int32_t handle, const char* MotivoTraslado, const char* TipoOperacion,
    const char* ClaveDePedimento, const char* CertificadoOrigen, const char* NumCertificadoOrigen,
    const char* NumeroExportadorConfiable, const char* Incoterm, const char* Subdivision,
    const char* Observaciones, const char* TipoCambioUSD, const char* TotalUSD);

// Sets cce11:Emisor; positions 2-11 fill its Domicilio (left out when all are absent).
DROVANEXIS_API void Drovanexis_CCE11SetEmisor(
    int32_t handle, const char* Curp, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal);

// Sets cce11:Receptor; positions 2-11 fill its Domicilio.
DROVANEXIS_API void Drovanexis_CCE11SetReceptor(
    int32_t handle, const char* NumRegIdTrib, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal);

// Adds one cce11:Destinatario with one Domicilio (positions 3-12).
DROVANEXIS_API void Drovanexis_CCE11AddDestinatario(
    int32_t handle, const char* NumRegIdTrib, const char* Nombre, const char* Domicilio_Calle,
    const char* Domicilio_NumeroExterior, const char* Domicilio_NumeroInterior,
    const char* Domicilio_Colonia, const char* Domicilio_Localidad,
    const char* Domicilio_Referencia, const char* Domicilio_Municipio, const char* Domicilio_Estado,
    const char* Domicilio_Pais, const char* Domicilio_CodigoPostal);

// Adds one cce11:Propietario.
DROVANEXIS_API void Drovanexis_CCE11AddPropietario(int32_t handle, const char* NumRegIdTrib,
                                                   const char* ResidenciaFiscal);

// Adds one cce11:Mercancia to cce11:Mercancias; positions 7-10 fill a first
// DescripcionesEspecificas. The calls that follow attach to it.
DROVANEXIS_API void Drovanexis_CCE11AddMercancia(
    int32_t handle, const char* NoIdentificacion, const char* FraccionArancelaria,
    const char* CantidadAduana, const char* UnidadAduana, const char* ValorUnitarioAduana,
    const char* ValorDolares, const char* DescripcionesEspecificas_Marca,
    const char* DescripcionesEspecificas_Modelo, const char* DescripcionesEspecificas_SubModelo,
    const char* DescripcionesEspecificas_NumeroSerie);

// Adds one cce11:DescripcionesEspecificas to the Mercancia added last.
DROVANEXIS_API void Drovanexis_CCE11AddMercanciaDescripcionesEspecificas(int32_t handle,
                                                                         const char* Marca,
                                                                         const char* Modelo,
                                                                         const char* SubModelo,
                                                                         const char* NumeroSerie);

// ---- INE 1.1 complement ------------------------------------------------------------------------

// Sets the electoral complement (ine:INE Version="1.1"); positions 4-5 fill a first Entidad,
// position 6 a first Contabilidad of it.
DROVANEXIS_API void Drovanexis_SetINE11(int32_t handle, const char* TipoProceso,
                                        const char* TipoComite, const char* IdContabilidad,
                                        const char* Entidad_ClaveEntidad,
                                        const char* Entidad_Ambito,
                                        const char* Entidad_Contabilidad_IdContabilidad);

// Adds one ine:Entidad (position 3 fills a first Contabilidad); the next call attaches to it.
DROVANEXIS_API void Drovanexis_AddEntidad(int32_t handle, const char* ClaveEntidad,
                                          const char* Ambito,
                                          const char* Contabilidad_IdContabilidad);

// Adds one ine:Contabilidad to the Entidad added last.
DROVANEXIS_API void Drovanexis_AddEntidadContabilidad(int32_t handle, const char* IdContabilidad);

// ---- Leyendas fiscales 1.0 complement ----------------------------------------------------------

// Adds one leyendasFisc:Leyenda (each call adds one) to leyendasFisc:LeyendasFiscales
// version="1.0".
DROVANEXIS_API void Drovanexis_SetLeyendasFiscales10(int32_t handle, const char* disposicionFiscal,
                                                     const char* norma, const char* textoLeyenda);

// Adds up to ten leyendasFisc:Leyenda, one per triple of positions; the first triple whose
// three texts are all empty ends the list.
DROVANEXIS_API void Drovanexis_SetLeyendasFiscales10Full(
    int32_t handle, const char* disposicionFiscal1, const char* norma1, const char* textoLeyenda1,
    const char* disposicionFiscal2, const char* norma2, const char* textoLeyenda2,
    const char* disposicionFiscal3, const char* norma3, const char* textoLeyenda3,
    const char* disposicionFiscal4, const char* norma4, const char* textoLeyenda4,
    const char* disposicionFiscal5, const char* norma5, const char* textoLeyenda5,
    const char* disposicionFiscal6, const char* norma6, const char* textoLeyenda6,
    const char* disposicionFiscal7, const char* norma7, const char* textoLeyenda7,
    const char* disposicionFiscal8, const char* norma8, const char* textoLeyenda8,
    const char* disposicionFiscal9, const char* norma9, const char* textoLeyenda9,
    const char* disposicionFiscal10, const char* norma10, const char* textoLeyenda10);

// ---- Donatarias 1.1 complement -----------------------------------------------------------------

// Sets the donations complement (donat:Donatarias version="1.1"); a second call replaces the
// values, as a document carries one.
DROVANEXIS_API void Drovanexis_AddDonatarias11(int32_t handle, const char* noAutorizacion,
                                               const char* fechaAutorizacion, const char* leyenda);

// ---- IEDU 1.0 concept complement ---------------------------------------------------------------

// Sets iedu:instEducativas version="1.0" in cfdi:ComplementoConcepto of the Concepto added last
// (ignored when there is none).
DROVANEXIS_API void Drovanexis_AddConceptoComplementoIedu_cfdi33(
    int32_t handle, const char* nombreAlumno, const char* CURP, const char* nivelEducativo,
    const char* autRVOE, const char* rfcPago);

// ---- Servicios parciales de construccion 1.0 complement ----------------------------------------

// Sets servicioparcial:parcialesconstruccion Version="1.0"; positions 2-10 fill its Inmueble.
DROVANEXIS_API void Drovanexis_SetServicioParcial10(
    int32_t handle, const char* NumPerLicoAut, const char* Inmueble_Calle,
    const char* Inmueble_NoExterior, const char* Inmueble_NoInterior, const char* Inmueble_Colonia,
    const char* Inmueble_Localidad, const char* Inmueble_Referencia, const char* Inmueble_Municipio,
    const char* Inmueble_Estado, const char* Inmueble_CodigoPostal);

// ---- Any complement, and the Addenda, as text --------------------------------------------------

// Adds one complete complement element given as XML text (UTF-8 or as its declaration says) to
// cfdi:Complemento, after the complements built by the other entries, in call order. The text is
// kept as given and checked when the document is processed: it must be well formed, without a
// DOCTYPE, its root in a namespace that is neither the CFDI's nor the stamp's, and not a concept
// complement; otherwise processing fails with 301 and the log names this entry. The original
// string counts it as the SAT's stylesheet for its namespace does. An empty text adds nothing.
DROVANEXIS_API void Drovanexis_AddComplemento_cfdi33(int32_t handle, const char* xml);

// Makes one XML element the content of cfdi:Addenda, replacing an addenda set before; checked
// when processing as above (well formed, no DOCTYPE). The original string leaves the Addenda
// out. An empty text removes the addenda.
DROVANEXIS_API void Drovanexis_SetAddenda_cfdi33(int32_t handle, const char* xml);

// Makes a plain text (Windows-1252, escaped when written) the content of cfdi:Addenda, replacing
// an addenda set before. An empty text removes the addenda.
DROVANEXIS_API void Drovanexis_SetAddendaText_cfdi33(int32_t handle, const char* text);

// ---- Services ----------------------------------------------------------------------------------

// Asks the stamping service to cancel a CFDI; writes result_file (the answer as key=value
// lines) and log_file. 0 cancelled directly, 1 cancellable only with the receiver's acceptance
// (request recorded, in process), -1 not cancellable (or already cancelled), -2 not found,
// -3 internal error (CSD, key password, files, state file; the log says which). The request
// is made with Motivo 02 (issued with errors, not replaced), which result_file names.
DROVANEXIS_API int32_t Drovanexis_CancelaCFDI(const char* user, const char* rfc_emisor,
                                              const char* rfc_receptor, const char* total,
                                              const char* uuid, const char* certificate_file,
                                              const char* key_file, const char* key_password,
                                              const char* result_file, const char* log_file);

// Asks the stamping service for the status of a CFDI; writes result_file (CodigoEstatus, Estado,
// EsCancelable, EstatusCancelacion, ValidacionEFOS, ...) and log_file. 2 in
// force and cancellable, 1 in force and not cancellable, 0 cancellation in process, -1
// previously cancelled, -2 not found, -3 internal error.
DROVANEXIS_API int32_t Drovanexis_GetStatusCFDI(const char* user, const char* rfc_emisor,
                                                const char* rfc_receptor, const char* total,
                                                const char* uuid, const char* result_file,
                                                const char* log_file);

// Retrieves the acknowledgement of a cancellation; writes result_file, acuse_file (the signed
// Acuse, only when there is one) and log_file. 1 obtained, 0 none available, -1 error.
// `reserved` is not used.
DROVANEXIS_API int32_t Drovanexis_RecuperaAcuseCancelacion(
    const char* user, const char* rfc, const char* uuid, const char* result_file,
    const char* acuse_file, const char* log_file, const char* reserved);

// Writes the CBB (QR code) of a query text as a monochrome Windows bitmap and appends what it
// did to log_file. mode: 0 encodes the text as given, 1 the SAT's verification address
// followed by the text as its query. level: error correction, 0 L, 1 M, 2 Q, 3 H. module_pixels:
// pixels per module (1-64). margin_modules: modules of quiet zone around the code (0-64). 0 on
// success; 1 bad argument, 2 text that does not fit a QR code, 3 bitmap not written.
DROVANEXIS_API int32_t Drovanexis_GeneraCBB(const char* query, const char* bitmap_file,
                                            int32_t mode, const char* log_file, int32_t level,
                                            int32_t module_pixels, int32_t margin_modules);

// Returns the Base64 text of a certificate file ("" when it cannot be read).
DROVANEXIS_API const char* Drovanexis_CerTo64(const char* certificate_file);

// ---- Further services ---------------------------------------------------------------------------
//
// Conventions of these entries, as of the services above: file names are Windows-style (".\",
// backslashes and any letter case accepted) and Windows-1252; passwords are Windows-1252 and are
// never written to a log. Every file the library writes is replaced whole (written beside it,
// then renamed), never left half-written; an output file that names the provider's state file
// ("Drovanexis.db" and its journal files), the library's log "Drovanexis.log" or one of the same
// call's input files is refused. Entries without a log-file parameter write their log to
// "Drovanexis.log" in the working folder (or to the document's log file named with
// Drovanexis_SetLogFile, for the entries that take a handle), replaced by each call.
// Result files hold "key=value" lines, Windows-1252, CR LF.

// Builds and seals the document as Drovanexis_ProcesaDocumento does, checks it with the provider's
// rules, and writes the sealed XML (without a stamp; no stamp is taken) to output_file. Values 1,
// 3, 5, 7, 11, 12, 15 and 16 are filled. The document keeps its tree, so it can be processed
// afterwards. 0 on success, else the codes of Drovanexis_ProcesaDocumento.
DROVANEXIS_API int32_t Drovanexis_FirmaSellaDocto(int32_t handle, const char* certificate_file,
                                                  const char* key_file, const char* key_password,
                                                  const char* output_file);

// Whether the key file opens with the password and is the pair of the certificate file: one of
// DrovanexisPairResult, with the reason in the log. `handle` only chooses the log file (any value
// may be given); `reserved` is not used.
DROVANEXIS_API int32_t Drovanexis_CerKeyMatch(int32_t handle, const char* certificate_file,
                                              const char* key_file, const char* key_password,
                                              const char* reserved);

// Returns the Base64 text (one line, padded) of any file's bytes; "" and a log line when it cannot
// be read. The text stays valid until the calling thread's next call. Drovanexis_CerTo64 is the
// same for certificates.
DROVANEXIS_API const char* Drovanexis_FileTo64(const char* file);

// Checks a CFDI 3.3 file as its receiver would: well-formed XML, the schema and the provider's
// rules (as of the stamp's FechaTimbrado for a stamped file), the issuer's Sello over the original
// string and, when stamped, the stamp's SelloSAT with the provider certificates the sandbox
// knows. Returns 0 when all hold, else the first failure's number (DrovanexisCheckResult, a SAT
// rule number such as 33118, or 703 when the provider's state file cannot be used). Every finding
// is a log line.
DROVANEXIS_API int32_t Drovanexis_CheckFile(const char* file);

// Stamps a sealed CFDI 3.3 file with the account of the last Drovanexis_SetVelmoranetInfo call
// (of any document), after the provider's rules, and writes the stamped document beside it as
// "<name>_timbrado.xml" ("factura.xml" gives "factura_timbrado.xml"). The result number and the
// reasons go to the log, as processing reports them.
DROVANEXIS_API void Drovanexis_ProcessFile(const char* file);

// Writes the document in progress to `file`: every value the entries stored (the tree, the external
// XML, both accounts, the log file name) and the result values. The file is text: the line
// "DrovanexisDocumento 1", then one "name=Base64 of the value" line each (user, password,
// second_user, second_password, log_file, value.1 to value.18, complete_xml when set, tree: the
// tree as XML), closed by "end=". It holds the passwords: keep it as private as a key file. An
// unknown handle or a file that cannot be written leaves a log line and nothing written.
DROVANEXIS_API void Drovanexis_Save(int32_t handle, const char* file);

// Reads a file of Drovanexis_Save into a new document and returns its handle, or
// DROVANEXIS_LOAD_FILE_MISSING, or DROVANEXIS_LOAD_DAMAGED for a file that is foreign, damaged or
// cut short (the log says which).
DROVANEXIS_API int32_t Drovanexis_Load(const char* file);

// Writes the account's balance to result_file: Usuario, TimbresDisponibles, TimbresUtilizados,
// Resultado (and Error on failure). `option` is not used. DROVANEXIS_SERVICE_DONE, or
// DROVANEXIS_SERVICE_CREDENTIALS for an unknown user or a wrong password,
// DROVANEXIS_SERVICE_INTERNAL_ERROR when the state file cannot be used,
// DROVANEXIS_SERVICE_BAD_ARGUMENT for a result file that cannot be used.
DROVANEXIS_API int32_t Drovanexis_ConsultaSaldos(const char* user, const char* password,
                                                 int32_t option, const char* result_file);

// The SAT's public status query (no account needed) by issuer RFC, receiver RFC, total and UUID:
// the same answer, result file and results as Drovanexis_GetStatusCFDI (DrovanexisStatusResult).
DROVANEXIS_API int32_t Drovanexis_ConsultaEstadoCFDI(const char* rfc_emisor,
                                                     const char* rfc_receptor, const char* total,
                                                     const char* uuid, const char* result_file);

// Cancels one UUID of the issuer directly, without naming its receiver and total (the ledger's
// are used): the same checks, answers, result file, results and Motivo (02) as
// Drovanexis_CancelaCFDI (DrovanexisCancellationResult).
DROVANEXIS_API int32_t Drovanexis_CancelaUUID(const char* user, const char* rfc_emisor,
                                              const char* uuid, const char* certificate_file,
                                              const char* key_file, const char* key_password,
                                              const char* result_file);

// Writes every result value (1-18) of the document to `file`, one "index=value" line each
// (Windows-1252, CR LF). `reserved` is not used.
DROVANEXIS_API void Drovanexis_GetValues(int32_t handle, const char* file, int32_t reserved);

// Writes one result value to `file` as one "index=value" line. An unknown index writes nothing and
// leaves a log line.
DROVANEXIS_API void Drovanexis_GetValueInFile(int32_t handle, int32_t index, const char* file);

// As Drovanexis_GetValueInFile: this platform has no window to show the value in, so it is written
// to the file named by the third parameter.
DROVANEXIS_API void Drovanexis_ShowValue(int32_t handle, int32_t index, const char* file);

// The current time of central Mexico shifted by `seconds` (negative: earlier), in the CFDI's form
// "yyyy-mm-ddThh:mm:ss". `handle` is not used. The text stays valid until the calling thread's
// next call.
DROVANEXIS_API const char* Drovanexis_GetTimeWithDelay(int32_t handle, int32_t seconds);

// Names the log file of this document's calls (processing, sealing, CerKeyMatch, Save, values);
// "" restores "Drovanexis.log".
DROVANEXIS_API void Drovanexis_SetLogFile(int32_t handle, const char* file);

// Names the folder where the library looks for its state file "Drovanexis.db" (and the files
// beside it), for the whole process; "" restores the working folder. The environment variable
// DROVANEXIS_SANDBOX_DB, when set, still names the state file itself. A folder that does not exist
// is refused with a log line. The handle must name a document.
DROVANEXIS_API void Drovanexis_SetDllPath(int32_t handle, const char* path);

// Stores a second stamping account in the document: processing uses it when the account of
// Drovanexis_SetVelmoranetInfo is refused for its credentials (701) or its balance (702); any
// other refusal stands.
DROVANEXIS_API void Drovanexis_SetTolviqueInfo(int32_t handle, const char* user,
                                               const char* password);

// ---- Bulk download -----------------------------------------------------------------------------
//
// The SAT's flow: a request for an RFC's documents over a period, its verification, and the
// download of its packages. The requester signs in with their e.firma (or CSD): the certificate
// file, its key file and password; the certificate's RFC must be `rfc`. Results are
// DrovanexisServiceResult (MasivaVerifica: a DrovanexisDownloadState when it succeeds). Requests
// are kept in the provider's state file. result_file gets Resultado, CodEstatus and Mensaje, plus
// what each entry names; log_file ("" for "Drovanexis.log") gets the steps.

// Files a request for the CFDI the RFC issued (Emitido) or received (Recibido) with an issue date
// from `from` to `to` (yyyy-mm-dd, whole days, or yyyy-mm-ddThh:mm:ss), optionally only those with
// one counterpart RFC (the receiver for Emitido, the issuer for Recibido; "" for all), as XML
// files or as metadata. result_file gets IdSolicitud. `reserved` is not used.
DROVANEXIS_API int32_t Drovanexis_MasivaSolicitaEmitidoXML(
    const char* certificate_file, const char* key_file, const char* key_password, const char* rfc,
    const char* from, const char* to, const char* receiver_rfc, const char* result_file,
    const char* log_file, const char* reserved);
DROVANEXIS_API int32_t Drovanexis_MasivaSolicitaEmitidoMetadata(
    const char* certificate_file, const char* key_file, const char* key_password, const char* rfc,
    const char* from, const char* to, const char* receiver_rfc, const char* result_file,
    const char* log_file, const char* reserved);
DROVANEXIS_API int32_t Drovanexis_MasivaSolicitaRecibidoXML(
    const char* certificate_file, const char* key_file, const char* key_password, const char* rfc,
    const char* from, const char* to, const char* issuer_rfc, const char* result_file,
    const char* log_file, const char* reserved);
DROVANEXIS_API int32_t Drovanexis_MasivaSolicitaRecibidoMetadata(
    const char* certificate_file, const char* key_file, const char* key_password, const char* rfc,
    const char* from, const char* to, const char* issuer_rfc, const char* result_file,
    const char* log_file, const char* reserved);

// Reports a request's state: returns DROVANEXIS_DOWNLOAD_FINISHED (result_file: NumeroCFDIs,
// NumeroPaquetes, Paquete1...) or DROVANEXIS_DOWNLOAD_REJECTED when nothing matched (CodEstatus
// 5004); DROVANEXIS_SERVICE_UNKNOWN_REQUEST for an id the provider never gave.
// `reserved` is not used.
DROVANEXIS_API int32_t Drovanexis_MasivaVerifica(const char* certificate_file, const char* key_file,
                                                 const char* key_password, const char* rfc,
                                                 const char* request_id, const char* result_file,
                                                 const char* log_file, const char* reserved);

// Writes one package to package_file: a ZIP holding each stamped CFDI as "<UUID>.xml", exactly as
// stamped, or for a metadata request one "<package id>.txt" of CR LF lines "Uuid~RfcEmisor~
// NombreEmisor~RfcReceptor~NombreReceptor~RfcPac~FechaEmision~FechaCertificacionSat~Monto~
// EfectoComprobante~Estatus~FechaCancelacion" under that header (Estatus 1 in force, 0
// cancelled). result_file gets IdPaquete, NumeroCFDIs, Archivo. DROVANEXIS_SERVICE_UNKNOWN_REQUEST
// for a package that does not exist.
DROVANEXIS_API int32_t Drovanexis_MasivaDescarga(const char* certificate_file, const char* key_file,
                                                 const char* key_password, const char* rfc,
                                                 const char* package_id, const char* package_file,
                                                 const char* result_file, const char* log_file);

/*
 * Result numbers of processing.
 *
 * Processing returns 0 on success and otherwise the number of the first
 * failure's code; every code has its own number:
 *
 *   301 ... 899     the provider's codes (301 to 308, 401) and this
 *                   library's processing codes (7xx account, 8xx files and
 *                   keys) keep their number
 *   CFDI33nnn       33nnn             e.g. CFDI33118 -> 33118
 *   CFDI40nnn       40nnn             e.g. CFDI40119 -> 40119
 *   CRPnnn          50000 + nnn       Pagos 1.0, e.g. CRP206 -> 50206
 *   NOMnnn          60000 + nnn       Nomina 1.2, e.g. NOM147 -> 60147
 *   CPnnn           70000 + nnn       Carta Porte, e.g. CP149 -> 70149
 *   CCEnnn          80000 + nnn       Comercio Exterior 1.1, e.g. CCE162 -> 80162
 *   SBX-Cnn         90100 + nn        this library's codes for rules that
 *   SBX-ILnn        90200 + nn        have no SAT code: CFDI 3.3, local
 *   SBX-CPnn        90300 + nn        taxes, Carta Porte, Nomina, Pagos
 *   SBX-NOMnn       90400 + nn
 *   SBX-CRPnn       90500 + nn
 *   any other code  1
 *
 * Drovanexis_GetValue(handle, 1) gives the full code text of that failure
 * ("CFDI33118", "NOM147", "301"; "0" on success) and value 2 the code with
 * its description. Every failure is one line of Drovanexis.log with its
 * code, node and attribute.
 *
 * Some SAT codes are never returned: where the schema already refuses the
 * fault (a fixed version, a required attribute, a catalogue the schema
 * enumerates) the result is 301; codes that need facts outside the document
 * (the list of registered RFCs, the day's exchange rates, confirmation keys,
 * foreign tax registries) or catalogues the library does not carry
 * (c_ClaveProdServ, c_CodigoPostal, c_Colonia) are not checked; codes of
 * CFDI 3.2 documents do not apply. Each rule group's source names them.
 */
#ifdef __cplusplus
}
#endif

#endif /* DROVANEXIS_H */

#pragma once

#include "document/document.h"
#include "document/tree_building.h"

namespace drovanexis {

// One builder per building entry of the C interface (named in the comment).
// Each stores its values (UTF-8, "" = absent) into the document in schema
// order; calls that describe a sub-element attach to the latest element of
// their kind and are ignored when there is none.

// CFDI 3.3 nodes
// Drovanexis_SetComprobanteInfo_cfdi33
void set_comprobante(Document& document, const Values& values);
// Drovanexis_SetCfdiRelacionados_cfdi33
void set_cfdi_relacionados(Document& document, const Values& values);
// Drovanexis_AddCfdiRelacionado_cfdi33
void add_cfdi_relacionado(Document& document, const Values& values);
// Drovanexis_SetEmisorInfo_cfdi33
void set_emisor(Document& document, const Values& values);
// Drovanexis_SetReceptorInfo_cfdi33
void set_receptor(Document& document, const Values& values);
// Drovanexis_AddConcepto_cfdi33
void add_concepto(Document& document, const Values& values);
// Drovanexis_AddConceptoTraslado_cfdi33
void add_concepto_traslado(Document& document, const Values& values);
// Drovanexis_AddConceptoRetencion_cfdi33
void add_concepto_retencion(Document& document, const Values& values);
// Drovanexis_SetImpuestosInfo_cfdi33
void set_impuestos(Document& document, const Values& values);
// Drovanexis_AddRetencion_cfdi33
void add_retencion(Document& document, const Values& values);
// Drovanexis_AddTraslado_cfdi33
void add_traslado(Document& document, const Values& values);
// Drovanexis_AddConceptoInformacionAduanera_cfdi33
void add_concepto_informacion_aduanera(Document& document, const Values& values);
// Drovanexis_AddConceptoCuentaPredial_cfdi33
void add_concepto_cuenta_predial(Document& document, const Values& values);
// Drovanexis_AddConceptoParte_cfdi33
void add_concepto_parte(Document& document, const Values& values);

// Pagos 1.0 complement
// Drovanexis_SetPagos10
void set_pagos10(Document& document, const Values& values);
// Drovanexis_Pagos10SetPago
void add_pago(Document& document, const Values& values);
// Drovanexis_Pagos10AddPagoDoctoRelacionado
void add_pago_docto_relacionado(Document& document, const Values& values);

// Nomina 1.2 complement
// Drovanexis_SetNomina12
void set_nomina12(Document& document, const Values& values);
// Drovanexis_Nomina12SetEmisor
void set_nomina12_emisor(Document& document, const Values& values);
// Drovanexis_Nomina12SetReceptor
void set_nomina12_receptor(Document& document, const Values& values);
// Drovanexis_Nomina12SetPercepciones
void set_nomina12_percepciones(Document& document, const Values& values);
// Drovanexis_Nomina12AddPercepcion
void add_nomina12_percepcion(Document& document, const Values& values);
// Drovanexis_Nomina12SetDeducciones
void set_nomina12_deducciones(Document& document, const Values& values);
// Drovanexis_Nomina12AddDeduccion
void add_nomina12_deduccion(Document& document, const Values& values);
// Drovanexis_Nomina12AddOtroPago
void add_nomina12_otro_pago(Document& document, const Values& values);
// Drovanexis_Nomina12AddIncapacidad
void add_nomina12_incapacidad(Document& document, const Values& values);
// Drovanexis_Nomina12SetSeparacionIndemnizacion
void set_nomina12_separacion_indemnizacion(Document& document, const Values& values);
// Drovanexis_Nomina12SetJubilacionPensionRetiro
void set_nomina12_jubilacion_pension_retiro(Document& document, const Values& values);
// Drovanexis_Nomina12AddSubContratacion
void add_nomina12_subcontratacion(Document& document, const Values& values);

// Carta Porte 1.0 complement
// Drovanexis_SetCartaPorte10
void set_cartaporte10(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddUbicacion
void add_cartaporte10_ubicacion(Document& document, const Values& values);
// Drovanexis_CartaPorte10SetMercancias
void set_cartaporte10_mercancias(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddMercancia
void add_cartaporte10_mercancia(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddMercanciaCantidadTransporta
void add_cartaporte10_cantidad_transporta(Document& document, const Values& values);
// Drovanexis_CartaPorte10SetMercanciasAutotransporteFederal
void set_cartaporte10_autotransporte_federal(Document& document, const Values& values);
// Drovanexis_CartaPorte10SetMercanciasTransporteMaritimo
void set_cartaporte10_transporte_maritimo(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddMercanciasTransporteMaritimoContenedor
void add_cartaporte10_maritimo_contenedor(Document& document, const Values& values);
// Drovanexis_CartaPorte10SetMercanciasTransporteAereo
void set_cartaporte10_transporte_aereo(Document& document, const Values& values);
// Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario
void set_cartaporte10_transporte_ferroviario(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioDerechosDePaso
void add_cartaporte10_ferroviario_derechos_de_paso(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarro
void add_cartaporte10_ferroviario_carro(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarroContenedor
void add_cartaporte10_ferroviario_carro_contenedor(Document& document, const Values& values);
// Drovanexis_CartaPorte10SetFiguraTransporte
void set_cartaporte10_figura_transporte(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddFiguraTransporteOperadores
void add_cartaporte10_operadores(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddFiguraTransporteOperadoresOperador
void add_cartaporte10_operador(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddFiguraTransportePropietario
void add_cartaporte10_propietario(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddFiguraTransporteArrendatario
void add_cartaporte10_arrendatario(Document& document, const Values& values);
// Drovanexis_CartaPorte10AddFiguraTransporteNotificado
void add_cartaporte10_notificado(Document& document, const Values& values);

// Carta Porte 2.0 complement
// Drovanexis_SetCartaPorte20
void set_cartaporte20(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddUbicacion
void add_cartaporte20_ubicacion(Document& document, const Values& values);
// Drovanexis_CartaPorte20SetMercancias
void set_cartaporte20_mercancias(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercancia
void add_cartaporte20_mercancia(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciaCantidadTransporta
void add_cartaporte20_cantidad_transporta(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciaPedimentos
void add_cartaporte20_pedimentos(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciaGuiasIdentificacion
void add_cartaporte20_guias_identificacion(Document& document, const Values& values);
// Drovanexis_CartaPorte20SetMercanciasAutotransporte
void set_cartaporte20_autotransporte(Document& document, const Values& values);
// Drovanexis_CartaPorte20SetMercanciasTransporteMaritimo
void set_cartaporte20_transporte_maritimo(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciasTransporteMaritimoContenedor
void add_cartaporte20_maritimo_contenedor(Document& document, const Values& values);
// Drovanexis_CartaPorte20SetMercanciasTransporteAereo
void set_cartaporte20_transporte_aereo(Document& document, const Values& values);
// Drovanexis_CartaPorte20SetMercanciasTransporteFerroviario
void set_cartaporte20_transporte_ferroviario(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioDerechosDePaso
void add_cartaporte20_ferroviario_derechos_de_paso(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarro
void add_cartaporte20_ferroviario_carro(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddMercanciasTransporteFerroviarioCarroContenedor
void add_cartaporte20_ferroviario_carro_contenedor(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddFiguraTransporteTiposFigura
void add_cartaporte20_tipos_figura(Document& document, const Values& values);
// Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte
void add_cartaporte20_partes_transporte(Document& document, const Values& values);

}  // namespace drovanexis

#include "sandbox/stamp.h"

#include <stdexcept>

#include "cadena/cadena.h"
#include "crypto/signature.h"

namespace drovanexis::sandbox {

namespace {

constexpr const char* kTfdNamespace = "http://www.sat.gob.mx/TimbreFiscalDigital";
constexpr const char* kTfdSchemaLocation =
    "http://www.sat.gob.mx/TimbreFiscalDigital "
    "http://www.sat.gob.mx/sitio_internet/cfd/TimbreFiscalDigital/TimbreFiscalDigitalv11.xsd";

// cfdi:Complemento comes after every child but cfdi:Addenda.
Element& complemento_of(Element& comprobante) {
  if (Element* existing = comprobante.child("cfdi:Complemento")) return *existing;
  const auto& children = comprobante.children();
  std::size_t position = children.size();
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i]->name() == "cfdi:Addenda") {
      position = i;
      break;
    }
  }
  return comprobante.insert_child(position, "cfdi:Complemento");
}

Element make_timbre(const StampFields& fields) {
  Element timbre("tfd:TimbreFiscalDigital");
  timbre.set_attribute("xmlns:tfd", kTfdNamespace);
  timbre.set_attribute("xsi:schemaLocation", kTfdSchemaLocation);
  timbre.set_attribute("Version", "1.1");
  timbre.set_attribute("UUID", fields.uuid);
  timbre.set_attribute("FechaTimbrado", fields.fecha_timbrado);
  timbre.set_attribute("RfcProvCertif", fields.rfc_prov_certif);
  timbre.set_attribute("SelloCFD", fields.sello_cfd);
  timbre.set_attribute("NoCertificadoSAT", fields.no_certificado_sat);
  return timbre;
}

void copy_into(Element& target, const Element& source) {
  for (const auto& attribute : source.attributes()) {
    target.set_attribute(attribute.name, attribute.value);
  }
}

}  // namespace

StampFields add_stamp(Element& comprobante, const ProviderSigner& provider, std::string uuid,
                      std::string fecha_timbrado) {
  const std::string* sello = comprobante.attribute("Sello");
  if (sello == nullptr || sello->empty()) {
    throw std::invalid_argument("the document carries no Sello to stamp");
  }
  StampFields fields;
  fields.uuid = std::move(uuid);
  fields.fecha_timbrado = std::move(fecha_timbrado);
  fields.rfc_prov_certif = provider.rfc;
  fields.sello_cfd = *sello;
  fields.no_certificado_sat = provider.certificate.number();

  Element timbre = make_timbre(fields);
  fields.original_string = cadena_tfd11(timbre);
  fields.sello_sat = sign_sha256_base64(provider.key, fields.original_string);
  timbre.set_attribute("SelloSAT", fields.sello_sat);

  Element& complemento = complemento_of(comprobante);
  copy_into(complemento.add_child("tfd:TimbreFiscalDigital"), timbre);
  return fields;
}

void remove_stamp(Element& comprobante) {
  Element* complemento = comprobante.child("cfdi:Complemento");
  if (complemento == nullptr) return;
  const auto& children = complemento->children();
  if (!children.empty() && children.back()->name() == "tfd:TimbreFiscalDigital") {
    complemento->remove_child(*children.back());
  }
  if (complemento->children().empty()) comprobante.remove_child(*complemento);
}

}  // namespace drovanexis::sandbox

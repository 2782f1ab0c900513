#include "tools/pdf/verification_query.h"

namespace pdf {

namespace {

std::string attribute(const drovanexis::Element* element, std::string_view name) {
  const std::string* value = element ? element->attribute(name) : nullptr;
  return value ? *value : std::string();
}

}  // namespace

const drovanexis::Element* stamp_of(const drovanexis::Element& comprobante) {
  const drovanexis::Element* complemento = comprobante.child("cfdi:Complemento");
  return complemento ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
}

std::string verification_query(const drovanexis::Element& comprobante) {
  const drovanexis::Element* stamp = stamp_of(comprobante);
  if (stamp == nullptr) return {};
  const std::string sello = attribute(&comprobante, "Sello");
  return "?id=" + attribute(stamp, "UUID") +
         "&re=" + attribute(comprobante.child("cfdi:Emisor"), "Rfc") +
         "&rr=" + attribute(comprobante.child("cfdi:Receptor"), "Rfc") +
         "&tt=" + attribute(&comprobante, "Total") +
         "&fe=" + sello.substr(sello.size() > 8 ? sello.size() - 8 : 0);
}

}  // namespace pdf

#include "document/cfdi_version.h"

#include <optional>

namespace drovanexis {
namespace {

constexpr std::string_view kCfd33 = "http://www.sat.gob.mx/cfd/3";
constexpr std::string_view kCfd40 = "http://www.sat.gob.mx/cfd/4";

std::optional<CfdiVersion> version_of_uri(std::string_view uri) {
  if (uri == kCfd33) return CfdiVersion::k33;
  if (uri == kCfd40) return CfdiVersion::k40;
  return std::nullopt;
}

std::optional<CfdiVersion> version_of_text(std::string_view text) {
  if (text == "3.3") return CfdiVersion::k33;
  if (text == "4.0") return CfdiVersion::k40;
  return std::nullopt;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string_view version_text(CfdiVersion version) {
  return version == CfdiVersion::k40 ? "4.0" : "3.3";
}

std::string_view cfdi_namespace(CfdiVersion version) {
  return version == CfdiVersion::k40 ? kCfd40 : kCfd33;
}

CfdiVersion cfdi_version(const Element& comprobante) {
  if (comprobante.name() != "cfdi:Comprobante") {
    throw CfdiVersionError("the root element is " + quoted(comprobante.name()) +
                           ", not a CFDI's cfdi:Comprobante");
  }
  const std::string* version_attribute = comprobante.attribute("Version");
  if (version_attribute == nullptr) {
    throw CfdiVersionError(
        "cfdi:Comprobante has no Version attribute; expected \"3.3\" or \"4.0\"");
  }
  const auto by_version = version_of_text(*version_attribute);
  if (!by_version) {
    throw CfdiVersionError("unknown CFDI version " + quoted(*version_attribute) +
                           "; the versions read are \"3.3\" and \"4.0\"");
  }
  const std::string* uri = comprobante.attribute("xmlns:cfdi");
  if (uri == nullptr) return *by_version;  // a built tree
  const auto by_namespace = version_of_uri(*uri);
  if (by_namespace && *by_namespace != *by_version) {
    throw CfdiVersionError("cfdi:Comprobante is in the namespace " + *uri + " of CFDI " +
                           std::string(version_text(*by_namespace)) + " but its Version is " +
                           quoted(*version_attribute) + "; a CFDI " +
                           std::string(version_text(*by_version)) + " is in the namespace " +
                           std::string(cfdi_namespace(*by_version)));
  }
  if (!by_namespace) {
    throw CfdiVersionError("cfdi:Comprobante is in the namespace " + *uri +
                           ", which is not a CFDI namespace");
  }
  return *by_version;
}

}  // namespace drovanexis

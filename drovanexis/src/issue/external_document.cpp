#include "issue/external_document.h"

#include "document/cfdi_version.h"
#include "issue/processing_failure.h"
#include "xml/xml_reader.h"

namespace drovanexis::issue {

namespace {

constexpr const char* kRoot = "cfdi:Comprobante";

[[noreturn]] void reject(const char* code, std::string node, std::string explanation) {
  throw ProcessingFailure(code, std::move(node), "", std::move(explanation));
}

bool is_blank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

Element read_external_document(std::string_view text) {
  if (is_blank(text)) {
    reject("301", "", "XML mal formado: el XML externo está vacío.");
  }
  Element root("");
  try {
    root = parse_xml(text);
  } catch (const XmlParseError& error) {
    reject("301", "",
           "XML mal formado: el XML externo no es un documento XML válido (línea " +
               std::to_string(error.line()) + ", columna " + std::to_string(error.column()) + ": " +
               error.reason() + ").");
  }
  CfdiVersion version = CfdiVersion::k33;
  try {
    version = cfdi_version(root);
  } catch (const CfdiVersionError& error) {
    reject("301", root.name(),
           "XML mal formado: el XML externo no es un CFDI que se pueda leer (" +
               std::string(error.what()) + ").");
  }
  // Sealing and stamping follow the rules of CFDI 3.3 only; a 4.0 document
  // is refused here rather than sealed or judged by the rules of the other
  // version.
  if (version != CfdiVersion::k33) {
    reject("301", root.name(),
           "El XML externo es un CFDI 4.0; esta versión de la biblioteca sella y timbra "
           "solamente CFDI 3.3.");
  }
  const Element* complemento = root.child("cfdi:Complemento");
  if (complemento != nullptr && complemento->child("tfd:TimbreFiscalDigital") != nullptr) {
    const std::string* uuid = complemento->child("tfd:TimbreFiscalDigital")->attribute("UUID");
    reject("307", std::string(kRoot) + "/cfdi:Complemento/tfd:TimbreFiscalDigital",
           "El CFDI contiene un timbre previo (UUID " + (uuid ? *uuid : std::string("?")) + ").");
  }
  return root;
}

}  // namespace drovanexis::issue

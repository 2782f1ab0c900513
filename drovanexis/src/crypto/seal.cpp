#include "crypto/seal.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cadena/cadena.h"
#include "crypto/base64.h"
#include "crypto/crypto_error.h"
#include "crypto/signature.h"
#include "document/cfdi_version.h"

namespace drovanexis {

namespace {

// An attribute's value before sealing changed it, to put back on failure.
struct SavedAttribute {
  SavedAttribute(const Element& element, std::string_view attribute_name) : name(attribute_name) {
    if (const std::string* current = element.attribute(name)) value = *current;
  }
  void restore(Element& element) const {
    if (value) {
      element.set_attribute(name, *value);
    } else {
      element.remove_attribute(name);
    }
  }
  std::string_view name;
  std::optional<std::string> value;
};

}  // namespace

void seal(Element& comprobante, const Certificate& certificate, const PrivateKey& key) {
  key.require_match(certificate);
  const std::string number = certificate.number();
  if (number.empty()) {
    throw CryptoError(CryptoErrorCode::kNotSatNumber,
                      "certificate \"" + certificate.source() +
                          "\" has a serial that is not a SAT certificate number");
  }
  const SavedAttribute saved_number(comprobante, "NoCertificado");
  const SavedAttribute saved_certificate(comprobante, "Certificado");
  comprobante.set_attribute("NoCertificado", number);
  comprobante.set_attribute("Certificado", certificate.base64());
  try {
    comprobante.set_attribute("Sello", sign_sha256_base64(key, cadena_cfdi(comprobante)));
  } catch (...) {
    saved_number.restore(comprobante);
    saved_certificate.restore(comprobante);
    throw;
  }
}

bool seal_verifies(const Element& comprobante) {
  const std::string* sello = comprobante.attribute("Sello");
  const std::string* certificado = comprobante.attribute("Certificado");
  if (sello == nullptr || certificado == nullptr) return false;
  const auto der = base64_decode(*certificado);
  if (!der) return false;
  try {
    const Certificate certificate = Certificate::from_bytes(*der, "Certificado");
    return verify_sha256_base64(certificate, cadena_cfdi(comprobante), *sello);
  } catch (const CryptoError&) {
    return false;
  } catch (const CfdiVersionError&) {
    // Not a CFDI of a version read here: there is no original string for
    // the seal to verify over.
    return false;
  } catch (const std::invalid_argument&) {
    return false;  // no original string for this root
  }
}

}  // namespace drovanexis

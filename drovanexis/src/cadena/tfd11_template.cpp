#include "cadena/template.h"

// Original string of the stamp (TimbreFiscalDigital 1.1).
namespace drovanexis::cadena {
namespace {

constexpr Step kTimbreSteps[] = {
    req("Version"), req("UUID"),     req("FechaTimbrado"),    req("RfcProvCertif"),
    opt("Leyenda"), req("SelloCFD"), req("NoCertificadoSAT"),
};
constexpr Template kTimbre{kTimbreSteps};

}  // namespace

const Template& tfd11_template() { return kTimbre; }

}  // namespace drovanexis::cadena

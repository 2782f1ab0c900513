#include "cadena/template.h"

// Donation receipts complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kDonatariasSteps[] = {
    req("version"),
    req("noAutorizacion"),
    req("fechaAutorizacion"),
    req("leyenda"),
};
constexpr Template kDonatarias{kDonatariasSteps};

constexpr Match kMatches[] = {
    {"donat:Donatarias", &kDonatarias},
};

}  // namespace

std::span<const Match> donat11_templates() { return kMatches; }

}  // namespace drovanexis::cadena

#include "cadena/template.h"

// Tax register complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kCFDIRegistroFiscalSteps[] = {
    req("Version"),
    req("Folio"),
};
constexpr Template kCFDIRegistroFiscal{kCFDIRegistroFiscalSteps};

constexpr Match kMatches[] = {
    {"registrofiscal:CFDIRegistroFiscal", &kCFDIRegistroFiscal},
};

}  // namespace

std::span<const Match> registro_fiscal10_templates() { return kMatches; }

}  // namespace drovanexis::cadena

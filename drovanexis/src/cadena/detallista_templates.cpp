#include "cadena/template.h"

// Retail complement.
namespace drovanexis::cadena {
namespace {

constexpr Step kReferenceIdentificationSteps[] = {
    req_text("."),
};
constexpr Template kReferenceIdentification{kReferenceIdentificationSteps};

constexpr Step kSpecialServicesTypeSteps[] = {
    opt_text("."),
};
constexpr Template kSpecialServicesType{kSpecialServicesTypeSteps};

constexpr Step kAmountSteps[] = {
    opt_text("."),
};
constexpr Template kAmount{kAmountSteps};

constexpr Step kDetallistaSteps[] = {
    req("documentStructureVersion"),
    each("detallista:orderIdentification/detallista:referenceIdentification",
         kReferenceIdentification),
    opt_text("detallista:orderIdentification/detallista:ReferenceDate"),
    req_text("detallista:buyer/detallista:gln"),
    req_text("detallista:seller/detallista:gln"),
    req_text("detallista:seller/detallista:alternatePartyIdentification"),
    req_text("detallista:totalAmount/detallista:Amount"),
    each("detallista:TotalAllowanceCharge/detallista:specialServicesType", kSpecialServicesType),
    each("detallista:TotalAllowanceCharge/detallista:Amount", kAmount),
};
constexpr Template kDetallista{kDetallistaSteps};

constexpr Match kMatches[] = {
    {"detallista:detallista", &kDetallista},
};

}  // namespace

std::span<const Match> detallista_templates() { return kMatches; }

}  // namespace drovanexis::cadena

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/element.h"
#include "validate/rule_support.h"

// What the CFDI 4.0 rule groups share: the 4.0 edition of each catalogue,
// the facts of the Comprobante judged on its own day, and the generic RFCs.
namespace drovanexis::rules::cfdi40 {

inline constexpr std::string_view kPublicRfc = "XAXX010101000";   // público en general
inline constexpr std::string_view kForeignRfc = "XEXX010101000";  // residente en el extranjero
inline constexpr std::string_view kPublicName = "PUBLICO EN GENERAL";

// The table a 4.0 document is judged by: "cfdi40.c_UsoCFDI" where the 4.0
// rows differ from 3.3's, the shared "c_FormaPago" where they are the same.
std::string_view catalogue(std::string_view name);

struct Facts : AmountFacts {
  bool has_comercio_exterior = false;  // 1.1 or 2.0
};
Facts facts_of(const Element& comprobante);

// Adds "CFDI40<number>".
void fail(Failures& failures, std::string_view number, const std::string& node,
          std::string_view attribute, std::string explanation);

// check_catalog against the 4.0 edition of `name`.
bool check_catalog40(Failures& failures, std::string_view number, const std::string& node,
                     std::string_view attribute, std::string_view name, std::string_view key,
                     std::optional<int> day);

bool is_generic_rfc(std::string_view rfc);

}  // namespace drovanexis::rules::cfdi40

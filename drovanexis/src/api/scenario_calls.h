#pragma once

#include <cstdint>

// The building calls of the demo's six issuing scenarios, exactly as the
// program makes them (values in Windows-1252). Each returns the new handle.
namespace drovanexis::test {

std::int32_t build_simple_invoice();
std::int32_t build_payments_receipt();
std::int32_t build_payroll_receipt();
std::int32_t build_carta_porte10();
std::int32_t build_carta_porte20();
std::int32_t build_external(const char* xml_text);

}  // namespace drovanexis::test

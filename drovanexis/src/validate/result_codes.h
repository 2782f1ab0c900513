#pragma once

#include <string_view>

// The number that processing returns for a failure code: one number per
// code, so that a caller can tell any two codes apart by the number alone.
//
//   "301" … "899"   the provider's codes and this library's own processing
//                   codes keep their number (301, 702, 805)
//   CFDI33nnn       33nnn              (CFDI33118 → 33118)
//   CFDI40nnn       40nnn              (CFDI40119 → 40119)
//   CRPnnn          50000 + nnn        (CRP206 → 50206)
//   NOMnnn          60000 + nnn        (NOM147 → 60147)
//   CPnnn           70000 + nnn        (CP149 → 70149)
//   CCEnnn          80000 + nnn        (CCE162 → 80162)
//   SBX-Cnn         90100 + nn         this library's codes for rules of the
//   SBX-ILnn        90200 + nn         standards with no SAT code: CFDI 3.3,
//   SBX-CPnn        90300 + nn         Impuestos locales, Carta Porte,
//   SBX-NOMnn       90400 + nn         Nómina, Pagos
//   SBX-CRPnn       90500 + nn
//   anything else   1
// The full code text stays available as value 1 of Drovanexis_GetValue.
namespace drovanexis {

int result_number(std::string_view code);

}  // namespace drovanexis

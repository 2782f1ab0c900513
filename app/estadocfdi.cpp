// Option 10: asks the status service about the sample CFDI and shows its
// answer (StatusCFDI.INI) beside its log (StatusCFDI.LOG).

#include <array>

#include "app/operations.h"
#include "app/service_result.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

constexpr std::string_view kTitle = " Resultado de la Consulta";
constexpr std::size_t kTitleBlanks = 109;
static_assert(kTitle.size() + kTitleBlanks == 134);

constexpr std::array<ResultMessage, 6> kMessages{{
    {2, "CFDI Vigente y Cancelable"},
    {1, "CFDI Vigente, NO Cancelable"},
    {0, "CFDI Vigente con cancelaci\xF3n EN PROCESO"},
    {-1, "CFDI previamente cancelado"},
    {-2, "CFDI No encontrado"},
    {-3,
     "Error interno de verificaci\xF3n de CFDI, revise la bit\xE1"
     "cora"},
}};

constexpr const char* kResultFile = "StatusCFDI.INI";
constexpr const char* kLogFile = "StatusCFDI.LOG";

}  // namespace

void ESTADOCFDI() {
  console::RoutineFrame frame("ESTADOCFDI");
  const int result =
      DROVANEXIS_GETSTATUSCFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                               "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", kResultFile, kLogFile);
  show_service_result(kTitle, kTitleBlanks, kMessages, result, kResultFile, kLogFile);
}

}  // namespace app

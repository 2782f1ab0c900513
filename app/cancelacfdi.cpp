// Option 9: asks the cancellation service to cancel the sample CFDI and shows
// the service's answer (CancelaCFDI.INI) beside its log (CancelaCFDI.LOG).

#include <array>

#include "app/operations.h"
#include "app/service_result.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

constexpr std::string_view kTitle = " Resultado de la Cancelaci\xF3n";
constexpr std::size_t kTitleBlanks = 106;
static_assert(kTitle.size() + kTitleBlanks == 134);

constexpr std::array<ResultMessage, 5> kMessages{{
    {1, "CFDI Cancelable con autorizaci\xF3n"},
    {0, "CFDI Cancelado directamente"},
    {-1, "CFDI NO es cancelable"},
    {-2, "CFDI No encontrado"},
    {-3,
     "Error interno de cancelaci\xF3n, revise la bit\xE1"
     "cora"},
}};

constexpr const char* kResultFile = "CancelaCFDI.INI";
constexpr const char* kLogFile = "CancelaCFDI.LOG";

}  // namespace

void CANCELACFDI() {
  console::RoutineFrame frame("CANCELACFDI");
  const int result =
      DROVANEXIS_CANCELACFDI("demo_valdorin", "CACX7605101P8", "VDN020304QX7", "1102.00",
                             "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3", ".\\CSD_CACX7605101P8.CER",
                             ".\\CSD_CACX7605101P8.KEY", "24681357q", kResultFile, kLogFile);
  show_service_result(kTitle, kTitleBlanks, kMessages, result, kResultFile, kLogFile);
}

}  // namespace app

// Option 7: the Base64 text of the sample CSD certificate, shown in the
// viewer.

#include "app/globals.h"
#include "app/operations.h"
#include "app/pages.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

constexpr const char* kCertificateFile = "CSD_KIJ0906199R1.CER";
// 87 characters: the screen shows the first 75.
constexpr std::string_view kWaitLine =
    " Generando archivo en Base64 del certificado CSD_KIJ0906199R1.CER, espere por favor... ";
static_assert(kWaitLine.size() == 87);
constexpr std::string_view kTitle =
    " Este es el archivo .CER en Base64 (Presione <Esc> para salir)";
constexpr std::size_t kTitleBlanks = 72;
static_assert(kTitle.size() + kTitleBlanks == 134);

}  // namespace

void CERTA64() {
  console::RoutineFrame frame("CERTA64");
  show_wait_line(kWaitLine);
  const std::string base64 = DROVANEXIS_CERTO64(kCertificateFile);
  con().clear();
  con().set_position(0, 0);
  show_viewer_page(pages_banner_text(kTitle, kTitleBlanks), colour_banner, banner_long_blanks,
                   base64);
}

}  // namespace app

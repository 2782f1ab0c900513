// Option 8: two CBB bitmaps of one query text, each opened for the user as
// soon as it is made, then the library's log of both generations. Both
// bitmaps are opened and the log is shown whatever the library answered: a
// failed generation shows in the log.

#include "app/globals.h"
#include "app/open_bitmap.h"
#include "app/operations.h"
#include "app/pages.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"
#include "console/read_file.h"

namespace app {
namespace {

// Passed unchanged, ampersand and final full stops included.
constexpr const char* kQueryText = "?re=AAA010101AAA&rr=FOHG380609Q76...";
constexpr const char* kLogFile = ".\\QR.LOG";
// The same file as kLogFile: names are looked up regardless of letter case.
constexpr std::string_view kLogFileShown = "qr.log";

// The arguments after the log file, the same for both bitmaps: error
// correction M, 4 pixels per module, a quiet zone of 5 modules.
constexpr int kLevel = 1;
constexpr int kModule = 4;
constexpr int kMargin = 5;

constexpr std::string_view kTitle =
    " Archivo LOG de generaci\xF3n de CBB (Presione <Esc> para salir)";
constexpr std::size_t kTitleBlanks = 72;
static_assert(kTitle.size() + kTitleBlanks == 133);

}  // namespace

void BMPSAMANO() {
  console::RoutineFrame frame("BMPSAMANO");
  N = DROVANEXIS_GENERACBB(kQueryText, ".\\QR_ind.BMP", 0, kLogFile, kLevel, kModule, kMargin);
  open_bitmap(con(), ".\\qr_ind.bmp");
  N = DROVANEXIS_GENERACBB(kQueryText, ".\\QR_dep.BMP", 1, kLogFile, kLevel, kModule, kMargin);
  open_bitmap(con(), ".\\qr_dep.bmp");
  con().clear();
  con().set_position(0, 0);
  show_viewer_page(pages_banner_text(kTitle, kTitleBlanks), colour_banner, banner_long_blanks,
                   console::read_file(kLogFileShown));
}

}  // namespace app

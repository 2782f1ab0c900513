#include "app/globals.h"

#include <stdexcept>

namespace app {

std::optional<int> nPrompt;
int nError = 0;
std::string cArchivo;
int N = 0;

namespace {
console::Console* installed_console = nullptr;
}

console::Console& con() {
  if (installed_console == nullptr) {
    throw std::logic_error("app::con() used before a console was installed with app::set_con()");
  }
  return *installed_console;
}

void set_con(console::Console* console) { installed_console = console; }

ScopedConsole::ScopedConsole(console::Console& console) : previous_(installed_console) {
  installed_console = &console;
}

ScopedConsole::~ScopedConsole() { installed_console = previous_; }

}  // namespace app

#pragma once
// The program-wide variables and the program's console.
//
// The application reaches the one console of the program through app::con().
// main() creates it on the terminal backend and installs it with set_con();
// tests install a Console on a HeadlessBackend the same way (ScopedConsole).

#include <optional>
#include <string>

#include "console/console.h"

namespace app {

// The menu option chosen last (1-12), 0 after Esc. It does not exist until
// the first choice has been stored.
extern std::optional<int> nPrompt;
// Result of the last processing call of an issuing operation.
extern int nError;
// Text of the last file read for viewing.
extern std::string cArchivo;
// Result of the last CBB generation call.
extern int N;

// The program's console. Using it before one is installed is a programming
// error and throws std::logic_error.
console::Console& con();
void set_con(console::Console* console);

// Installs a console for the lifetime of the object and restores the
// previous one afterwards (for tests).
class ScopedConsole {
 public:
  explicit ScopedConsole(console::Console& console);
  ~ScopedConsole();
  ScopedConsole(const ScopedConsole&) = delete;
  ScopedConsole& operator=(const ScopedConsole&) = delete;

 private:
  console::Console* previous_;
};

}  // namespace app

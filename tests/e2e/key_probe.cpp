// A small program for the key tests: shows the key code of each key read on
// the terminal backend ("key N" on row 0) until the letter q, or until the
// break request (a hang-up, a termination signal, the terminal gone), so that
// it never outlives its test.

#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "console/terminal_backend.h"

int main() {
  console::TerminalBackend terminal;
  console::Console con(terminal);
  con.set_setting("CANCEL", false);
  con.clear();
  con.write_at(1, 0, "ready");
  int count = 0;
  while (true) {
    const int code = con.read_key();
    if (code == 'q' || code == console::key::break_request) break;
    ++count;
    // The counter tells two presses of the same key apart.
    con.write_at(0, 0, "key " + std::to_string(code) + " #" + std::to_string(count) + ".      ");
  }
  terminal.restore();
  return 0;
}

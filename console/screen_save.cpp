#include "console/screen_save.h"

#include <optional>

namespace console {
namespace {

struct SavedScreen {
  const Console* owner = nullptr;
  Screen screen;
};

// The program's one save slot.
std::optional<SavedScreen>& save_slot() {
  static std::optional<SavedScreen> slot;
  return slot;
}

}  // namespace

void save_screen(Console& con) { save_slot() = SavedScreen{&con, con.screen()}; }

void restore_screen(Console& con) {
  std::optional<SavedScreen>& slot = save_slot();
  if (!slot || slot->owner != &con) return;
  Screen& screen = con.screen();
  const Screen& saved = slot->screen;
  for (int row = 0; row < saved.rows(); ++row) {
    for (int column = 0; column < saved.columns(); ++column) {
      screen.set_cell(row, column, saved.cell(row, column));
    }
  }
  screen.set_cursor(saved.cursor_row(), saved.cursor_column());
  slot.reset();
  con.present();
}

}  // namespace console

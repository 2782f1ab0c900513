#pragma once
// Saving and restoring the whole screen: one slot for the program, holding
// every cell and the cursor's row and column (not the colours, not the
// cursor shape). A new save replaces the previous one.

#include "console/console.h"

namespace console {

void save_screen(Console& con);
// Puts the saved cells and cursor position back and empties the slot; does
// nothing when the slot is empty (or holds the screen of another console).
void restore_screen(Console& con);

}  // namespace console

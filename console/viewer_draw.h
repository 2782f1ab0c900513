#pragma once

#include <cstdint>

#include "console/screen.h"
#include "console/viewer_model.h"

namespace console {

// A window of the screen, in screen rows and columns (inclusive).
struct ViewerWindow {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  int rows() const { return bottom - top + 1; }
  int columns() const { return right - left + 1; }
};

struct ViewerColours {
  std::uint8_t text = 0x07;      // the colour string's first item
  std::uint8_t selected = 0x70;  // its second item
  std::uint8_t current = 0x07;   // for the rows below the text
};

// Draws the visible part of the text into the window: each row cut or padded
// to the window's width, selected text in the selection colour, the rows
// below the text blank. The cursor is hidden while drawing and then put at
// the text position with its shape restored.
void draw_viewer(Screen& screen, const ViewerModel& model, const ViewerWindow& window,
                 const ViewerColours& colours);

}  // namespace console

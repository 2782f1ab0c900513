#include "console/screen_save.h"

#include <gtest/gtest.h>

namespace console {
namespace {

TEST(ScreenSave, RestorePutsCellsAndCursorBackOnceButNotColours) {
  HeadlessBackend backend;
  Console con(backend);
  con.write_at(5, 3, "menu", "W+/R");
  con.set_cursor_shape(cursor_shape::insert);
  save_screen(con);
  const Screen before = con.screen();

  con.set_colour("W+/B");
  con.clear();
  con.write_at(20, 0, "page");
  con.set_cursor_shape(cursor_shape::hidden);
  restore_screen(con);
  EXPECT_EQ(con.screen().cells(), before.cells());
  EXPECT_EQ(con.screen().cursor_row(), 5);
  EXPECT_EQ(con.screen().cursor_column(), 7);
  EXPECT_EQ(con.screen().cursor_shape(), cursor_shape::hidden);
  EXPECT_EQ(con.colour_string(), "W+/B,N/W,N/N,N/N,N/W");

  // The slot is empty now: a second restore changes nothing.
  con.write_at(0, 0, "after");
  restore_screen(con);
  EXPECT_EQ(con.screen().row_text(0).substr(0, 5), "after");
}

}  // namespace
}  // namespace console

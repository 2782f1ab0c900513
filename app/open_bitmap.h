#pragma once
// Opening a CBB bitmap for the user to look at.

#include <string>
#include <string_view>

#include "console/console.h"

namespace app {

// The /bin/sh command that opens the bitmap named `windows_name` (looked up
// as a Windows file name) with the desktop's viewer: xdg-open, started in the
// background, where a graphical session exists (DISPLAY or WAYLAND_DISPLAY
// set) and xdg-open is installed; nothing otherwise. Nothing it runs writes to
// the terminal.
std::string open_bitmap_command(std::string_view windows_name);

// Runs that command, handing the terminal over while it runs. The operation
// goes on at once: the viewer is not waited for, and a missing bitmap only
// means the viewer has nothing to show.
void open_bitmap(console::Console& con, std::string_view windows_name);

}  // namespace app

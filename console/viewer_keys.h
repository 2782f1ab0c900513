#pragma once

#include "console/viewer_model.h"

namespace console {

// What a key asks of the viewer beyond changing its model.
enum class ViewerKeyResult {
  handled,        // the model has done what the key asks (or nothing)
  toggle_insert,  // Ins: switch insert mode (the cursor shape and indicator follow)
  escape,         // Esc: leave, unless the user keeps an edited text
  save_and_leave  // Ctrl+W, Alt+W: leave with the edited text
};

// Applies one key to the model: movement, editing, selection and the
// clipboard keys. Keys the viewer does not know do nothing.
ViewerKeyResult apply_viewer_key(ViewerModel& model, int key);

}  // namespace console

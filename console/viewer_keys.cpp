#include "console/viewer_keys.h"

#include "console/clipboard.h"
#include "console/keys.h"

namespace console {
namespace {

bool apply_movement(ViewerModel& model, int key) {
  switch (key) {
    case key::down: model.down(); return true;
    case key::up: model.up(); return true;
    case key::page_down: model.page_down(); return true;
    case key::page_up: model.page_up(); return true;
    case key::ctrl_page_down: model.text_end(); return true;
    case key::ctrl_page_up: model.text_start(); return true;
    case key::ctrl_home: model.window_top(); return true;
    case key::ctrl_end: model.window_bottom(); return true;
    case key::right: model.right(); return true;
    case key::left: model.left(); return true;
    case key::home: model.home(); return true;
    case key::end: model.end(); return true;
    case key::ctrl_right: model.word_right(); return true;
    case key::ctrl_left: model.word_left(); return true;
    default: return false;
  }
}

bool apply_editing(ViewerModel& model, int key) {
  switch (key) {
    case key::enter: model.enter(); return true;
    case key::backspace: model.backspace(); return true;
    case key::del: model.del(); return true;
    case key::tab: model.tab(); return true;
    case key::ctrl_y: model.delete_line(); return true;
    case key::ctrl_t: model.delete_word_right(); return true;
    case key::ctrl_n: model.insert_line_above(); return true;
    case key::ctrl_b: model.unwrap_all(); return true;
    default: break;
  }
  if (key >= 32 && key <= 255 && key != key::ctrl_backspace) {
    model.type(static_cast<unsigned char>(key));
    return true;
  }
  return false;
}

bool apply_selection(ViewerModel& model, int key) {
  switch (key) {
    case key::shift_up: model.extend_selection_up(); return true;
    case key::shift_down: model.extend_selection_down(); return true;
    case key::shift_left: model.extend_selection_left(); return true;
    case key::shift_right: model.extend_selection_right(); return true;
    case key::shift_home: model.extend_selection_home(); return true;
    case key::shift_end: model.extend_selection_end(); return true;
    case key::ctrl_a: model.select_all(); return true;
    case key::ctrl_backspace: model.clear_selection(); return true;
    case key::ctrl_c:
      if (model.selection().active) Clipboard::instance().set_text(model.selected_text());
      return true;
    case key::ctrl_x:
    case key::shift_del:
      if (model.selection().active) {
        Clipboard::instance().set_text(model.selected_text());
        model.delete_selection();
      }
      return true;
    case key::ctrl_v:
    case key::shift_ins: model.paste(Clipboard::instance().text()); return true;
    default: return false;
  }
}

}  // namespace

ViewerKeyResult apply_viewer_key(ViewerModel& model, int key) {
  switch (key) {
    case key::ins: return ViewerKeyResult::toggle_insert;
    case key::escape: return ViewerKeyResult::escape;
    case key::ctrl_w:
    case key::alt_w: return ViewerKeyResult::save_and_leave;
    default: break;
  }
  if (!apply_movement(model, key) && !apply_selection(model, key)) apply_editing(model, key);
  return ViewerKeyResult::handled;
}

}  // namespace console

#pragma once
// The text viewer: shows a text in a window of the screen and lets the user
// move through it (and edit it) until Esc, Ctrl+W or Alt+W.
//
//   std::string shown = console::view_text(con, text, 3, 0, 24, 79);
//
// Keys and drawing are described with ViewerModel (viewer_model.h),
// apply_viewer_key (viewer_keys.h) and draw_viewer (viewer_draw.h).

#include <source_location>
#include <string>
#include <string_view>

#include "console/console.h"

namespace console {

// One argument of view_text as the caller holds it: absent, a number, a text
// or a value of some other kind. Values of the wrong kind are refused with a
// run-time error, so callers that pass through data of unknown kind are
// told, rather than shown something arbitrary.
class ViewerArgument {
 public:
  enum class Kind { absent, number, text, other };

  ViewerArgument() = default;
  ViewerArgument(int number) : kind_(Kind::number), number_(number) {}
  ViewerArgument(std::string_view text) : kind_(Kind::text), text_(text) {}
  ViewerArgument(const char* text) : kind_(Kind::text), text_(text) {}
  ViewerArgument(const std::string& text) : kind_(Kind::text), text_(text) {}
  // A value that is neither a number nor a text (a logical, a date, ...).
  static ViewerArgument other_kind() {
    ViewerArgument argument;
    argument.kind_ = Kind::other;
    return argument;
  }

  Kind kind() const { return kind_; }
  int number() const { return number_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_ = Kind::absent;
  int number_ = 0;
  std::string_view text_;
};

// The routine name that the viewer's run-time errors carry as description.
inline constexpr std::string_view view_text_routine = "VIEWTEXT";
inline constexpr std::string_view view_text_subsystem = "BASE";
inline constexpr int view_text_error_subcode = 1127;

// Shows `text` in the window top, left, bottom, right (defaults: the whole
// screen) and returns when the user leaves: the text exactly as given after
// Esc, the edited text after Ctrl+W or Alt+W. An absent text is "". Throws
// RuntimeError (BASE/1127) for arguments of the wrong kind and for a window
// whose top is below its bottom or whose left is right of its right.
std::string view_text(Console& con, const ViewerArgument& text = {}, const ViewerArgument& top = {},
                      const ViewerArgument& left = {}, const ViewerArgument& bottom = {},
                      const ViewerArgument& right = {},
                      std::source_location caller = std::source_location::current());

}  // namespace console

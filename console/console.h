#pragma once
// console::Console: the one character screen of the program with its colour
// table, settings and input, drawn through a Backend.
//
// The program has exactly one Console, created by main() on the terminal
// backend and reached by the application through app::con()
// (app/globals.h). Console services take the Console they work on as their
// first argument; tests make their own Console on a HeadlessBackend:
//
//   console::HeadlessBackend backend;
//   console::Console con(backend);
//   backend.push_keys({console::key::down, console::key::enter});
//
// Every output operation shows the grid at once (Backend::present); a
// DeferredPresent groups many writes into one present.

#include <optional>
#include <source_location>
#include <stdexcept>
#include <string>
#include <string_view>

#include "console/backend.h"
#include "console/colour.h"
#include "console/lightbar.h"
#include "console/screen.h"
#include "console/settings.h"

namespace console {

// Raised by read_key when the user cancels the program (Alt+C or the break
// request while CANCEL is on). report() holds the "Cancelled at: " lines;
// main() restores the terminal, writes them to the error output and ends the
// program. Handlers of other exceptions must let this one pass.
class Cancelled : public std::exception {
 public:
  explicit Cancelled(std::string report) : report_(std::move(report)) {}
  const char* what() const noexcept override { return report_.c_str(); }
  const std::string& report() const { return report_; }

 private:
  std::string report_;
};

class Console {
 public:
  explicit Console(Backend& backend, int rows = 25, int columns = 80);

  Backend& backend() { return backend_; }
  Screen& screen() { return screen_; }
  const Screen& screen() const { return screen_; }
  ColourTable& colours() { return colours_; }
  const ColourTable& colours() const { return colours_; }
  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }

  // Sets the grid size; a missing value keeps the current one. Values of 0 or
  // less fail; a size beyond what the backend can show is cut to it.
  bool set_mode(std::optional<int> rows, std::optional<int> columns);

  // Reads or changes a setting by name (COLOR included); returns the value
  // before the change, nullopt for an unknown name.
  std::optional<SettingValue> setting(std::string_view name) const;
  std::optional<SettingValue> set_setting(std::string_view name, const SettingValue& value);

  // Fills the grid with blanks in the current colour; the cursor stays.
  void clear();
  void set_position(int row, int column);
  // Writes at the cursor on its row, in the current colour or, for this write
  // only, in `colour`. Cells past the last column are dropped; the cursor
  // ends at the start column plus the text's length.
  void write(std::string_view text, std::optional<std::string_view> colour = std::nullopt);
  void write_at(int row, int column, std::string_view text,
                std::optional<std::string_view> colour = std::nullopt);
  // Like write_at in the current colour, marking the cells as frame-drawing
  // characters (bytes of the classic box-drawing code page).
  void write_frame_at(int row, int column, std::string_view text);

  // Applies a colour string; returns the previous one. Standard becomes
  // current.
  std::string set_colour(std::string_view colour_string);
  std::string colour_string() const { return colours_.to_string(); }
  void select_colour(int slot);

  // Sets the cursor shape (0-4; other values are ignored) and returns the
  // previous one; without a value it only reads it.
  int set_cursor_shape(std::optional<int> shape = std::nullopt);

  // Waits for a key. Mouse events are skipped while EVENTMASK delivers
  // keyboard only. Alt+C or the break request with CANCEL on throw Cancelled.
  int read_key(std::source_location where = std::source_location::current());
  // Waits for a key or, when EVENTMASK allows it or `want_mouse` is set, a
  // mouse event; the cancel rule applies to keys.
  InputEvent read_event(bool want_mouse,
                        std::source_location where = std::source_location::current());
  // Drops one input event that is already waiting, if there is one; never
  // waits. A break request is kept.
  void discard_pending_event() { backend_.poll_event(); }

  int last_row() const { return screen_.last_row(); }
  int last_column() const { return screen_.last_column(); }

  // The lightbar menu.
  void add_prompt(int row, int column, std::string text, PromptMessage message = {},
                  std::optional<std::string> colour = std::nullopt);
  int select(const SelectionVariable& variable,
             std::source_location where = std::source_location::current());
  Lightbar& lightbar() { return lightbar_; }

  // Shows the grid now (unless a DeferredPresent is active).
  void present();

  // While one lives, output is not shown; its end shows the grid once.
  class DeferredPresent {
   public:
    explicit DeferredPresent(Console& console) : console_(console) { ++console_.defer_depth_; }
    ~DeferredPresent() {
      if (--console_.defer_depth_ == 0) console_.present();
    }
    DeferredPresent(const DeferredPresent&) = delete;
    DeferredPresent& operator=(const DeferredPresent&) = delete;

   private:
    Console& console_;
  };

 private:
  void put_text(std::string_view text, bool frame);
  [[noreturn]] void cancel();

  Backend& backend_;
  Screen screen_;
  ColourTable colours_;
  Settings settings_;
  Lightbar lightbar_;
  int defer_depth_ = 0;
};

// The "Cancelled at: " report for the current call chain.
std::string cancel_report();

}  // namespace console

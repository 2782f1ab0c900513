#include "console/console.h"

#include <algorithm>
#include <cctype>

#include "console/call_stack.h"
#include "console/keys.h"

namespace console {

Console::Console(Backend& backend, int rows, int columns)
    : backend_(backend), screen_(rows, columns) {}

bool Console::set_mode(std::optional<int> rows, std::optional<int> columns) {
  int wanted_rows = rows.value_or(screen_.rows());
  int wanted_columns = columns.value_or(screen_.columns());
  if (wanted_rows <= 0 || wanted_columns <= 0) return false;
  TerminalSize largest = backend_.size();
  if (largest.rows > 0) wanted_rows = std::min(wanted_rows, largest.rows);
  if (largest.columns > 0) wanted_columns = std::min(wanted_columns, largest.columns);
  screen_.resize(wanted_rows, wanted_columns);
  present();
  return true;
}

std::optional<SettingValue> Console::setting(std::string_view name) const {
  if (auto value = settings_.get(name)) return value;
  std::string upper(name);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (upper == "COLOR") return SettingValue{colours_.to_string()};
  return std::nullopt;
}

std::optional<SettingValue> Console::set_setting(std::string_view name, const SettingValue& value) {
  if (auto previous = settings_.set(name, value)) return previous;
  std::optional<SettingValue> previous = setting(name);
  if (previous && std::holds_alternative<std::string>(*previous)) {
    // COLOR: a colour string changes the colour table.
    if (const std::string* text = std::get_if<std::string>(&value)) set_colour(*text);
  }
  return previous;
}

void Console::clear() {
  screen_.fill(Cell{' ', colours_.current_attr(), false});
  present();
}

void Console::set_position(int row, int column) {
  screen_.set_cursor(row, column);
  present();
}

void Console::put_text(std::string_view text, bool frame) {
  const int row = screen_.cursor_row();
  const int start = screen_.cursor_column();
  const std::uint8_t colour = colours_.current_attr();
  const int length = static_cast<int>(std::min<std::size_t>(text.size(), 1u << 30));
  const int first = std::max(0, -start);
  const int last = std::min(length, screen_.columns() - start);
  for (int i = first; i < last; ++i) {
    screen_.set_cell(
        row, start + i,
        Cell{static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]), colour, frame});
  }
  screen_.set_cursor(row, start + length);
}

void Console::write(std::string_view text, std::optional<std::string_view> colour) {
  if (colour) {
    std::string saved = colours_.to_string();
    colours_.apply(*colour);
    put_text(text, false);
    colours_.apply(saved);
  } else {
    put_text(text, false);
  }
  present();
}

void Console::write_at(int row, int column, std::string_view text,
                       std::optional<std::string_view> colour) {
  screen_.set_cursor(row, column);
  write(text, colour);
}

void Console::write_frame_at(int row, int column, std::string_view text) {
  screen_.set_cursor(row, column);
  put_text(text, true);
  present();
}

std::string Console::set_colour(std::string_view colour_string) {
  std::string previous = colours_.to_string();
  colours_.apply(colour_string);
  return previous;
}

void Console::select_colour(int slot) { colours_.select(slot); }

int Console::set_cursor_shape(std::optional<int> shape) {
  int previous = screen_.cursor_shape();
  if (shape && *shape >= cursor_shape::hidden && *shape <= cursor_shape::max) {
    screen_.set_cursor_shape(*shape);
    present();
  }
  return previous;
}

InputEvent Console::read_event(bool want_mouse, std::source_location where) {
  CallStack::note_line(where);
  present();
  while (true) {
    InputEvent event = backend_.read_event();
    if (event.kind == InputEvent::Kind::mouse) {
      if (want_mouse || settings_.eventmask() != eventmask_keyboard_only) return event;
      continue;
    }
    if ((event.code == key::break_request || event.code == key::alt_c) && settings_.cancel()) {
      cancel();
    }
    return event;
  }
}

int Console::read_key(std::source_location where) { return read_event(false, where).code; }

void Console::add_prompt(int row, int column, std::string text, PromptMessage message,
                         std::optional<std::string> colour) {
  lightbar_.add_prompt(*this,
                       Prompt{row, column, std::move(text), std::move(message), std::move(colour)});
}

int Console::select(const SelectionVariable& variable, std::source_location where) {
  CallStack::note_line(where);
  return lightbar_.select(*this, variable);
}

void Console::present() {
  if (defer_depth_ == 0) backend_.present(screen_);
}

void Console::cancel() { throw Cancelled(cancel_report()); }

std::string cancel_report() {
  std::vector<Frame> frames = CallStack::innermost_first();
  std::string report = "\nCancelled at: ";
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (i > 0) report += '\n';
    report += frames[i].name + " (" + std::to_string(frames[i].line) + ")";
  }
  report += '\n';
  return report;
}

}  // namespace console

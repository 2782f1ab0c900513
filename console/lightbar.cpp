#include "console/lightbar.h"

#include <algorithm>

#include "console/call_stack.h"
#include "console/console.h"
#include "console/keys.h"

namespace console {
namespace {

// Case folding for the first-letter search: ASCII letters and the accented
// letters of Windows-1252.
int fold(int byte) {
  if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return byte - 0x20;
  return byte;
}

std::string_view without_leading_blanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

struct PromptColours {
  std::optional<std::string> normal;
  std::optional<std::string> highlight;
};

PromptColours colours_of(const Prompt& prompt) {
  PromptColours colours;
  if (!prompt.colour) return colours;
  const std::string& colour_string = *prompt.colour;
  std::size_t comma = colour_string.find(',');
  std::string first = colour_string.substr(0, comma);
  if (!first.empty()) colours.normal = first;
  if (comma != std::string::npos) {
    std::string second = colour_string.substr(comma + 1);
    second = second.substr(0, second.find(','));
    if (!second.empty()) colours.highlight = second;
  }
  return colours;
}

std::string message_text(const PromptMessage& message) {
  if (const std::string* text = std::get_if<std::string>(&message)) return *text;
  if (const auto* routine = std::get_if<std::function<std::string()>>(&message)) {
    if (*routine) return (*routine)();
  }
  return {};
}

// One running selection: the prompts, the position and the message line.
class Selection {
 public:
  Selection(Console& console, const std::vector<Prompt>& prompts)
      : console_(console), prompts_(prompts), count_(static_cast<int>(prompts.size())) {}

  int run(int position) {
    const bool intensity = console_.settings().intensity();
    const int previous_shape = intensity ? console_.set_cursor_shape(cursor_shape::hidden)
                                         : console_.screen().cursor_shape();
    bool chosen = false;
    while (position != 0) {
      show_message(position);
      const int previous = position;
      draw_highlighted(position);
      if (chosen) break;
      const int code = console_.read_key();
      position = act(code, position, chosen);
      if (position != 0) draw_normal(previous);
    }
    console_.set_cursor_shape(previous_shape);
    return position;
  }

 private:
  const Prompt& prompt(int position) const {
    return prompts_[static_cast<std::size_t>(position - 1)];
  }

  int act(int code, int position, bool& chosen) const {
    const bool wrap = console_.settings().wrap();
    switch (code) {
      case key::down:
      case key::right: return position < count_ ? position + 1 : (wrap ? 1 : count_);
      case key::up:
      case key::left: return position > 1 ? position - 1 : (wrap ? count_ : 1);
      case key::home: return 1;
      case key::end: return count_;
      case key::enter:
      case key::page_up:
      case key::page_down: chosen = true; return position;
      case key::escape: return 0;
      default: break;
    }
    if (code < 0 || code > 255) return position;
    for (int i = 1; i <= count_; ++i) {
      std::string_view text = without_leading_blanks(prompt(i).text);
      if (!text.empty() && fold(static_cast<unsigned char>(text.front())) == fold(code)) {
        chosen = true;
        return i;
      }
    }
    return position;
  }

  void show_message(int position) {
    const int row = console_.settings().message();
    if (row <= 0) return;
    if (shown_length_ > 0) {
      console_.write_at(row, shown_column_,
                        std::string(static_cast<std::size_t>(shown_length_), ' '));
    }
    std::string text = message_text(prompt(position).message);
    const int length = static_cast<int>(text.size());
    int column = 0;
    if (console_.settings().mcenter()) {
      const int space = console_.last_column() - length;
      column = space >= 0 ? space / 2 : -((-space + 1) / 2);
    }
    console_.write_at(row, column, text);
    shown_column_ = column;
    shown_length_ = length;
  }

  void draw_highlighted(int position) {
    const Prompt& p = prompt(position);
    const PromptColours colours = colours_of(p);
    const bool intensity = console_.settings().intensity();
    if (intensity && !colours.highlight) console_.select_colour(ColourTable::enhanced);
    if (colours.highlight) {
      console_.write_at(p.row, p.column, p.text, *colours.highlight);
    } else {
      console_.write_at(p.row, p.column, p.text);
    }
    // Back to the standard colour whenever the enhanced one was selected, so
    // that no later output is drawn in the highlight colour.
    if (intensity && (!colours.normal || !colours.highlight)) {
      console_.select_colour(ColourTable::standard);
    }
  }

  void draw_normal(int position) {
    const Prompt& p = prompt(position);
    const PromptColours colours = colours_of(p);
    if (colours.normal) {
      console_.write_at(p.row, p.column, p.text, *colours.normal);
    } else {
      console_.write_at(p.row, p.column, p.text);
    }
  }

  Console& console_;
  const std::vector<Prompt>& prompts_;
  const int count_;
  int shown_column_ = 0;
  int shown_length_ = 0;
};

}  // namespace

void Lightbar::add_prompt(Console& console, Prompt prompt) {
  if (!prompts_) prompts_.emplace();
  prompts_->push_back(std::move(prompt));
  const Prompt& added = prompts_->back();
  if (const auto normal = colours_of(added).normal) {
    console.write_at(added.row, added.column, added.text, *normal);
  } else {
    console.write_at(added.row, added.column, added.text);
  }
}

int Lightbar::select(Console& console, const SelectionVariable& variable) {
  RoutineFrame frame("LIGHTBAR_SELECT");
  const std::optional<std::optional<int>> initial = variable.get();
  const bool created = !initial.has_value();
  int position = 0;
  if (prompts_ && !prompts_->empty()) {
    const std::vector<Prompt> prompts = std::move(*prompts_);
    prompts_.reset();
    const int count = static_cast<int>(prompts.size());
    int start = initial && *initial ? **initial : 1;
    start = std::clamp(start, 1, count);
    position = Selection(console, prompts).run(start);
  }
  prompts_.reset();
  variable.set(position);
  if (created) variable.set(std::nullopt);
  console.set_position(console.last_row() - 1, 0);
  return position;
}

}  // namespace console

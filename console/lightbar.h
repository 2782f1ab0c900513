#pragma once
// The lightbar menu: prompts added one by one (each drawn at once), then one
// selection that highlights the current prompt, moves it with the keys and
// returns the chosen prompt's number (1-based), or 0 after Esc.

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace console {

class Console;

// A prompt's message: none, a text, or a routine that yields it.
using PromptMessage = std::variant<std::monostate, std::string, std::function<std::string()>>;

struct Prompt {
  int row = 0;
  int column = 0;
  std::string text;
  PromptMessage message;
  std::optional<std::string> colour;  // "normal[,highlight]"
};

// The variable a selection reads its starting prompt from and stores its
// result in, reached through an accessor. `get` yields nullopt while the
// variable does not exist and a nullopt inner value while it holds something
// that is not a number; `set` stores a number, or removes the variable when
// given nullopt.
struct SelectionVariable {
  std::string name;
  std::function<std::optional<std::optional<int>>()> get;
  std::function<void(std::optional<int>)> set;
};

class Lightbar {
 public:
  void add_prompt(Console& console, Prompt prompt);
  int select(Console& console, const SelectionVariable& variable);
  // The prompts waiting for the next selection (nullopt when there is no
  // list).
  const std::optional<std::vector<Prompt>>& prompts() const { return prompts_; }

 private:
  std::optional<std::vector<Prompt>> prompts_;
};

}  // namespace console

#pragma once
// The process-wide clipboard of the text viewer: plain text. What is copied
// is also offered to the terminal's own clipboard through the OSC 52 control
// sequence, which terminals that support it take and others ignore. The
// program's copy holds Windows-1252 bytes; the terminal is offered UTF-8.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace console {

class Clipboard {
 public:
  // Larger texts are kept here but not offered to the terminal: terminals
  // refuse or choke on sequences of many megabytes.
  static constexpr std::size_t max_terminal_offer = 256 * 1024;

  // Receives the control sequence that offers a copied text to the terminal.
  using TerminalSink = std::function<void(std::string_view sequence)>;

  static Clipboard& instance();

  const std::string& text() const { return text_; }
  void set_text(std::string text);

  // Replaces where the OSC 52 sequence goes (by default the standard output
  // when it is a terminal); an empty sink offers nothing.
  void set_terminal_sink(TerminalSink sink) { sink_ = std::move(sink); }

 private:
  Clipboard();

  std::string text_;
  TerminalSink sink_;
};

// The OSC 52 sequence that puts `text` into the terminal's clipboard.
std::string osc52_sequence(std::string_view text);

}  // namespace console

#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cli {

// Exit codes of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotClean = 1;  // a file not clean, a document that failed
inline constexpr int kExitUsage = 2;     // a usage error or a file that cannot be read

// A JSON string literal (quotes included) that is valid UTF-8 whatever the
// bytes given: control characters (C0, DEL and C1) are \u escapes, and each
// byte that is not part of valid UTF-8 (a file name in another encoding)
// becomes the six characters "\\xNN" in the JSON text, "\xNN" once decoded.
std::string json_string(std::string_view text);

// The text as one line for a terminal: valid UTF-8 is kept, while control
// characters (a newline, ESC, ...) and bytes that are not valid UTF-8 are
// shown as "\xNN", so that a hostile file
// name can neither move the cursor nor split a message in two.
std::string shown(std::string_view text);

// A flat JSON object built field by field, for one line of --json output.
class JsonObject {
 public:
  JsonObject& text(std::string_view name, std::string_view value);
  JsonObject& number(std::string_view name, std::int64_t value);
  JsonObject& boolean(std::string_view name, bool value);
  // A value already in JSON (an array or an object).
  JsonObject& raw(std::string_view name, std::string_view json);
  std::string str() const;

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

// "[a,b,...]" of values already in JSON.
std::string json_array(const std::vector<std::string>& items);

// A one-line progress bar on standard error: count, rate and time left. It
// shows only when standard error is a terminal, --quiet was not given and the
// work has lasted more than a second, and erases itself when done.
class ProgressBar {
 public:
  ProgressBar(std::size_t total, bool enabled);
  ~ProgressBar();
  void update(std::size_t done);
  void finish();

 private:
  std::size_t total_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_draw_;
};

// True when the stream is a terminal (standard error's file descriptor).
bool stderr_is_terminal();

}  // namespace cli

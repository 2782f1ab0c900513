#include "tests/e2e/tmux_session.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "portable/process.h"

namespace e2e {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

// The terminal's colour order (1 red, 4 blue) back to ours (1 blue, 4 red).
constexpr int kOurColour[8] = {0, 4, 2, 6, 1, 5, 3, 7};

enum class Output { capture, discard };

// Runs a command without a shell and returns its standard output; throws
// when it cannot be started or fails. A command that may start the tmux
// server discards its output: the server would otherwise keep the pipe open.
std::string run_command(const std::vector<std::string>& arguments,
                        Output output_mode = Output::capture) {
  const portable::ProcessResult result = portable::run_process(
      arguments, output_mode == Output::capture ? portable::ChildStreams::capture_output
                                                : portable::ChildStreams::discard_output);
  if (!result.started) throw std::runtime_error("cannot start " + arguments.front());
  if (result.exit_code != 0) {
    std::string line;
    for (const std::string& argument : arguments) line += argument + " ";
    throw std::runtime_error("command failed: " + line);
  }
  return result.output;
}

std::optional<std::string> read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

void apply_sgr(const std::vector<int>& codes, CellColour& colour) {
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const int code = codes[i];
    if (code == 0)
      colour = CellColour{};
    else if (code == 1)
      colour.bright = true;
    else if (code == 22)
      colour.bright = false;
    else if (code == 5)
      colour.blink = true;
    else if (code == 25)
      colour.blink = false;
    else if (code >= 30 && code <= 37)
      colour.foreground = kOurColour[code - 30];
    else if (code == 39)
      colour.foreground = 7;
    else if (code >= 40 && code <= 47)
      colour.background = kOurColour[code - 40];
    else if (code == 49)
      colour.background = 0;
    else if (code >= 90 && code <= 97) {
      colour.foreground = kOurColour[code - 90];
      colour.bright = true;
    } else if ((code == 38 || code == 48) && i + 2 < codes.size() && codes[i + 1] == 5) {
      const int index = codes[i + 2];
      int& target = code == 38 ? colour.foreground : colour.background;
      if (index < 16) target = kOurColour[index % 8];
      if (code == 38 && index >= 8 && index < 16) colour.bright = true;
      i += 2;
    }
  }
}

std::vector<int> sgr_codes(std::string_view parameters) {
  std::vector<int> codes;
  int value = 0;
  for (char ch : parameters) {
    if (ch == ';') {
      codes.push_back(value);
      value = 0;
    } else if (ch >= '0' && ch <= '9') {
      value = value * 10 + (ch - '0');
    }
  }
  codes.push_back(value);
  return codes;
}

std::size_t utf8_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

std::string unique_socket_name() {
  static std::atomic<int> counter{0};
  return "cfdi-e2e-" + std::to_string(portable::current_process_id()) + "-" +
         std::to_string(counter++);
}

// The pane runs this script: the program with its error output in a file,
// its process id written first (the inner shell execs the program), then its
// exit code and the terminal modes it left; the pane then stays open. A
// watcher ends the tmux server when the test process is gone, so that a test
// killed half-way leaves nothing running.
constexpr const char* kPaneScript =
    "( while kill -0 \"$5\" 2>/dev/null; do sleep 1; done; tmux -L \"$4\" kill-server ) "
    ">/dev/null 2>&1 &\n"
    "cd \"$1\" || exit 1\n"
    "sh -c 'echo $$ > \"$1/pid\"; exec \"$2\" 2>\"$1/stderr\"' sh \"$2\" \"$3\"\n"
    "code=$?\n"
    "stty -a > \"$2/stty\" 2>&1\n"
    "echo $code > \"$2/exit.tmp\" && mv \"$2/exit.tmp\" \"$2/exit\"\n"
    "exec sleep 3600\n";

}  // namespace

std::ostream& operator<<(std::ostream& out, const CellColour& colour) {
  return out << "fg " << colour.foreground << (colour.bright ? "+" : "") << " bg "
             << colour.background << (colour.blink ? "*" : "");
}

namespace {

// Appends the characters of `line` to `row`, starting in `colour` and
// leaving in it the colours in force at the line's end.
void parse_styled_line(std::string_view line, CellColour& colour, StyledRow& row) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == '\033' && i + 1 < line.size() && line[i + 1] == '[') {
      std::size_t end = line.find_first_of("ABCDEFGHJKSTfmnsu", i + 2);
      if (end == std::string_view::npos) break;
      if (line[end] == 'm') apply_sgr(sgr_codes(line.substr(i + 2, end - i - 2)), colour);
      i = end + 1;
      continue;
    }
    const std::size_t length =
        std::min(utf8_length(static_cast<unsigned char>(line[i])), line.size() - i);
    row.characters.emplace_back(line.substr(i, length));
    row.colours.push_back(colour);
    i += length;
  }
}

}  // namespace

StyledRow parse_styled_row(std::string_view line) {
  StyledRow row;
  CellColour colour;
  parse_styled_line(line, colour, row);
  return row;
}

std::vector<StyledRow> parse_styled_screen(std::string_view capture) {
  std::vector<StyledRow> rows;
  CellColour colour;
  while (!capture.empty()) {
    const std::size_t end = capture.find('\n');
    rows.emplace_back();
    parse_styled_line(capture.substr(0, end), colour, rows.back());
    if (end == std::string_view::npos) break;
    capture.remove_prefix(end + 1);
  }
  return rows;
}

TmuxSession::TmuxSession(Options options)
    : options_(std::move(options)), socket_(unique_socket_name()) {
  files_ = std::filesystem::temp_directory_path() / socket_;
  std::filesystem::create_directories(files_);
  std::vector<std::string> arguments = {"tmux",
                                        "-L",
                                        socket_,
                                        "-f",
                                        "/dev/null",
                                        "new-session",
                                        "-d",
                                        "-x",
                                        std::to_string(options_.columns),
                                        "-y",
                                        std::to_string(options_.rows),
                                        "-c",
                                        options_.working_dir.string(),
                                        "-e",
                                        "TERM=tmux-256color"};
  for (const auto& [name, value] : options_.environment) {
    arguments.push_back("-e");
    arguments.push_back(name + "=" + value);
  }
  for (const std::string& part :
       {std::string("/bin/sh"), std::string("-c"), std::string(kPaneScript), std::string("sh"),
        options_.working_dir.string(), files_.string(), options_.program.string(), socket_,
        std::to_string(portable::current_process_id())}) {
    arguments.push_back(part);
  }
  run_command(arguments, Output::discard);
}

TmuxSession::~TmuxSession() {
  try {
    run_command({"tmux", "-L", socket_, "kill-server"}, Output::discard);
  } catch (const std::exception&) {
    // The server may have ended already.
  }
  std::error_code ignored;
  std::filesystem::remove_all(files_, ignored);
}

std::string TmuxSession::tmux(const std::vector<std::string>& arguments) const {
  std::vector<std::string> full = {"tmux", "-L", socket_};
  full.insert(full.end(), arguments.begin(), arguments.end());
  return run_command(full);
}

void TmuxSession::send_keys(const std::vector<std::string>& keys) {
  std::vector<std::string> arguments = {"send-keys", "-t", "0"};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  tmux(arguments);
}

void TmuxSession::send_text(std::string_view text) {
  tmux({"send-keys", "-t", "0", "-l", std::string(text)});
}

std::string join_screen_rows(const std::vector<std::string>& rows, int columns) {
  std::string text;
  for (const std::string& row : rows) {
    text += row;
    // Columns are characters: UTF-8 continuation bytes take none.
    const auto used = std::count_if(row.begin(), row.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (used < columns) text.append(static_cast<std::size_t>(columns - used), ' ');
  }
  return text;
}

std::vector<std::string> TmuxSession::screen() const {
  std::vector<std::string> lines = split_lines(tmux({"capture-pane", "-p", "-t", "0"}));
  lines.resize(static_cast<std::size_t>(options_.rows));
  for (std::string& line : lines) line.erase(line.find_last_not_of(' ') + 1);
  return lines;
}

std::string TmuxSession::screen_dump() const {
  std::string dump = "screen:\n";
  int row = 0;
  for (const std::string& line : screen()) {
    dump += (row < 10 ? " " : "") + std::to_string(row) + "|" + line + "\n";
    ++row;
  }
  return dump;
}

CellColour TmuxSession::colour_at(int row, int column) const {
  const std::vector<StyledRow> rows =
      parse_styled_screen(tmux({"capture-pane", "-e", "-N", "-p", "-t", "0"}));
  if (row < 0 || row >= static_cast<int>(rows.size())) return CellColour{};
  const StyledRow& styled = rows[static_cast<std::size_t>(row)];
  if (column < 0 || column >= static_cast<int>(styled.colours.size())) return CellColour{};
  return styled.colours[static_cast<std::size_t>(column)];
}

::testing::AssertionResult TmuxSession::wait_until(const std::function<bool()>& condition,
                                                   std::string_view what,
                                                   std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (true) {
    if (condition()) return ::testing::AssertionSuccess();
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(kPollInterval);
  }
  return ::testing::AssertionFailure()
         << "timed out after " << deadline.count() << " ms waiting for " << what << "\n"
         << screen_dump() << "error output: " << error_output();
}

::testing::AssertionResult TmuxSession::wait_for_text(std::string_view text,
                                                      std::chrono::milliseconds deadline) {
  return wait_until(
      [&] { return join_screen_rows(screen(), options_.columns).find(text) != std::string::npos; },
      "\"" + std::string(text) + "\"", deadline);
}

::testing::AssertionResult TmuxSession::wait_for_text_at(int row, int column, std::string_view text,
                                                         std::chrono::milliseconds deadline) {
  return wait_until(
      [&] {
        std::vector<std::string> lines = screen();
        if (row < 0 || row >= static_cast<int>(lines.size())) return false;
        StyledRow styled = parse_styled_row(lines[static_cast<std::size_t>(row)]);
        std::string found;
        for (std::size_t c = static_cast<std::size_t>(column); c < styled.characters.size(); ++c) {
          found += styled.characters[c];
        }
        return found.starts_with(text);
      },
      "\"" + std::string(text) + "\" at row " + std::to_string(row) + " column " +
          std::to_string(column),
      deadline);
}

bool TmuxSession::has_exited() const { return std::filesystem::exists(files_ / "exit"); }

std::optional<int> TmuxSession::wait_for_exit(std::chrono::milliseconds deadline) {
  if (!wait_until([&] { return has_exited(); }, "the program to end", deadline))
    return std::nullopt;
  return std::stoi(read_whole(files_ / "exit").value_or("-1"));
}

int TmuxSession::program_pid(std::chrono::milliseconds deadline) {
  std::optional<std::string> text;
  const bool found = wait_until(
      [&] {
        text = read_whole(files_ / "pid");
        return text && !text->empty() && text->back() == '\n';
      },
      "the program's process id", deadline);
  if (!found) throw std::runtime_error("the program never wrote its process id");
  return std::stoi(*text);
}

std::string TmuxSession::error_output() const { return read_whole(files_ / "stderr").value_or(""); }

std::string TmuxSession::terminal_modes_after_exit() const {
  return read_whole(files_ / "stty").value_or("");
}

std::string TmuxSession::pane_format(std::string_view format) const {
  std::string value = tmux({"display-message", "-p", "-t", "0", std::string(format)});
  while (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

}  // namespace e2e

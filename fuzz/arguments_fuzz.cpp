// Any words typed after the command-line tool's name are parsed without
// failing, and what the parser accepts is a command its subcommand allows:
// known options only, the required ones present, the number of operands in
// range. Writing an accepted command back as words ("--name=value" for each
// option, then "--" and the operands) parses to the same command.
// Input: the words, separated by NUL bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "tools/cli/arguments.h"

namespace {

std::vector<std::string_view> split_words(std::string_view bytes) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\0', start);
    if (end == std::string_view::npos) end = bytes.size();
    words.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  if (bytes.empty()) words.clear();
  return words;
}

bool listed(const std::vector<std::string_view>& names, std::string_view name) {
  for (std::string_view listed_name : names) {
    if (listed_name == name) return true;
  }
  return false;
}

void check_allowed(const cli::ParsedCommand& command) {
  const cli::CommandSyntax* syntax = cli::find_syntax(command.subcommand);
  FUZZ_CHECK(syntax != nullptr, "accepted an unknown subcommand \"%s\"",
             command.subcommand.c_str());
  for (const auto& [name, value] : command.options) {
    const bool common = name == "help" || name == "json" || name == "quiet";
    const bool flag = common || listed(syntax->flags, name);
    FUZZ_CHECK(flag || listed(syntax->valued, name), "accepted unknown option --%s", name.c_str());
    FUZZ_CHECK(!flag || value.empty(), "flag --%s holds a value", name.c_str());
  }
  if (command.help()) return;
  for (std::string_view name : syntax->required) {
    FUZZ_CHECK(command.has(name), "accepted without --%.*s", static_cast<int>(name.size()),
               name.data());
  }
  FUZZ_CHECK(command.operands.size() >= syntax->min_operands &&
                 command.operands.size() <= syntax->max_operands,
             "accepted %zu operands", command.operands.size());
}

std::vector<std::string> written_back(const cli::ParsedCommand& command) {
  std::vector<std::string> words{command.subcommand};
  for (const auto& [name, value] : command.options) {
    const cli::CommandSyntax* syntax = cli::find_syntax(command.subcommand);
    const bool valued = listed(syntax->valued, name);
    words.push_back("--" + name + (valued ? "=" + value : ""));
  }
  words.emplace_back("--");
  words.insert(words.end(), command.operands.begin(), command.operands.end());
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto words = split_words(std::string_view(reinterpret_cast<const char*>(data), size));
  const cli::ParsedCommand command = cli::parse_arguments(words);
  if (!command.error.empty()) return 0;
  // "help" and "--help" as the first word name no subcommand to check against.
  if (!words.empty() && (words[0] == "help" || words[0] == "--help" || words[0] == "-h")) {
    return 0;
  }
  check_allowed(command);
  const std::vector<std::string> again_words = written_back(command);
  const cli::ParsedCommand again =
      cli::parse_arguments(std::vector<std::string_view>(again_words.begin(), again_words.end()));
  FUZZ_CHECK(again.error.empty(), "the command written back is refused: %s", again.error.c_str());
  FUZZ_CHECK(again.subcommand == command.subcommand && again.options == command.options &&
                 again.operands == command.operands,
             "the command written back parses differently");
  return 0;
}

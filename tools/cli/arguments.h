#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One subcommand as typed: its options (by name, without the dashes; a flag
// holds "") and its operands (files, folders), in order.
struct ParsedCommand {
  std::string subcommand;
  std::map<std::string, std::string, std::less<>> options;
  std::vector<std::string> operands;
  // Set when the words do not make a valid command: what is wrong, in one
  // sentence for the user. The other fields then hold what was read so far.
  std::string error;

  bool has(std::string_view name) const { return options.find(name) != options.end(); }
  std::optional<std::string> value(std::string_view name) const;
  bool help() const { return has("help"); }
  bool version() const { return has("version"); }
  bool json() const { return has("json"); }
  bool quiet() const { return has("quiet"); }
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// What a subcommand accepts: options that take a value, flags, which of the
// valued options must be given, and how many operands.
struct CommandSyntax {
  std::string_view name;
  std::vector<std::string_view> valued;
  std::vector<std::string_view> flags;
  std::vector<std::string_view> required;
  std::size_t min_operands = 0;
  std::size_t max_operands = kAnyNumber;
  std::string_view operand_name;
};

// The subcommands, in the order the general help lists them.
const std::vector<CommandSyntax>& command_syntaxes();
const CommandSyntax* find_syntax(std::string_view name);

// Reads the words after the program name. "--name value" and "--name=value"
// both set a valued option; "--" ends the options; "-h" is "--help";
// "--version" in the place of the subcommand asks for the version. Every
// subcommand accepts --help, --json and --quiet. With --help nothing else is
// required. No side effects: the result depends on the words alone.
ParsedCommand parse_arguments(const std::vector<std::string_view>& words);

}  // namespace cli

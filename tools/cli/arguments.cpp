#include "tools/cli/arguments.h"

#include <algorithm>

namespace cli {

namespace {

bool contains(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool is_common_flag(std::string_view name) {
  return name == "help" || name == "json" || name == "quiet";
}

// Checks what only the whole command can tell: required options and the
// number of operands.
std::string check_complete(const CommandSyntax& syntax, const ParsedCommand& command) {
  for (std::string_view name : syntax.required) {
    if (!command.has(name)) return "missing option --" + std::string(name);
  }
  const std::size_t count = command.operands.size();
  if (count < syntax.min_operands) {
    return "missing " + std::string(syntax.operand_name);
  }
  if (count > syntax.max_operands && syntax.max_operands == 0) {
    return "unexpected operand \"" + command.operands.front() + "\"";
  }
  if (count > syntax.max_operands) {
    return "too many operands: expected at most " + std::to_string(syntax.max_operands) + " " +
           std::string(syntax.operand_name);
  }
  return {};
}

}  // namespace

std::optional<std::string> ParsedCommand::value(std::string_view name) const {
  const auto found = options.find(name);
  if (found == options.end()) return std::nullopt;
  return found->second;
}

const std::vector<CommandSyntax>& command_syntaxes() {
  static const std::vector<CommandSyntax> syntaxes = {
      {"validate", {}, {}, {}, 1, kAnyNumber, "FILE"},
      {"cadena", {}, {"tfd"}, {}, 1, 1, "FILE"},
      {"check", {"pac-cer"}, {}, {}, 1, kAnyNumber, "FILE"},
      {"seal",
       {"cer", "key", "password", "jobs", "out"},
       {},
       {"cer", "key", "password"},
       1,
       kAnyNumber,
       "FILE or DIR"},
      {"stamp",
       {"cer", "key", "password", "user", "secret", "jobs", "out"},
       {},
       {"cer", "key", "password"},
       1,
       kAnyNumber,
       "FILE or DIR"},
      {"status", {"user", "uuid", "issuer", "receiver", "total"}, {}, {}, 0, 1, "FILE"},
      {"cancel",
       {"cer", "key", "password", "user", "uuid", "issuer", "receiver", "total", "motivo",
        "sustituto"},
       {},
       {"cer", "key", "password", "motivo"},
       0,
       1,
       "FILE"},
      {"ack", {"user", "uuid", "issuer", "out"}, {}, {}, 0, 1, "FILE"},
      {"balance", {"user", "secret"}, {}, {}, 0, 0, ""},
      {"cer64", {}, {}, {}, 1, 1, "CERTIFICATE"},
      {"qr", {"text", "out"}, {}, {"out"}, 0, 1, "FILE"},
      {"pdf", {"out", "jobs"}, {}, {}, 1, kAnyNumber, "FILE"},
  };
  return syntaxes;
}

const CommandSyntax* find_syntax(std::string_view name) {
  for (const auto& syntax : command_syntaxes()) {
    if (syntax.name == name) return &syntax;
  }
  return nullptr;
}

ParsedCommand parse_arguments(const std::vector<std::string_view>& words) {
  ParsedCommand command;
  if (words.empty()) {
    command.error = "missing subcommand";
    return command;
  }
  std::size_t next = 0;
  if (words[0] == "--version") {
    command.options.emplace("version", "");
    return command;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    command.options.emplace("help", "");
    // "help stamp" asks for the help of one subcommand.
    if (words.size() > 1) command.subcommand = words[1];
    return command;
  }
  command.subcommand = words[next++];
  const CommandSyntax* syntax = find_syntax(command.subcommand);
  if (syntax == nullptr) {
    command.error = "unknown subcommand \"" + command.subcommand + "\"";
    return command;
  }
  bool options_ended = false;
  while (next < words.size()) {
    const std::string_view word = words[next++];
    if (options_ended || word == "-" || !word.starts_with("-")) {
      command.operands.emplace_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    if (word == "-h") {
      command.options.insert_or_assign("help", "");
      continue;
    }
    if (!word.starts_with("--")) {
      command.error = "unknown option " + std::string(word);
      return command;
    }
    std::string_view name = word.substr(2);
    std::optional<std::string_view> inline_value;
    if (const auto equals = name.find('='); equals != std::string_view::npos) {
      inline_value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (is_common_flag(name) || contains(syntax->flags, name)) {
      if (inline_value) {
        command.error = "option --" + std::string(name) + " takes no value";
        return command;
      }
      command.options.insert_or_assign(std::string(name), "");
    } else if (contains(syntax->valued, name)) {
      if (!inline_value) {
        if (next >= words.size()) {
          command.error = "option --" + std::string(name) + " needs a value";
          return command;
        }
        inline_value = words[next++];
      }
      command.options.insert_or_assign(std::string(name), std::string(*inline_value));
    } else {
      command.error =
          "unknown option --" + std::string(name) + " for \"" + command.subcommand + "\"";
      return command;
    }
  }
  if (!command.help()) command.error = check_complete(*syntax, command);
  return command;
}

}  // namespace cli

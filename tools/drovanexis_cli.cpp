// drovanexis: the command line of the invoicing library. It judges, seals,
// stamps and manages CFDI files from the shell on the library's own code.
// See "drovanexis --help" and tools/cli/help_texts.cpp.

#include <libxml/parser.h>

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/cli/arguments.h"
#include "tools/cli/batch_commands.h"
#include "tools/cli/help_texts.h"
#include "tools/cli/inspect_commands.h"
#include "tools/cli/output.h"
#include "tools/cli/pdf_command.h"
#include "tools/cli/service_commands.h"

namespace {

using Runner = int (*)(const cli::ParsedCommand&, std::ostream&, std::ostream&);

Runner runner_for(std::string_view subcommand) {
  static constexpr std::pair<std::string_view, Runner> kRunners[] = {
      {"validate", cli::run_validate}, {"cadena", cli::run_cadena}, {"check", cli::run_check},
      {"seal", cli::run_seal},         {"stamp", cli::run_stamp},   {"status", cli::run_status},
      {"cancel", cli::run_cancel},     {"ack", cli::run_ack},       {"balance", cli::run_balance},
      {"cer64", cli::run_cer64},       {"qr", cli::run_qr},         {"pdf", cli::run_pdf},
  };
  for (const auto& [name, runner] : kRunners) {
    if (name == subcommand) return runner;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> words(argv + 1, argv + argc);
  const cli::ParsedCommand command = cli::parse_arguments(words);
  if (command.version()) {
    std::cout << cli::version_text();
    return cli::kExitOk;
  }
  if (command.help()) {
    const std::string_view text = cli::command_help(command.subcommand);
    std::cout << (text.empty() ? cli::general_help() : text);
    return cli::kExitOk;
  }
  if (!command.error.empty()) {
    std::cerr << "drovanexis";
    if (!command.subcommand.empty() && cli::find_syntax(command.subcommand)) {
      std::cerr << " " << command.subcommand;
    }
    std::cerr << ": " << cli::shown(command.error) << "\n(see \"drovanexis "
              << (cli::find_syntax(command.subcommand) ? command.subcommand + " " : "")
              << "--help\")\n";
    return cli::kExitUsage;
  }
  // The workers of "stamp" parse in parallel; the parser is set up once here.
  xmlInitParser();
  try {
    return runner_for(command.subcommand)(command, std::cout, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "drovanexis " << command.subcommand << ": " << cli::shown(error.what()) << "\n";
    return cli::kExitNotClean;
  }
}

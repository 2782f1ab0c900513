// The command line's file handling, from the words typed to what it prints:
// a file of any content under a hostile name goes through the argument parser
// and the subcommands that read documents (validate, cadena, check, qr). Each
// run ends with an exit code of the documented set, prints valid UTF-8 on
// standard error and in --json output with no control character but the line
// ends, and leaves its input file as it was (qr is asked to write over it).
//
// Input: byte 0 picks the subcommand, byte 1 the file name, bytes 2-3 a
// repeat count N; the rest is "head \0 fragment \0 tail", and the file holds
// head, then the fragment N times with each '#' replaced by the repeat's
// number, then tail. So a few bytes make files of hundreds of KiB: many
// distinct names, deep nesting, long values.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "portable/cp1252.h"
#include "tools/cli/arguments.h"
#include "tools/cli/inspect_commands.h"
#include "tools/cli/output.h"
#include "tools/cli/service_commands.h"

namespace {

using Runner = int (*)(const cli::ParsedCommand&, std::ostream&, std::ostream&);

struct Subcommand {
  std::vector<std::string> words;  // before the file name
  Runner run;
  bool out_is_json;
  bool out_is_lines;         // findings or checks, one per line
  bool name_as_out = false;  // the file is also named as the output
};

const Subcommand kSubcommands[] = {
    {{"validate"}, cli::run_validate, false, true},
    {{"validate", "--json"}, cli::run_validate, true, false},
    {{"cadena"}, cli::run_cadena, false, false},
    {{"cadena", "--json"}, cli::run_cadena, true, false},
    {{"cadena", "--tfd", "--json"}, cli::run_cadena, true, false},
    {{"check"}, cli::run_check, false, true},
    {{"check", "--json"}, cli::run_check, true, false},
    {{"qr", "--json", "--out"}, cli::run_qr, true, false, true},
    {{"qr", "--json", "--out", "qr.bmp"}, cli::run_qr, true, false},
};

const char* const kNames[] = {"in.xml", "caf\xE9.xml", "esc\x1B[2J.xml", "new\nline.xml",
                              "\xC2\x9B"
                              "c1.xml"};

// Only the line ends: no other C0 or DEL byte, no C1 control (U+0080-U+009F).
bool only_line_ends_as_controls(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\n') || c == 0x7F) return false;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      return false;
    }
  }
  return true;
}

std::string file_content(std::string_view rest, std::size_t repeats) {
  const std::size_t first = rest.find('\0');
  const std::string_view head = rest.substr(0, first);
  std::string_view fragment;
  std::string_view tail;
  if (first != std::string_view::npos) {
    const std::size_t second = rest.find('\0', first + 1);
    fragment =
        rest.substr(first + 1, second == std::string_view::npos ? second : second - first - 1);
    if (second != std::string_view::npos) tail = rest.substr(second + 1);
  }
  std::string content(head);
  for (std::size_t n = 0; n < repeats && !fragment.empty(); ++n) {
    for (const char c : fragment) {
      if (c == '#') {
        content += std::to_string(n);
      } else {
        content += c;
      }
    }
  }
  return content.append(tail);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every file is written in a private folder of its own.
  std::string folder = (std::filesystem::temp_directory_path() / "cli-files-fuzz-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr || ::chdir(folder.c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const Subcommand& subcommand = kSubcommands[data[0] % std::size(kSubcommands)];
  const std::string name = kNames[data[1] % std::size(kNames)];
  const std::size_t repeats = static_cast<std::size_t>(data[2]) << 8 | data[3];
  const std::string content =
      file_content(std::string_view(reinterpret_cast<const char*>(data) + 4, size - 4), repeats);
  std::ofstream(name, std::ios::binary | std::ios::trunc) << content;

  std::vector<std::string> words = subcommand.words;
  if (subcommand.name_as_out) words.push_back(name);
  words.push_back(name);
  const cli::ParsedCommand command =
      cli::parse_arguments(std::vector<std::string_view>(words.begin(), words.end()));
  FUZZ_CHECK(command.error.empty(), "the words were refused: %s", command.error.c_str());

  std::ostringstream out;
  std::ostringstream err;
  const int exit_code = subcommand.run(command, out, err);
  FUZZ_CHECK(
      exit_code == cli::kExitOk || exit_code == cli::kExitNotClean || exit_code == cli::kExitUsage,
      "exit code %d", exit_code);
  const std::string printed = out.str();
  const std::string errors = err.str();
  FUZZ_CHECK(portable::is_valid_utf8(errors), "standard error is not UTF-8: %s", errors.c_str());
  FUZZ_CHECK(only_line_ends_as_controls(errors), "a control character on standard error: %s",
             errors.c_str());
  if (subcommand.out_is_json) {
    FUZZ_CHECK(portable::is_valid_utf8(printed), "the JSON is not UTF-8: %s", printed.c_str());
    FUZZ_CHECK(
        printed.empty() || (printed.back() == '\n' && printed.find('\n') == printed.size() - 1 &&
                            only_line_ends_as_controls(printed)),
        "the JSON is not one line of text: %s", printed.c_str());
  }
  if (subcommand.out_is_lines) {
    FUZZ_CHECK(only_line_ends_as_controls(printed), "a control character in a finding: %s",
               printed.c_str());
  }
  std::ifstream again(name, std::ios::binary);
  const std::string kept((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
  FUZZ_CHECK(kept == content, "the input file %s was changed", name.c_str());
  std::filesystem::remove(name);
  return 0;
}

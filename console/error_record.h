#pragma once
// The error record: the description of one run-time error, filled by whoever
// raises it and read by the error handler (error_handler.h). It also holds
// the generic codes with their standard descriptions and the texts built
// from a record: the message, the "(DOS Error N)" text and the argument
// text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/call_stack.h"

namespace console {

// Classes of errors. The handler resolves zero_divisor, open_error (with a
// sharing violation), append_lock_failed and lock_failure by itself.
namespace generic_code {
constexpr int unknown = 0;
constexpr int argument = 1;
constexpr int bound = 2;
constexpr int zero_divisor = 5;
constexpr int memory_low = 11;
constexpr int undefined_function = 12;
constexpr int create_error = 20;
constexpr int open_error = 21;
constexpr int read_error = 23;
constexpr int write_error = 24;
constexpr int append_lock_failed = 40;
constexpr int lock_failure = 41;
}  // namespace generic_code

// Operating-system code of a sharing violation on open.
constexpr int os_sharing_violation = 32;

// The standard description of a generic code ("Open error" for 21); "" for
// numbers that have none.
std::string_view standard_description(int generic_code);

// One value that the failing operation received, as the error report shows
// it: a type letter (C text, N number, L logical, D date, A list, B routine,
// O object, U absent) and, unless absent, the value as text.
struct ErrorArgument {
  char type = 'U';
  std::optional<std::string> value;

  static ErrorArgument absent() { return {}; }
  static ErrorArgument text(std::string value) { return {'C', std::move(value)}; }
  static ErrorArgument number(long long value) { return {'N', std::to_string(value)}; }
  static ErrorArgument number(double value);
  static ErrorArgument logical(bool value) { return {'L', value ? ".T." : ".F."}; }
  // A value of another kind (date, list, routine, object) with its text.
  static ErrorArgument other(char type_letter, std::string value) {
    return {type_letter, std::move(value)};
  }
};

struct ErrorRecord {
  int severity = 2;  // 1 warning, above 1 error
  int generic_code = generic_code::unknown;
  std::optional<std::string> subsystem;  // nullopt shows as "???"
  std::optional<int> subcode;            // nullopt shows as "???"
  std::optional<std::string> description;
  std::string operation;
  std::string file_name;
  int os_code = 0;
  std::optional<std::vector<ErrorArgument>> arguments;
  bool can_retry = false;
  bool can_default = false;
  // Where the error was raised, and the routines further up the call chain
  // (the caller of that routine first).
  std::string routine;
  int line = 0;
  std::string module;
  std::vector<Frame> callers;

  // A record of the given class and component, with the standard description
  // of the class, raised in the routine that runs now.
  static ErrorRecord raised_here(int generic_code, std::string subsystem, int subcode);

  // Sets routine, line, module and callers from a call chain given innermost
  // first; an empty chain leaves them empty.
  void locate(const std::vector<Frame>& innermost_first);
};

// "Error BASE/1127  VIEWTEXT: <nTop> Argument type error", followed by
// " Arguments: (...)" when the record has an argument list.
std::string error_message(const ErrorRecord& record);
// "(DOS Error 2)".
std::string dos_error_text(int os_code);
// " [ 1] = Type: C Val: abc [ 2] = Type: U" for the arguments in order.
std::string argument_text(const std::vector<ErrorArgument>& arguments);

}  // namespace console

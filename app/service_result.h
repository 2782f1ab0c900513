#pragma once
// What the three cancellation services (options 9-11) share: the message that
// goes with a service's result code, and the screen that shows the outcome.

#include <optional>
#include <source_location>
#include <span>
#include <string_view>

namespace app {

// One row of a service's table of result codes.
struct ResultMessage {
  int code;
  std::string_view message;  // Windows-1252 bytes
};

// The message of the first row whose code equals `code`; nothing for a code
// the table does not list.
std::optional<std::string_view> result_message(std::span<const ResultMessage> table, int code);

// The split result screen for a service that answered `code`: the title
// (given without its trailing blanks, `title_blanks` follow it), the code's
// message on row 4 and the service's result file beside its log.
void show_service_result(std::string_view title, std::size_t title_blanks,
                         std::span<const ResultMessage> table, int code,
                         std::string_view result_file, std::string_view log_file,
                         std::source_location caller = std::source_location::current());

}  // namespace app

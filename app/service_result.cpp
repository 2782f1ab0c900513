#include "app/service_result.h"

#include "app/pages.h"
#include "app/pages_texts.h"

namespace app {

std::optional<std::string_view> result_message(std::span<const ResultMessage> table, int code) {
  for (const ResultMessage& row : table) {
    if (row.code == code) return row.message;
  }
  return std::nullopt;
}

void show_service_result(std::string_view title, std::size_t title_blanks,
                         std::span<const ResultMessage> table, int code,
                         std::string_view result_file, std::string_view log_file,
                         std::source_location caller) {
  show_split_result(pages_banner_text(title, title_blanks), result_message(table, code),
                    result_file, log_file, caller);
}

}  // namespace app

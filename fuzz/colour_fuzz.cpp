// A colour string applied to the table, written back with to_string() and
// applied to a fresh table, gives the same five colour values.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/colour.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  console::ColourTable table;
  table.apply(text);
  const std::string written = table.to_string();
  console::ColourTable again;
  again.apply(written);
  for (int i = 0; i < console::ColourTable::slot_count; ++i) {
    const auto& first = table.slot(i);
    const auto& second = again.slot(i);
    FUZZ_CHECK(first == second,
               "slot %d: \"%.*s\" gives attr %02X (underline %d/%d), written \"%s\" reads as "
               "%02X (%d/%d)",
               i, static_cast<int>(text.size()), text.data(), first.attr,
               first.foreground_underline, first.background_underline, written.c_str(), second.attr,
               second.foreground_underline, second.background_underline);
  }
  return 0;
}

#include "binding/entry_table.h"

#include <algorithm>
#include <cctype>

namespace binding {
namespace {

constexpr Entry kEntries[] = {
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result) \
  {#binding_name, #entry_name, params, ResultKind::result},
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY
};

constexpr std::size_t kMaxBindingNameLength = 63;

}  // namespace

std::span<const Entry> entry_table() { return kEntries; }

const Entry& entry(EntryId id) { return kEntries[static_cast<std::size_t>(id)]; }

std::string binding_name_for(std::string_view entry_name) {
  std::string name(entry_name.substr(0, kMaxBindingNameLength));
  std::transform(name.begin(), name.end(), name.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  return name;
}

}  // namespace binding

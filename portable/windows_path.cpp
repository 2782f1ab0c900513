#include "portable/windows_path.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace portable {
namespace {

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The entry of `folder` whose name equals `name` without regard to case; an
// exact match wins. Empty when there is none.
std::filesystem::path find_entry(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ec;
  const auto exact = folder / name;
  if (std::filesystem::exists(std::filesystem::symlink_status(exact, ec))) return exact;
  const auto where = folder.empty() ? std::filesystem::path(".") : folder;
  for (std::filesystem::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
    const auto entry_name = it->path().filename().string();
    if (equal_ignoring_case(entry_name, name)) return folder / entry_name;
  }
  return {};
}

}  // namespace

std::filesystem::path to_native_path(std::string_view windows_name) {
  std::string name(windows_name);
  std::replace(name.begin(), name.end(), '\\', '/');
  while (name.size() > 2 && name.compare(0, 2, "./") == 0) name.erase(0, 2);
  return std::filesystem::path(name);
}

std::filesystem::path resolve_path(std::string_view windows_name) {
  const auto native = to_native_path(windows_name);
  std::error_code ec;
  if (native.empty() || std::filesystem::exists(native, ec)) return native;

  std::filesystem::path resolved = native.root_path();
  for (const auto& part : native.relative_path()) {
    const auto name = part.string();
    if (name.empty()) continue;
    if (name == "." || name == "..") {
      resolved /= part;
      continue;
    }
    const auto found = find_entry(resolved, name);
    if (found.empty()) return native;
    resolved = found;
  }
  return resolved;
}

}  // namespace portable

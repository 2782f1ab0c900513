#include "binding/library_loader.h"

#include <cstdlib>
#include <system_error>

#include "binding/library_error.h"
#include "portable/dynamic_library.h"

namespace binding {
namespace {

std::string in_quotes(const std::string& text) { return "\"" + text + "\""; }

portable::DynamicLibrary open_invoicing_library() {
  auto location = locate_library(std::getenv(kLibraryVariable), portable::executable_folder());
  std::string reason;
  const portable::DynamicLibrary library = portable::open_dynamic_library(location.file, reason);
  if (!library.handle) {
    throw LibraryError("cannot load the invoicing library " + in_quotes(location.file) + " (" +
                       location.looked_where + "): " + reason);
  }
  return library;
}

}  // namespace

LibraryLocation locate_library(const char* named_file,
                               const std::filesystem::path& executable_dir) {
  if (named_file && *named_file) {
    return {named_file, std::string("named by ") + kLibraryVariable};
  }
  if (!executable_dir.empty()) {
    auto beside = executable_dir / kLibraryFileName;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return {beside.string(), "beside the executable"};
  }
  return {kLibraryFileName, "looked for beside the executable in " + executable_dir.string() +
                                " and through the system's library search"};
}

void* open_library() { return open_invoicing_library().handle; }

void* entry_address(const Entry& entry) {
  const portable::DynamicLibrary library = open_invoicing_library();
  const std::string name(entry.entry_name);
  void* address = portable::find_entry(library, name);
  if (!address) {
    // The file the loader actually opened, so that the message names the
    // real file even when the system's search found it.
    const std::string file = portable::loaded_library_file(library, kLibraryFileName);
    throw LibraryError("the invoicing library " + in_quotes(file) + " has no entry " +
                       in_quotes(name));
  }
  return address;
}

}  // namespace binding

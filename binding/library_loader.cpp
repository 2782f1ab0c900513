#include "binding/library_loader.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <system_error>

#include "binding/library_error.h"

namespace binding {
namespace {

std::filesystem::path executable_dir() {
  std::error_code error;
  auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

std::string in_quotes(const std::string& text) { return "\"" + text + "\""; }

// The file the loader actually opened, so that messages name the real file
// even when the system's search found it.
std::string loaded_file(void* library, const std::string& fallback) {
  link_map* map = nullptr;
  if (dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name) {
    return map->l_name;
  }
  return fallback;
}

std::string last_loader_error() {
  const char* reason = dlerror();
  return reason ? reason : "unknown reason";
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

void* open_library() {
  auto location = locate_library(std::getenv(kLibraryVariable), executable_dir());
  void* library = dlopen(location.file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    throw LibraryError("cannot load the invoicing library " + in_quotes(location.file) + " (" +
                       location.looked_where + "): " + last_loader_error());
  }
  return library;
}

void* entry_address(const Entry& entry) {
  void* library = open_library();
  const std::string name(entry.entry_name);
  dlerror();
  void* address = dlsym(library, name.c_str());
  if (!address) {
    const std::string file = loaded_file(library, kLibraryFileName);
    throw LibraryError("the invoicing library " + in_quotes(file) + " has no entry " +
                       in_quotes(name));
  }
  return address;
}

}  // namespace binding

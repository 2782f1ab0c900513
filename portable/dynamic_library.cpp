#include "portable/dynamic_library.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>
#include <system_error>

namespace portable {

DynamicLibrary open_dynamic_library(const std::string& file, std::string& error) {
  DynamicLibrary library{dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)};
  if (library.handle == nullptr) {
    const char* reason = dlerror();
    error = reason ? reason : "unknown reason";
  }
  return library;
}

void* find_entry(const DynamicLibrary& library, const std::string& name) {
  if (library.handle == nullptr) return nullptr;
  dlerror();
  return dlsym(library.handle, name.c_str());
}

std::string loaded_library_file(const DynamicLibrary& library, const std::string& fallback) {
  link_map* map = nullptr;
  if (library.handle != nullptr && dlinfo(library.handle, RTLD_DI_LINKMAP, &map) == 0 && map &&
      map->l_name && *map->l_name) {
    return map->l_name;
  }
  return fallback;
}

std::string library_file_of(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
  return info.dli_fname;
}

std::string executable_folder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : executable.parent_path().string();
}

}  // namespace portable

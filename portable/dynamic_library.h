#pragma once
// Loading a shared library at run time and finding its entries: the one place
// that talks to the system's dynamic loader.

#include <string>

namespace portable {

// An opened library; the handle stays valid for the life of the process
// (libraries are never unloaded).
struct DynamicLibrary {
  void* handle = nullptr;
};

// Opens the library file (a bare name goes through the system's library
// search). On failure the handle is null and `error` says why.
DynamicLibrary open_dynamic_library(const std::string& file, std::string& error);

// The address of the named entry, or null when the library has none.
void* find_entry(const DynamicLibrary& library, const std::string& name);

// The file the loader actually opened for the library, or `fallback`.
std::string loaded_library_file(const DynamicLibrary& library, const std::string& fallback);

// The file of the loaded library that holds `address`, or "" when none does.
std::string library_file_of(const void* address);

// The folder of the running executable, or an empty path when unknown.
std::string executable_folder();

}  // namespace portable

#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "document/document.h"
#include "document/entry_building.h"
#include "document/tree_building.h"

// Helpers that keep each exported entry a thin conversion layer: arguments
// arrive as C values in Windows-1252 and leave as UTF-8 C++ values, and no
// exception ever reaches the caller.
namespace drovanexis::api {

using Builder = void (*)(Document&, const Values&);

// A Windows-1252 text as UTF-8; a null pointer is the empty (absent) value.
std::string utf8(const char* text);

// A file name handed to any entry: Windows-1252 as every text, made UTF-8
// because that is how this system names files; the Windows-style rules (".\",
// backslashes, letter case) are applied where the file is opened. Null is "".
std::string file_name(const char* name);

// A password handed to any entry (a key's, an account's): Windows-1252 made
// UTF-8 as the keys and accounts made on this system hold them, so that
// "contraseña" typed on either side is the same password. Never logged.
// Null is "".
std::string secret(const char* password);

// The log file of the entries that take none: the document's own log file
// (Drovanexis_SetLogFile) when the handle names one, else "Drovanexis.log".
std::string log_file_of(std::int32_t handle);

// Runs a builder on the document of `handle` with the given texts; unknown
// handles are ignored and any error is swallowed (building entries return
// nothing, and a half-applied call leaves a tree that validation reports).
void build(std::int32_t handle, Builder builder, std::initializer_list<const char*> texts);

// Applies one call of a document-building entry of the entry table to the
// document of `handle`, with the same rules as build().
void build_entry(std::int32_t handle, const DocumentEntrySpec& entry,
                 std::initializer_list<const char*> texts);

// Calls fn and returns its result, or `failure` if it throws.
template <typename Result, typename Fn>
Result guarded(Result failure, Fn&& fn) noexcept {
  try {
    return fn();
  } catch (...) {
    return failure;
  }
}

}  // namespace drovanexis::api

#pragma once

// One function per entry of the invoicing library, named by its binding name:
//
//   int h = DROVANEXIS_NEW("3.3");
//   std::string uuid = DROVANEXIS_GETVALUE(h, 9);
//   DROVANEXIS_FREE(h);
//
// Each takes any number of arguments (numbers, const char*, std::string,
// binding::absent or nullptr), converts them by the entry's parameter kinds
// (a missing text is a null pointer, a missing integer 0, extra arguments are
// dropped), calls the entry and returns its result: std::int32_t for an
// integer result, std::string for a text result (a null text becomes ""),
// nothing otherwise. A library that cannot be loaded, or that lacks the
// entry, raises binding::LibraryError.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>

#include "binding/argument.h"
#include "binding/entry_call.h"
#include "binding/entry_table.h"
#include "binding/library_error.h"

namespace binding {

template <ResultKind kind>
struct ResultOf {
  using type = void;
};
template <>
struct ResultOf<ResultKind::Integer> {
  using type = std::int32_t;
};
template <>
struct ResultOf<ResultKind::Text> {
  using type = std::string;
};

template <ResultKind kind>
typename ResultOf<kind>::type call_as(EntryId id, std::initializer_list<Arg> args) {
  CallResult result = call_entry(entry(id), std::span<const Arg>(args.begin(), args.size()));
  if constexpr (kind == ResultKind::Integer) {
    return result.integer;
  } else if constexpr (kind == ResultKind::Text) {
    return std::move(result.text);
  }
}

}  // namespace binding

#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result)                                \
  template <typename... Args>                                                                     \
  inline binding::ResultOf<binding::ResultKind::result>::type binding_name(const Args&... args) { \
    return binding::call_as<binding::ResultKind::result>(binding::EntryId::binding_name,          \
                                                         {binding::Arg(args)...});                \
  }
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY

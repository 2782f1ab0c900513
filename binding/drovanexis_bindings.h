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
//
// Before it is made, each call hands its place in the source to the call-site
// observer (see binding/call_site.h), so that a failing call can be reported
// at its own line.

#include <cstdint>
#include <initializer_list>
#include <source_location>
#include <span>
#include <string>
#include <utility>

#include "binding/argument.h"
#include "binding/call_site.h"
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
typename ResultOf<kind>::type call_as(EntryId id, const std::source_location& call_site,
                                      std::initializer_list<Arg> args) {
  notify_call_site(call_site);
  CallResult result = call_entry(entry(id), std::span<const Arg>(args.begin(), args.size()));
  if constexpr (kind == ResultKind::Integer) {
    return result.integer;
  } else if constexpr (kind == ResultKind::Text) {
    return std::move(result.text);
  }
}

}  // namespace binding

// Two overloads per entry: the call without arguments takes its place as a
// defaulted parameter, any other call through its first argument.
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result)                                \
  inline binding::ResultOf<binding::ResultKind::result>::type binding_name(                       \
      std::source_location call_site = std::source_location::current()) {                         \
    return binding::call_as<binding::ResultKind::result>(binding::EntryId::binding_name,          \
                                                         call_site, {});                          \
  }                                                                                               \
  template <typename... Rest>                                                                     \
  inline binding::ResultOf<binding::ResultKind::result>::type binding_name(                       \
      const binding::FirstArg& first, const Rest&... rest) {                                      \
    return binding::call_as<binding::ResultKind::result>(                                         \
        binding::EntryId::binding_name, first.call_site(), {first.arg(), binding::Arg(rest)...}); \
  }
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY

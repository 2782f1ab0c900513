// The invoicing library's public C header against the binding's table: the
// loader only matches entry names, so a parameter or result kind that differs
// from the table would go unnoticed at run time. Here the compiler compares
// each declared function's type with the one the table describes.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "binding/entry_table.h"
#include "drovanexis/include/drovanexis.h"

namespace {

using binding::ParamKind;
using binding::ResultKind;

template <ParamKind kind>
using CParam = std::conditional_t<kind == ParamKind::Integer, std::int32_t, const char*>;

template <ResultKind kind>
using CResult = std::conditional_t<kind == ResultKind::Integer, std::int32_t,
                                   std::conditional_t<kind == ResultKind::Text, const char*, void>>;

// The function pointer type of an entry whose parameter list `make_params()` returns.
template <auto make_params, ResultKind result, std::size_t... index>
auto pointer_type(std::index_sequence<index...>)
    -> CResult<result> (*)(CParam<make_params()[index]>...);

template <auto make_params, ResultKind result>
using EntryPointer =
    decltype(pointer_type<make_params, result>(std::make_index_sequence<make_params().size()>{}));

TEST(LibraryHeader, DeclaresEveryEntryWithTheTablesKinds) {
  std::string differing;
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result)                         \
  if (!std::is_same_v<decltype(&::entry_name),                                             \
                      EntryPointer<[] { return binding::params; }, ResultKind::result>>) { \
    differing += "\n  " #entry_name;                                                       \
  }
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY
  EXPECT_EQ(differing, "") << "declared with other parameter or result kinds than the table";
}

}  // namespace

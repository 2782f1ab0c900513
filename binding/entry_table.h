#pragma once

// The table of the invoicing library's entries: for each one its binding name,
// its exact library entry name, the kinds of its parameters in call order and
// the kind of its result. The rows come from entry_list.inc.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace binding {

enum class ParamKind : std::uint8_t { Integer, Text };
enum class ResultKind : std::uint8_t { Integer, Text, None };

// The parameter kinds of one entry, in call order.
class ParamList {
 public:
  static constexpr std::size_t kMaxParams = 32;

  constexpr ParamList() = default;

  constexpr std::size_t size() const { return size_; }
  constexpr ParamKind operator[](std::size_t index) const { return kinds_[index]; }
  constexpr const ParamKind* begin() const { return kinds_.data(); }
  constexpr const ParamKind* end() const { return kinds_.data() + size_; }

  constexpr ParamList& add(ParamKind kind, std::size_t count = 1) {
    for (std::size_t i = 0; i < count; ++i) {
      if (size_ == kMaxParams) {
        throw std::length_error("an entry takes more parameters than ParamList holds");
      }
      kinds_[size_++] = kind;
    }
    return *this;
  }

 private:
  std::array<ParamKind, kMaxParams> kinds_{};
  std::size_t size_ = 0;
};

// Builders used by the rows of entry_list.inc.
constexpr ParamList handle_only() { return ParamList().add(ParamKind::Integer); }
constexpr ParamList handle_and_texts(std::size_t count) {
  return ParamList().add(ParamKind::Integer).add(ParamKind::Text, count);
}
constexpr ParamList texts(std::size_t count) { return ParamList().add(ParamKind::Text, count); }
// 'i' integer, 't' text. In the constant table a throw stops the compilation.
constexpr ParamList kinds(std::string_view letters) {
  ParamList list;
  for (char letter : letters) {
    if (letter == 'i') {
      list.add(ParamKind::Integer);
    } else if (letter == 't') {
      list.add(ParamKind::Text);
    } else {
      throw std::invalid_argument("parameter kinds are written with 'i' and 't'");
    }
  }
  return list;
}

struct Entry {
  std::string_view binding_name;
  std::string_view entry_name;
  ParamList params;
  ResultKind result;
};

// Position of each entry in the table, named by its binding name.
enum class EntryId : std::size_t {
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result) binding_name,
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY
};

// Every entry the binding layer knows, in the order of entry_list.inc.
std::span<const Entry> entry_table();

const Entry& entry(EntryId id);

// The binding name of a library entry: its name in upper case, cut to 63 characters.
std::string binding_name_for(std::string_view entry_name);

}  // namespace binding

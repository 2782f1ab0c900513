#pragma once

// One argument of a binding call, as the caller gave it. The binding converts
// it to the kind the entry expects: a text parameter receives the caller's own
// bytes (no copy), an integer parameter the caller's number as a signed 32-bit
// value.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace binding {

// An argument left out on purpose: a null pointer for a text parameter, 0 for
// an integer parameter.
struct Absent {};
inline constexpr Absent absent{};

class Arg {
 public:
  enum class Kind : std::uint8_t { Absent, Number, Text };

  constexpr Arg(Absent) {}
  constexpr Arg(std::nullptr_t) {}

  // The number becomes a signed 32-bit value the way a C++ conversion does:
  // modulo 2^32, so -1 stays -1 and 0x1'0000'0005 becomes 5.
  template <std::integral Number>
  constexpr Arg(Number number) : kind_(Kind::Number), number_(static_cast<std::int32_t>(number)) {}

  // A null pointer is an absent text.
  constexpr Arg(const char* text) : kind_(text ? Kind::Text : Kind::Absent), text_(text) {}

  // The pointer handed on is the string's own c_str(): the string must outlive
  // the call, as it does for an argument of a call expression.
  Arg(const std::string& text) : kind_(Kind::Text), text_(text.c_str()) {}

  // A string_view need not be zero-terminated: pass a std::string or a literal.
  Arg(std::string_view) = delete;

  constexpr Kind kind() const { return kind_; }

  // The value for an integer parameter: the number, or 0 when the argument
  // is absent or not a number.
  constexpr std::int32_t as_integer() const { return kind_ == Kind::Number ? number_ : 0; }

  // The value for a text parameter: the caller's bytes, or a null pointer when
  // the argument is absent or not a text.
  constexpr const char* as_text() const { return kind_ == Kind::Text ? text_ : nullptr; }

 private:
  Kind kind_ = Kind::Absent;
  std::int32_t number_ = 0;
  const char* text_ = nullptr;
};

}  // namespace binding

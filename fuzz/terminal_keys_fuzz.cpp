// Any key the terminal library may report maps to one of our key codes or to
// nothing; the mapping never fails otherwise. Input: pairs of a flag byte and
// a four-byte value; the learnt table holds two codes taken from the input.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "console/terminal_keys.h"

namespace {

int value_at(const std::uint8_t* data) {
  std::int32_t value = 0;
  std::memcpy(&value, data, sizeof value);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  console::LearntKeys learnt;
  if (size >= 8) {
    learnt[value_at(data)] = value_at(data + 4);
    data += 8;
    size -= 8;
  }
  for (; size >= 5; data += 5, size -= 5) {
    const console::TerminalKey key{(data[0] & 1) != 0, value_at(data + 1)};
    (void)console::key_from_terminal(key, learnt);
    (void)console::alt_key_from_character(key.value);
  }
  return 0;
}

#pragma once
// Whether the process's standard streams are a terminal, and raw output to
// it (control sequences the screen library does not know about).

#include <string_view>

namespace portable {

bool input_is_terminal();
bool output_is_terminal();

// Writes the bytes to the standard output when it is a terminal; false when
// it is not one or has gone away.
bool write_to_terminal(std::string_view bytes);

}  // namespace portable

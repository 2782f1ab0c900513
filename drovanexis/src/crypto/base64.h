#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace drovanexis {

// Standard Base64 with padding, on one line.
std::string base64_encode(std::string_view bytes);

// Decodes Base64, ignoring blanks and line breaks; nullopt when the text is
// not valid Base64.
std::optional<std::string> base64_decode(std::string_view text);

}  // namespace drovanexis

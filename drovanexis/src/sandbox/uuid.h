#pragma once

#include <string>
#include <string_view>

namespace drovanexis::sandbox {

// A random (version 4, RFC 4122 variant) UUID in upper case,
// "XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX", from OpenSSL's CSPRNG, so that two
// processes never draw the same one by sharing a seed. Throws
// std::runtime_error when the generator fails.
std::string new_uuid();

// True when `text` has a UUID's form: 8-4-4-4-12 hexadecimal digits.
bool is_uuid_text(std::string_view text);

// Two UUIDs are the same whatever the case of their hexadecimal digits.
bool same_uuid(std::string_view a, std::string_view b);

}  // namespace drovanexis::sandbox

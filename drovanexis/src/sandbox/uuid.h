#pragma once

#include <string>

namespace drovanexis::sandbox {

// A random (version 4, RFC 4122 variant) UUID in upper case,
// "XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX", from OpenSSL's CSPRNG, so that two
// processes never draw the same one by sharing a seed. Throws
// std::runtime_error when the generator fails.
std::string new_uuid();

}  // namespace drovanexis::sandbox

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drovanexis::schema {

// The regular expressions of XML Schema differ from ECMAScript's: they are
// anchored at both ends, '^' and '$' are plain characters, '.' excludes only
// CR and LF, and they count characters, not bytes. translate_pattern rewrites
// one into an anchored ECMAScript expression over code points (wide
// characters); the escapes the SAT schemas use (\d, \s, \{, \}) are mapped to
// explicit classes.
std::wstring translate_pattern(std::string_view xsd_pattern);

// UTF-8 to code points, into a buffer the caller reuses (malformed bytes
// become U+FFFD).
void decode_utf8(std::string_view text, std::wstring& out);

// Whether `value` (already decoded) matches pattern `index` of the schema
// facts. Every pattern is compiled once, on first use, for the whole process.
bool matches_pattern(std::uint32_t index, const std::wstring& value);

}  // namespace drovanexis::schema

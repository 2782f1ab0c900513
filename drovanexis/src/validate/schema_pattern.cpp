#include "validate/schema_pattern.h"

#include <memory>
#include <mutex>
#include <regex>
#include <stdexcept>
#include <vector>

#include "validate/schema_facts.h"

namespace drovanexis::schema {
namespace {

// The class contents an escape stands for, usable inside brackets.
std::wstring escape_class(wchar_t escape) {
  switch (escape) {
    case L'd': return L"0-9";
    case L's': return L" \\t\\n\\r";
    case L'n': return L"\\n";
    case L'r': return L"\\r";
    case L't': return L"\\t";
    default: return std::wstring(L"\\") + escape;  // an escaped metacharacter
  }
}

std::vector<std::wregex> compile_all() {
  std::vector<std::wregex> compiled;
  for (std::string_view pattern : facts().patterns) {
    compiled.emplace_back(translate_pattern(pattern),
                          std::regex::ECMAScript | std::regex::optimize);
  }
  return compiled;
}

}  // namespace

void decode_utf8(std::string_view text, std::wstring& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
      out.push_back(L'\xFFFD');
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      valid = valid && (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    out.push_back(valid ? static_cast<wchar_t>(code) : L'\xFFFD');
    i += valid ? static_cast<std::size_t>(extra) + 1 : 1;
  }
}

std::wstring translate_pattern(std::string_view xsd_pattern) {
  std::wstring source;
  decode_utf8(xsd_pattern, source);
  std::wstring out = L"^(?:";
  bool in_class = false;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const wchar_t c = source[i];
    if (c == L'\\' && i + 1 < source.size()) {
      const wchar_t escape = source[++i];
      const std::wstring set = escape_class(escape);
      const bool is_set = escape == L'd' || escape == L's';
      out += (in_class || !is_set) ? set : L"[" + set + L"]";
      continue;
    }
    if (in_class) {
      if (c == L'[') {
        // Class subtraction ("[a-z-[aeiou]]") has no ECMAScript equivalent.
        if (out.back() == L'-') throw std::invalid_argument("class subtraction is not supported");
        out += L"\\[";
        continue;
      }
      if (c == L']') in_class = false;
      out += c;
      continue;
    }
    switch (c) {
      case L'[':
        in_class = true;
        out += c;
        if (i + 1 < source.size() && source[i + 1] == L'^') out += source[++i];
        break;
      case L'^': out += L"\\^"; break;
      case L'$': out += L"\\$"; break;
      case L'.': out += L"[^\\n\\r]"; break;
      default: out += c;
    }
  }
  out += L")$";
  return out;
}

bool matches_pattern(std::uint32_t index, const std::wstring& value) {
  static const std::vector<std::wregex> compiled = compile_all();
  return std::regex_match(value, compiled.at(index));
}

}  // namespace drovanexis::schema

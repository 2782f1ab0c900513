#include "validate/schema_pattern.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
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

// The patterns of the schemas are mostly runs of character classes with
// counts ("[^|]{1,40}", "[0-9]{5}", "[A-Z0-9]?[A-Z0-9]?[0-9A-Z]"), sometimes
// with a few alternatives. Those are matched by a small backtracking matcher,
// many times faster than a general regular expression; the rest go to
// std::wregex.
struct Atom {
  std::vector<std::pair<wchar_t, wchar_t>> ranges;
  bool negated = false;
  std::uint32_t min = 1;
  std::uint32_t max = 1;

  bool accepts(wchar_t c) const {
    const bool inside = std::any_of(ranges.begin(), ranges.end(),
                                    [c](const auto& r) { return r.first <= c && c <= r.second; });
    return inside != negated;
  }
};

void add_escape(wchar_t escape, std::vector<std::pair<wchar_t, wchar_t>>& ranges) {
  switch (escape) {
    case L'd': ranges.emplace_back(L'0', L'9'); break;
    case L's':
      for (wchar_t c : {L' ', L'\t', L'\n', L'\r'}) ranges.emplace_back(c, c);
      break;
    case L'n': ranges.emplace_back(L'\n', L'\n'); break;
    case L'r': ranges.emplace_back(L'\r', L'\r'); break;
    case L't': ranges.emplace_back(L'\t', L'\t'); break;
    default: ranges.emplace_back(escape, escape);
  }
}

// Reads "{n}", "{m,n}", "{m,}", "?", "*" or "+" after an atom.
bool read_quantifier(const std::wstring& s, std::size_t& i, Atom& atom) {
  if (i >= s.size()) return true;
  switch (s[i]) {
    case L'?':
      atom.min = 0;
      ++i;
      return true;
    case L'*':
      atom.min = 0;
      atom.max = UINT32_MAX;
      ++i;
      return true;
    case L'+':
      atom.max = UINT32_MAX;
      ++i;
      return true;
    case L'{': break;
    default: return true;
  }
  const auto close = s.find(L'}', i);
  if (close == std::wstring::npos) return false;
  const std::wstring body = s.substr(i + 1, close - i - 1);
  const auto comma = body.find(L',');
  try {
    atom.min = static_cast<std::uint32_t>(std::stoul(body.substr(0, comma)));
    if (comma == std::wstring::npos) {
      atom.max = atom.min;
    } else if (comma + 1 == body.size()) {
      atom.max = UINT32_MAX;
    } else {
      atom.max = static_cast<std::uint32_t>(std::stoul(body.substr(comma + 1)));
    }
  } catch (const std::exception&) {
    return false;
  }
  i = close + 1;
  return true;
}

// Reads a bracketed class starting after '['; false on what it does not handle.
bool read_class(const std::wstring& s, std::size_t& i, Atom& atom) {
  if (i < s.size() && s[i] == L'^') {
    atom.negated = true;
    ++i;
  }
  while (i < s.size() && s[i] != L']') {
    if (s[i] == L'[') return false;
    if (s[i] == L'\\') {
      if (i + 1 >= s.size()) return false;
      add_escape(s[i + 1], atom.ranges);
      i += 2;
      continue;
    }
    const wchar_t low = s[i++];
    if (i + 1 < s.size() && s[i] == L'-' && s[i + 1] != L']') {
      atom.ranges.emplace_back(low, s[i + 1]);
      i += 2;
    } else {
      atom.ranges.emplace_back(low, low);
    }
  }
  if (i >= s.size()) return false;
  ++i;  // the closing ']'
  return true;
}

// A pattern as a short list of plain runs of atoms, one of which must match
// the whole value: groups are expanded ("(0[1-9]|1[012])" gives two runs,
// "(X)?" a run with X and one without). Patterns whose expansion would be
// large, or that repeat a group, stay with the general matcher.
using Run = std::vector<Atom>;
constexpr std::size_t kMaxRuns = 64;

class PatternExpander {
 public:
  explicit PatternExpander(std::string_view xsd_pattern) { decode_utf8(xsd_pattern, s_); }

  std::optional<std::vector<Run>> expand() {
    std::vector<Run> runs;
    if (!alternatives(runs) || i_ != s_.size()) return std::nullopt;
    return runs;
  }

 private:
  bool alternatives(std::vector<Run>& out) {
    if (!sequence(out)) return false;
    while (i_ < s_.size() && s_[i_] == L'|') {
      ++i_;
      std::vector<Run> more;
      if (!sequence(more)) return false;
      out.insert(out.end(), more.begin(), more.end());
      if (out.size() > kMaxRuns) return false;
    }
    return true;
  }

  bool sequence(std::vector<Run>& out) {
    out.assign(1, Run{});
    while (i_ < s_.size() && s_[i_] != L'|' && s_[i_] != L')') {
      std::vector<Run> options;
      if (!item(options)) return false;
      std::vector<Run> product;
      for (const Run& head : out) {
        for (const Run& tail : options) {
          Run joined = head;
          joined.insert(joined.end(), tail.begin(), tail.end());
          product.push_back(std::move(joined));
        }
      }
      if (product.size() > kMaxRuns) return false;
      out = std::move(product);
    }
    return true;
  }

  bool item(std::vector<Run>& options) {
    const wchar_t c = s_[i_];
    if (c == L'(') {
      ++i_;
      if (!alternatives(options) || i_ >= s_.size() || s_[i_] != L')') return false;
      ++i_;
      Atom quantity;
      if (!read_quantifier(s_, i_, quantity)) return false;
      if (quantity.max != 1) return false;  // a repeated group
      if (quantity.min == 0) options.push_back(Run{});
      return true;
    }
    Atom atom;
    if (std::wstring_view(L"{}?*+]").find(c) != std::wstring_view::npos) return false;
    if (c == L'\\') {
      if (i_ + 1 >= s_.size()) return false;
      add_escape(s_[i_ + 1], atom.ranges);
      i_ += 2;
    } else if (c == L'[') {
      ++i_;
      if (!read_class(s_, i_, atom)) return false;
    } else if (c == L'.') {  // any character but the line ends
      atom.negated = true;
      atom.ranges = {{L'\n', L'\n'}, {L'\r', L'\r'}};
      ++i_;
    } else {
      atom.ranges.emplace_back(c, c);
      ++i_;
    }
    if (!read_quantifier(s_, i_, atom)) return false;
    options.assign(1, Run{std::move(atom)});
    return true;
  }

  std::wstring s_;
  std::size_t i_ = 0;
};

bool match_atoms(const std::vector<Atom>& atoms, std::size_t a, const std::wstring& value,
                 std::size_t at) {
  if (a == atoms.size()) return at == value.size();
  const Atom& atom = atoms[a];
  std::size_t taken = 0;
  while (taken < atom.max && at + taken < value.size() && atom.accepts(value[at + taken])) ++taken;
  while (taken >= atom.min) {
    if (match_atoms(atoms, a + 1, value, at + taken)) return true;
    if (taken == 0) break;
    --taken;
  }
  return false;
}

struct CompiledPattern {
  std::optional<std::vector<Run>> runs;
  std::optional<std::wregex> regex;
};

std::vector<CompiledPattern> compile_all() {
  std::vector<CompiledPattern> compiled;
  for (std::string_view pattern : facts().patterns) {
    CompiledPattern entry;
    entry.runs = PatternExpander(pattern).expand();
    if (!entry.runs) {
      entry.regex.emplace(translate_pattern(pattern),
                          std::regex::ECMAScript | std::regex::optimize);
    }
    compiled.push_back(std::move(entry));
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
  static const std::vector<CompiledPattern> compiled = compile_all();
  const CompiledPattern& pattern = compiled.at(index);
  if (pattern.runs) {
    return std::any_of(pattern.runs->begin(), pattern.runs->end(),
                       [&](const Run& run) { return match_atoms(run, 0, value, 0); });
  }
  return std::regex_match(value, *pattern.regex);
}

}  // namespace drovanexis::schema

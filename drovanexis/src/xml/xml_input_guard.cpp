#include "xml/xml_input_guard.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Position {
  int line;
  int column;
};

Position position_of(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  const auto lines = std::count(before.begin(), before.end(), '\n');
  const auto line_start = before.rfind('\n');
  const std::size_t column =
      line_start == std::string_view::npos ? offset + 1 : offset - line_start;
  return {static_cast<int>(lines + 1), static_cast<int>(column)};
}

[[noreturn]] void refuse_at(std::string_view text, std::size_t offset, std::string reason) {
  const Position at = position_of(text, offset);
  throw XmlParseError(at.line, at.column, std::move(reason));
}

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// Encodings in which every byte below 0x80 is the ASCII character.
bool ascii_compatible(std::string_view encoding) {
  const std::string name = lower(encoding);
  static constexpr std::array<std::string_view, 7> kNames{
      "utf-8", "utf8", "us-ascii", "ascii", "latin1", "iso-latin-1", "iso_8859-1"};
  if (std::find(kNames.begin(), kNames.end(), name) != kNames.end()) return true;
  const auto numbered = [&](std::string_view stem, int first, int last) {
    if (!name.starts_with(stem)) return false;
    const std::string number = name.substr(stem.size());
    if (number.empty() || number.size() > 2 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return false;
    }
    const int n = std::stoi(number);
    return n >= first && n <= last;
  };
  return numbered("iso-8859-", 1, 16) || numbered("windows-125", 0, 8) || numbered("cp125", 0, 8);
}

// The value of encoding="..." in the XML declaration at the start of the
// text, or "" when there is none.
std::string_view declared_encoding(std::string_view text) {
  if (!text.starts_with("<?xml")) return {};
  const auto end = text.find("?>");
  const std::string_view declaration = text.substr(0, end);
  auto at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) return {};
  const auto close = declaration.find(declaration[at], at + 1);
  if (close == std::string_view::npos) return {};
  return declaration.substr(at + 1, close - at - 1);
}

void check_encoding(std::string_view text) {
  const auto nul = text.find('\0');
  if (nul != std::string_view::npos) {
    refuse_at(text, nul,
              "the text holds a NUL byte: it is not UTF-8 (UTF-16 and UCS-4 texts are not "
              "accepted)");
  }
  if (text.starts_with("\x4C\x6F\xA7\x94")) {
    throw XmlParseError(1, 1, "the text is EBCDIC, which is not accepted");
  }
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  const std::string_view encoding = declared_encoding(text);
  if (!encoding.empty() && !ascii_compatible(encoding)) {
    throw XmlParseError(1, 1,
                        "the encoding \"" + std::string(encoding) +
                            "\" is not accepted (UTF-8, or a single-byte encoding such as "
                            "windows-1252 or ISO-8859-1)");
  }
}

// Skips from `at` past `terminator`; npos when the text ends first.
std::size_t skip_past(std::string_view text, std::size_t at, std::string_view terminator) {
  const auto end = text.find(terminator, at);
  return end == std::string_view::npos ? end : end + terminator.size();
}

// Counts the attributes of the start tag at `at` (its '<'); returns the
// offset after the tag, or npos when the text ends inside it.
std::size_t check_start_tag(std::string_view text, std::size_t at) {
  std::size_t attributes = 0;
  for (std::size_t i = at + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '>') return i + 1;
    if (c == '"' || c == '\'') {
      i = text.find(c, i + 1);
      if (i == std::string_view::npos) return i;
    } else if (c == '=' && ++attributes > kMaxXmlAttributes) {
      refuse_at(text, at,
                "an element has more than " + std::to_string(kMaxXmlAttributes) +
                    " attributes (namespace declarations included)");
    }
  }
  return std::string_view::npos;
}

void check_attribute_counts(std::string_view text) {
  std::size_t at = 0;
  while ((at = text.find('<', at)) != std::string_view::npos) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
      at = skip_past(text, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      at = skip_past(text, at + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      at = skip_past(text, at + 2, "?>");
    } else if (rest.starts_with("<!")) {
      return;  // a document type declaration, which the parser refuses
    } else if (rest.starts_with("</")) {
      at += 2;
    } else {
      at = check_start_tag(text, at);
    }
  }
}

}  // namespace

void guard_xml_input(std::string_view text) {
  if (text.size() > kMaxXmlBytes) {
    throw XmlParseError(
        0, 0,
        "the document is larger than " + std::to_string(kMaxXmlBytes / (1024 * 1024)) + " MiB");
  }
  check_encoding(text);
  check_attribute_counts(text);
}

}  // namespace drovanexis

namespace drovanexis {

bool DistinctNames::add(const unsigned char* local, const unsigned char* prefix) {
  std::string name = prefix == nullptr ? std::string() : reinterpret_cast<const char*>(prefix);
  name += ':';
  if (local != nullptr) name += reinterpret_cast<const char*>(local);
  seen_.insert(std::move(name));
  return seen_.size() <= kMaxXmlDistinctNames;
}

bool DistinctNames::add_tag(const unsigned char* local, const unsigned char* prefix,
                            int attribute_count, const unsigned char** attributes) {
  bool within = add(local, prefix);
  for (int i = 0; i < attribute_count && within; ++i) {
    within = add(attributes[5 * i], attributes[5 * i + 1]);
  }
  return within;
}

}  // namespace drovanexis

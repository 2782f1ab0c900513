#include "sandbox/processing_log.h"

#include <string>

#include "portable/cp1252.h"
#include "portable/file_io.h"

namespace drovanexis::sandbox {

namespace {

// The viewer shows 80 columns; one is kept free so that no line touches the
// edge.
constexpr std::size_t kWidth = 79;

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t character_count(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += is_continuation_byte(c) ? 0 : 1;
  return count;
}

// Byte offset just past the first `characters` characters.
std::size_t byte_offset(std::string_view text, std::size_t characters) {
  std::size_t i = 0;
  for (std::size_t seen = 0; i < text.size(); ++i) {
    if (!is_continuation_byte(text[i]) && seen++ == characters) break;
  }
  return i;
}

}  // namespace

std::vector<std::string> wrap_text(std::string_view first_prefix, std::string_view text,
                                   std::size_t width) {
  std::vector<std::string> lines;
  const std::string indent(character_count(first_prefix), ' ');
  std::string_view prefix = first_prefix;
  const std::size_t room = width > indent.size() + 10 ? width - indent.size() : 10;
  do {
    std::size_t cut = text.size();
    if (character_count(text) > room) {
      cut = byte_offset(text, room);
      const std::size_t blank = text.substr(0, cut + 1).rfind(' ');
      if (blank != std::string_view::npos && blank > 0) cut = blank;
    }
    std::string line = std::string(prefix) + std::string(text.substr(0, cut));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
    text.remove_prefix(cut);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    prefix = indent;
  } while (!text.empty());
  return lines;
}

ProcessingLog::ProcessingLog(std::string_view time, std::string_view library_version,
                             std::string_view document) {
  add("", "Drovanexis " + std::string(library_version) + " - registro de procesamiento");
  add("Fecha: ", time);
  add("Documento: ", document);
  lines_.push_back(std::string(kWidth, '-'));
}

void ProcessingLog::add(std::string_view first_prefix, std::string_view text) {
  for (auto& line : wrap_text(first_prefix, text, kWidth)) lines_.push_back(std::move(line));
}

void ProcessingLog::step(std::string_view text) { add("[OK] ", text); }

void ProcessingLog::error(std::string_view code, std::string_view node, std::string_view attribute,
                          std::string_view explanation) {
  std::string where = node.empty() ? std::string("-") : std::string(node);
  if (!attribute.empty()) where += "@" + std::string(attribute);
  add("[ERROR] ", std::string(code) + " en " + where);
  add("        ", explanation);
}

void ProcessingLog::result(int code, std::size_t error_count) {
  lines_.push_back(std::string(kWidth, '-'));
  if (code == 0) {
    add("", "Resultado: 0 (documento sellado, timbrado y guardado)");
  } else {
    add("", "Resultado: " + std::to_string(code) + " (" + std::to_string(error_count) +
                (error_count == 1 ? " error" : " errores") +
                "; el archivo de salida no se modificó)");
  }
}

std::string ProcessingLog::text() const {
  std::string utf8;
  for (const auto& line : lines_) utf8 += line + "\r\n";
  return portable::utf8_to_cp1252(utf8);
}

bool ProcessingLog::write(std::string_view file_name) const noexcept {
  try {
    // A diagnostic rewritten by every processing: replaced whole, never
    // half-written, but not worth a disk flush.
    portable::write_file_atomic(file_name, text(), portable::Durability::replace_only);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace drovanexis::sandbox

#include "issue/processing_log.h"

#include <string>

#include "issue/text_wrap.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"

namespace drovanexis::issue {

namespace {

// The viewer shows 80 columns; one is kept free so that no line touches the
// edge.
constexpr std::size_t kWidth = 79;

}  // namespace

ProcessingLog::ProcessingLog(std::string_view time, std::string_view library_version,
                             std::string_view document) {
  add("", "Drovanexis " + std::string(library_version) + " - registro de procesamiento");
  add("Fecha: ", time);
  add("Documento: ", document);
  lines_.push_back(std::string(kWidth, '-'));
}

void ProcessingLog::add(std::string_view first_prefix, std::string_view text) {
  for (auto& line : wrap_text(first_prefix, clip_log_text(text), kWidth)) lines_.push_back(std::move(line));
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

}  // namespace drovanexis::issue

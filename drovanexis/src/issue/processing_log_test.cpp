#include "issue/processing_log.h"

#include <gtest/gtest.h>

#include "issue/text_wrap.h"

namespace drovanexis::issue {
namespace {

TEST(ProcessingLog, WrapsLongTextAtBlanksWithIndentedContinuation) {
  const std::string text(30, 'a');
  const auto lines = wrap_text("[ERROR] ", text + " " + text + " " + text, 40);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "[ERROR] " + text);
  EXPECT_EQ(lines[1], "        " + text);
  EXPECT_EQ(lines[2], "        " + text);
}

TEST(ProcessingLog, CutsAWordLongerThanTheLineAndCountsCharactersNotBytes) {
  const std::string seal(100, 'X');
  for (const auto& line : wrap_text("", seal, 40)) EXPECT_LE(line.size(), 40u);
  // 39 accented letters are 78 bytes but fit one 40-column line.
  std::string accented;
  for (int i = 0; i < 39; ++i) accented += "\xC3\xB3";
  EXPECT_EQ(wrap_text("", accented, 40).size(), 1u);
}

// A megabyte wraps in one pass: before, every line recounted the rest of the
// text, and a 1 MB value took minutes.
TEST(ProcessingLog, WrapsAMegabyteKeepingEveryCharacter) {
  std::string text;
  while (text.size() < (1u << 20)) text += "abcdefghi ";
  const auto lines = wrap_text("", text, 79);
  std::size_t letters = 0;
  for (const auto& line : lines) {
    EXPECT_LE(line.size(), 79u);
    for (const char c : line) letters += c == ' ' ? 0 : 1;
  }
  EXPECT_EQ(letters, text.size() / 10 * 9);
}

TEST(ProcessingLog, AValueLongerThanTheLimitIsCutWithANote) {
  ProcessingLog log("2025-01-01T00:00:00", "1.0", std::string(1u << 20, 'n'));
  const std::string text = log.text();
  EXPECT_LT(text.size(), kLogTextLimit + 1000);
  const std::string clipped = clip_log_text(std::string(kLogTextLimit + 5, 'n'));
  EXPECT_EQ(clipped, std::string(kLogTextLimit, 'n') + " [... 5 caracteres m\xC3\xA1s]");
  EXPECT_EQ(clip_log_text("corto"), "corto");
}

TEST(ProcessingLog, WindowsTextWithCrLfAndNoLineOver79Columns) {
  ProcessingLog log("2025-01-01T00:00:00", "1.0", "Salida.xml");
  log.step("Certificado leído");
  log.error("CFDI33118", "cfdi:Comprobante", "Total",
            "El Total 1102.01 no es igual a SubTotal menos Descuento más impuestos trasladados "
            "menos impuestos retenidos (1102.00).");
  log.result(33118, 1);
  const std::string text = log.text();
  EXPECT_NE(text.find("Certificado le\xED"
                      "do"),
            std::string::npos);
  EXPECT_NE(text.find("[ERROR] CFDI33118 en cfdi:Comprobante@Total"), std::string::npos);
  EXPECT_NE(text.find("Resultado: 33118 (1 error;"), std::string::npos);
  std::size_t start = 0, lines = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 79u);
    start = end + 2;
    ++lines;
  }
  EXPECT_GE(lines, 8u);
}

}  // namespace
}  // namespace drovanexis::issue

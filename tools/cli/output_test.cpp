#include "tools/cli/output.h"

#include <gtest/gtest.h>

#include <string>

namespace cli {
namespace {

// Valid UTF-8 passes unchanged; controls and stray bytes are escaped, each in
// the form its reader expects.
TEST(Output, JsonAndTerminalTextEscapeControlsAndBytesThatAreNotUtf8) {
  const struct {
    std::string text;
    std::string json;
    std::string terminal;
  } cases[] = {
      {"factura ñ €.xml", "\"factura ñ €.xml\"", "factura ñ €.xml"},
      {"caf\xE9.xml", R"("caf\\xE9.xml")", "caf\\xE9.xml"},
      {"a\x1B[2Jb", R"("a\u001b[2Jb")", "a\\x1B[2Jb"},
      {"one\ntwo\r", R"("one\ntwo\r")", "one\\x0Atwo\\x0D"},
      {"del\x7F c1\xC2\x9B", R"("del\u007f c1\u009b")", "del\\x7F c1\\xC2\\x9B"},
      {"quote\" back\\", R"("quote\" back\\")", "quote\" back\\"},
      // A cut sequence, an overlong form and a surrogate are not UTF-8.
      {"\xE2\x82", R"("\\xE2\\x82")", "\\xE2\\x82"},
      {"\xC0\xAF", R"("\\xC0\\xAF")", "\\xC0\\xAF"},
      {"\xED\xA0\x80", R"("\\xED\\xA0\\x80")", "\\xED\\xA0\\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(json_string(c.text), c.json) << c.text;
    EXPECT_EQ(shown(c.text), c.terminal) << c.text;
  }
}

}  // namespace
}  // namespace cli

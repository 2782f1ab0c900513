#include "portable/cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, ConvertsBothWays) {
  struct Case {
    std::string cp1252;
    std::string utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"plain ASCII | & <", "plain ASCII | & <"},
      {"n\xF3mina", "n\xC3\xB3mina"},
      {"S\xED", "S\xC3\xAD"},
      {"\xD1\xF1", "\xC3\x91\xC3\xB1"},
      {"\x80", "\xE2\x82\xAC"},  // euro sign
      {"\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D"},
      {"\x81", "\xC2\x81"},  // undefined byte kept as its control
  };
  for (const auto& c : cases) {
    EXPECT_EQ(portable::cp1252_to_utf8(c.cp1252), c.utf8);
    EXPECT_EQ(portable::utf8_to_cp1252(c.utf8), c.cp1252);
  }
}

TEST(Cp1252, UnrepresentableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(portable::utf8_to_cp1252("\xE4\xB8\xAD"), "?");        // a CJK character
  EXPECT_EQ(portable::utf8_to_cp1252("\xF0\x9F\x98\x80x"), "?x");  // an emoji
  EXPECT_EQ(portable::utf8_to_cp1252("a\xC3"), "a?");              // cut sequence
  EXPECT_EQ(portable::utf8_to_cp1252("\xFFz"), "?z");
}

// Only a valid UTF-8 text that is not plain ASCII is converted for display;
// Windows-1252 text and broken UTF-8 stay as they are.
TEST(Cp1252, DisplayConvertsOnlyValidUtf8) {
  struct Case {
    const char* name;
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {"ascii", "<a b=\"1\"/>", "<a b=\"1\"/>"},
      {"utf8_letters", "n\xC3\xB3mina \xE2\x82\xAC", "n\xF3mina \x80"},
      {"utf8_outside_the_code_page", "\xE4\xB8\xAD\xC3\xB1", "?\xF1"},
      {"cp1252_text", "n\xF3mina", "n\xF3mina"},
      {"cut_sequence", "ok \xC3", "ok \xC3"},
      {"overlong_slash", "\xC0\xAF", "\xC0\xAF"},
      {"surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
      {"past_u10ffff", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(portable::for_cp1252_display(c.text), c.shown) << c.name;
  }
  EXPECT_TRUE(portable::is_valid_utf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(portable::is_valid_utf8("\xE0\x80\x80"));  // overlong three-byte form
}

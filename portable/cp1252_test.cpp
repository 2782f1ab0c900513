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

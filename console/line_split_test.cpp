#include "console/line_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/all_strings.h"

namespace console {
namespace {

struct Line {
  std::string text;
  bool soft = false;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << '"' << line.text << '"' << (line.soft ? " (soft)" : "");
}

std::vector<Line> lines_of(std::string_view text, std::size_t width) {
  TextLines lines = split_lines(expand_tabs(text), width);
  std::vector<Line> out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.push_back(Line{std::string(lines.text(i)), lines.soft(i)});
  }
  return out;
}

struct SplitCase {
  const char* name;
  std::string text;
  std::size_t width;
  std::vector<Line> expected;
};

class LineSplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitTable, SplitsAsExpected) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(lines_of(c.text, c.width), c.expected);
}

const std::string k200(200, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSplitTable,
    testing::Values(
        SplitCase{"empty", "", 80, {{""}}},
        SplitCase{
            "no_blanks_200",
            k200,
            80,
            {{std::string(80, 'x'), true}, {std::string(80, 'x'), true}, {std::string(40, 'x')}}},
        SplitCase{"crlf_ending", "a\r\nb\r\n", 80, {{"a"}, {"b"}, {""}}},
        SplitCase{"no_ending", "a\r\nb", 80, {{"a"}, {"b"}}},
        SplitCase{"stray_lf_in_crlf", "ab\ncd\r\nef\r\n", 80, {{"abcd"}, {"ef"}, {""}}},
        SplitCase{"lf_before_first_cr_is_crlf", "a\nb\r\nc", 80, {{"ab"}, {"c"}}},
        SplitCase{"tab_is_three_blanks", "\tx\ty", 80, {{"   x   y"}}},
        SplitCase{"cr_only", "a\rb\r\rc", 80, {{"a"}, {"b"}, {""}, {"c"}}},
        SplitCase{"lf_only", "a\nb\n", 80, {{"a"}, {"b"}, {""}}},
        SplitCase{"other_mix_falls_back_to_crlf", "a\rb\nc\n", 80, {{"a\rbc"}}},
        SplitCase{"leading_breaks", "\r\n\r\na", 80, {{""}, {""}, {"a"}}},
        SplitCase{"only_a_break", "\r\n", 80, {{""}, {""}}},
        SplitCase{"soft_breaks_removed", "ab\x8d\ncd\x8d\x8d\n", 80, {{"abcd\x8d"}}},
        // L + 1: the blank at byte L + 1 stays at the end of the first line.
        SplitCase{"blank_at_l_plus_1", "abcde fg", 5, {{"abcde ", true}, {"fg"}}},
        SplitCase{"cut_after_last_blank", "ab cd ef gh", 5, {{"ab cd ", true}, {"ef gh"}}},
        SplitCase{"blank_first_byte_only", " abcdefg", 5, {{" abcd", true}, {"efg"}}},
        SplitCase{"exact_width", "abcde", 5, {{"abcde"}}},
        // A piece of width + 1 bytes ending in a blank ends with its break.
        SplitCase{"cut_rest_empty", "abcd ", 4, {{"abcd "}}},
        SplitCase{"cut_rest_empty_before_break", "abcd \nx", 4, {{"abcd "}, {"x"}}},
        SplitCase{
            "soft_break_after_cut_piece", "a b c \n\x8d\nxyz\x8d", 5, {{"a b c "}, {"xyz\x8d"}}}),
    [](const testing::TestParamInfo<SplitCase>& param_info) {
      return std::string(param_info.param.name);
    });

// Joining the lines as the viewer does (soft lines run on, the others end
// with the line break) must give back every text made of letters, blanks and
// LFs, for every width: no cut may lose or add a hard break.
std::string joined(const TextLines& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.append(lines.text(i));
    if (i + 1 < lines.size() && !lines.soft(i)) out.append(lines.line_break());
  }
  return out;
}

TEST(LineSplit, JoiningTheLinesGivesBackTheText) {
  test_support::for_each_string("a \n", 0, 8, [](const std::string& text) {
    for (std::size_t width = 1; width <= 4; ++width) {
      const std::string back = joined(split_lines(text, width));
      EXPECT_EQ(back, text) << "width " << width;
      if (back != text) return false;
    }
    return true;
  });
}

TEST(LineSplit, LargeTextKeepsEveryLine) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "line " + std::to_string(i) + "\r\n";
  TextLines lines = split_lines(text, 80);
  ASSERT_EQ(lines.size(), 10001u);
  EXPECT_EQ(lines.text(0), "line 0");
  EXPECT_EQ(lines.text(9999), "line 9999");
  EXPECT_EQ(lines.text(10000), "");
}

TEST(TextLines, EditedLinesKeepTheirNeighbours) {
  TextLines lines = split_lines("one\ntwo\nthree", 80);
  lines.set_text(1, "TWO");
  lines.insert(1, "new", true);
  lines.erase(0);
  lines.append("four");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.text(0), "new");
  EXPECT_TRUE(lines.soft(0));
  EXPECT_EQ(lines.text(1), "TWO");
  EXPECT_EQ(lines.text(2), "three");
  EXPECT_EQ(lines.text(3), "four");
}

}  // namespace
}  // namespace console

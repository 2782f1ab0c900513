#include "console/colour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/screen.h"
#include "tests/support/all_strings.h"

namespace console {
namespace {

struct ColourCase {
  const char* applied;
  const char* read_back;
};

class ColourStringTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourStringTest, AppliedOnTheInitialTableReadsBack) {
  ColourTable table;
  table.apply(GetParam().applied);
  EXPECT_EQ(table.to_string(), GetParam().read_back) << "applied \"" << GetParam().applied << "\"";
  EXPECT_EQ(table.current_slot(), ColourTable::standard);
}

INSTANTIATE_TEST_SUITE_P(
    Notation, ColourStringTest,
    ::testing::Values(
        ColourCase{"W+/B", "W+/B,N/W,N/N,N/N,N/W"},
        // An empty first item keeps standard; enhanced also sets unselected.
        ColourCase{",N/G", "W/N,N/G,N/N,N/N,N/G"},
        // A fifth item given later wins over the enhanced -> unselected rule.
        ColourCase{",N/G,,,R/W", "W/N,N/G,N/N,N/N,R/W"},
        ColourCase{",,,,N/W", "W/N,N/W,N/N,N/N,N/W"}, ColourCase{",,,,B/R", "W/N,N/W,N/N,N/N,B/R"},
        ColourCase{"GR", "GR/N,N/W,N/N,N/N,N/W"}, ColourCase{"BG/GR", "BG/GR,N/W,N/N,N/N,N/W"},
        ColourCase{"BGR/N", "W/N,N/W,N/N,N/N,N/W"}, ColourCase{"rb/g", "BR/G,N/W,N/N,N/N,N/W"},
        ColourCase{"14/1", "GR+/B,N/W,N/N,N/N,N/W"}, ColourCase{"8/12", "N+/R*,N/W,N/N,N/N,N/W"},
        ColourCase{"15", "W+/N,N/W,N/N,N/N,N/W"}, ColourCase{"16/B", "N/B,N/W,N/N,N/N,N/W"},
        ColourCase{"160", "W/N,N/W,N/N,N/N,N/W"}, ColourCase{"U", "U/N,N/W,N/N,N/N,N/W"},
        ColourCase{"W/U", "W/U,N/W,N/N,N/N,N/W"}, ColourCase{"W+*/B", "W+/B*,N/W,N/N,N/N,N/W"},
        ColourCase{"W/B+*", "W+/B*,N/W,N/N,N/N,N/W"}, ColourCase{"R+/BX", "N+/N,N/W,N/N,N/N,N/W"},
        ColourCase{"I", "N/W,N/W,N/N,N/N,N/W"}, ColourCase{"+IR", "N+/W,N/W,N/N,N/N,N/W"},
        // A second "/" moves the background into the foreground.
        ColourCase{"W/R/", "R/N,N/W,N/N,N/N,N/W"}, ColourCase{"+/G/*", "G+/N*,N/W,N/N,N/N,N/W"},
        // A later colour of the same part ends the underline mark of "U".
        ColourCase{"/UX", "N/N,N/W,N/N,N/N,N/W"}, ColourCase{"/U15", "N/W*,N/W,N/N,N/N,N/W"},
        ColourCase{"U//", "N/N,N/W,N/N,N/N,N/W"}, ColourCase{"/U/", "U/N,N/W,N/N,N/N,N/W"},
        ColourCase{"UR", "BR/N,N/W,N/N,N/N,N/W"}, ColourCase{"UI", "N/W,N/W,N/N,N/N,N/W"},
        // Characters outside the notation do not count.
        ColourCase{"  ?", "W/N,N/W,N/N,N/N,N/W"}, ColourCase{" W + / B ", "W+/B,N/W,N/N,N/N,N/W"}));

// Every item of up to four characters of the notation: what the table
// writes must read back to the same attribute and underline marks.
TEST(ColourTableTest, WrittenItemsReadBackToTheSameValue) {
  test_support::for_each_string("WNBGRU/+*XI15 ", 1, 4, [](const std::string& item) {
    ColourValue value;
    if (!ColourTable::parse_item(item, value)) return true;
    const std::string written = ColourTable::item_to_string(value);
    ColourValue read_back;
    const bool read = ColourTable::parse_item(written, read_back);
    EXPECT_TRUE(read && read_back == value) << "\"" << item << "\" written as \"" << written << '"';
    return read && read_back == value;
  });
}

TEST(ColourTableTest, EmptyStringRestoresTheInitialTable) {
  ColourTable table;
  table.apply("W+/R,GR/B,B/B,G/G,R/R");
  ASSERT_EQ(table.to_string(), "W+/R,GR/B,B/B,G/G,R/R");
  table.select(ColourTable::enhanced);
  table.apply("");
  EXPECT_EQ(table.to_string(), ColourTable::initial);
  EXPECT_EQ(table.current_slot(), ColourTable::standard);
}

TEST(ColourTableTest, ItemsSetTheAttributeBits) {
  ColourTable table;
  table.apply("W+/R,N/G*");
  EXPECT_EQ(table.slot(ColourTable::standard).attr, attr::make(7, 4, true));
  EXPECT_EQ(table.slot(ColourTable::enhanced).attr, attr::make(0, 2, false, true));
  table.apply("U/U");
  EXPECT_TRUE(table.slot(ColourTable::standard).foreground_underline);
  EXPECT_TRUE(table.slot(ColourTable::standard).background_underline);
  EXPECT_EQ(table.slot(ColourTable::standard).attr, attr::make(1, 1));
}

TEST(ColourTableTest, SelectIgnoresIndicesOutsideTheTable) {
  ColourTable table;
  table.select(ColourTable::enhanced);
  EXPECT_EQ(table.current_attr(), attr::make(0, 7));
  table.select(5);
  table.select(-1);
  EXPECT_EQ(table.current_slot(), ColourTable::enhanced);
}

}  // namespace
}  // namespace console

#include "console/lightbar.h"

#include <gtest/gtest.h>

#include "console/console.h"
#include "console/keys.h"

namespace console {
namespace {

// Twelve prompts shaped like the main menu's: a blank, the number, ")" and a
// title; numbers 10-12 also begin with "1".
const std::vector<std::string> kTexts = {" 1) Uno ",  " 2) Dos ",  " 3) Tres",   " 4) Cuatro ",
                                         " 5) Cinco", " 6) Seis ", " 7) Siete ", " 8) Ocho ",
                                         " 9) Nueve", " 10) Diez", " 11) Once ", " 12) Doce "};

class LightbarTest : public ::testing::Test {
 protected:
  void add_prompts(std::size_t count = 12) {
    for (std::size_t i = 0; i < count; ++i) {
      con_.add_prompt(5 + static_cast<int>(i), 20, kTexts[i]);
    }
  }
  SelectionVariable variable() {
    return SelectionVariable{"nPrompt", [this] { return value_; },
                             [this](std::optional<int> v) {
                               if (v)
                                 value_ = std::optional<int>(*v);
                               else
                                 value_.reset();
                               ++stores_;
                             }};
  }
  int run(std::initializer_list<int> keys, std::size_t count = 12) {
    add_prompts(count);
    backend_.push_keys(keys);
    return con_.select(variable());
  }
  // The option whose row shows the highlight colour.
  std::vector<int> highlighted_rows() const {
    std::vector<int> rows;
    for (int r = 5; r < 17; ++r) {
      if (con_.screen().cell(r, 20).attr == attr::make(0, 7)) rows.push_back(r - 4);
    }
    return rows;
  }

  HeadlessBackend backend_;
  Console con_{backend_};
  std::optional<std::optional<int>> value_;  // nullopt: the variable does not exist
  int stores_ = 0;
};

TEST_F(LightbarTest, DigitsChooseAtOnceAndOneNeverReachesTenToTwelve) {
  value_ = std::optional<int>(3);
  EXPECT_EQ(run({'7'}), 7);
  EXPECT_EQ(backend_.pending(), 0u);
  EXPECT_EQ(value_, std::optional<int>(7));
  EXPECT_EQ(highlighted_rows(), std::vector<int>{7});

  value_ = std::optional<int>(11);
  EXPECT_EQ(run({'1'}), 1);
  EXPECT_EQ(highlighted_rows(), std::vector<int>{1});
}

TEST_F(LightbarTest, FirstLetterSearchIgnoresCaseAndLeadingBlanks) {
  con_.add_prompt(1, 0, "   alpha");
  con_.add_prompt(2, 0, "Beta");
  con_.add_prompt(3, 0, "beta two");
  value_ = std::optional<int>(1);
  backend_.push_keys({'z', 'x', 'B'});  // no match, no match, then Beta
  EXPECT_EQ(con_.select(variable()), 2);
  con_.add_prompt(1, 0, "   alpha");
  con_.add_prompt(2, 0, "Beta");
  backend_.push_keys({'A'});
  EXPECT_EQ(con_.select(variable()), 1);
}

struct MoveCase {
  const char* name;
  bool wrap;
  int start;
  std::vector<int> keys;
  int expected;
};

class LightbarMoveTest : public LightbarTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(LightbarMoveTest, KeysMoveAndChoose) {
  const MoveCase& c = GetParam();
  con_.set_setting("WRAP", c.wrap);
  value_ = std::optional<int>(c.start);
  add_prompts();
  for (int k : c.keys) backend_.push_key(k);
  EXPECT_EQ(con_.select(variable()), c.expected);
  EXPECT_EQ(value_, std::optional<int>(c.expected));
  EXPECT_EQ(backend_.pending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LightbarMoveTest,
    ::testing::Values(
        MoveCase{"DownOnLastWithoutWrapStays", false, 12, {key::down, key::enter}, 12},
        MoveCase{"DownOnLastWithWrapGoesToFirst", true, 12, {key::down, key::enter}, 1},
        MoveCase{"UpOnFirstWithoutWrapStays", false, 1, {key::up, key::enter}, 1},
        MoveCase{"UpOnFirstWithWrapGoesToLast", true, 1, {key::left, key::enter}, 12},
        MoveCase{"RightAndDownMove", false, 2, {key::right, key::down, key::enter}, 4},
        MoveCase{"HomeAndEnd", false, 5, {key::end, key::up, key::home, key::down, key::enter}, 2},
        MoveCase{"PageDownChoosesLikeEnter", false, 6, {key::page_down}, 6},
        MoveCase{"PageUpChoosesLikeEnter", false, 6, {key::down, key::page_up}, 7},
        MoveCase{"OtherKeysDoNothing", false, 4, {key::f1, key::tab, 300, key::enter}, 4},
        MoveCase{"EscReturnsZero", false, 9, {key::down, key::escape}, 0},
        MoveCase{"ThirteenSelectsTheLast", false, 13, {key::enter}, 12},
        MoveCase{"ZeroSelectsTheFirst", false, 0, {key::enter}, 1},
        MoveCase{"NegativeSelectsTheFirst", false, -4, {key::enter}, 1}),
    [](const ::testing::TestParamInfo<MoveCase>& p) { return std::string(p.param.name); });

TEST_F(LightbarTest, MissingVariableSelectsTheFirstAndIsRemovedAgain) {
  EXPECT_EQ(run({key::down, key::enter}), 2);
  EXPECT_FALSE(value_.has_value());
  EXPECT_EQ(stores_, 2);  // stored, then removed
}

TEST_F(LightbarTest, VariableHoldingANonNumberSelectsTheFirst) {
  value_ = std::optional<int>();  // exists, holds something that is not a number
  EXPECT_EQ(run({key::enter}), 1);
  EXPECT_EQ(value_, std::optional<int>(1));
}

TEST_F(LightbarTest, EscLeavesTheLastHighlightAndStoresZero) {
  value_ = std::optional<int>(4);
  EXPECT_EQ(run({key::down, key::escape}), 0);
  EXPECT_EQ(value_, std::optional<int>(0));
  EXPECT_EQ(highlighted_rows(), std::vector<int>{5});
}

TEST_F(LightbarTest, HighlightCoversTheTextAndTheCursorEndsOnRow23) {
  value_ = std::optional<int>(1);
  con_.set_cursor_shape(cursor_shape::insert);
  EXPECT_EQ(run({key::down, key::down, key::enter}), 3);
  const int width = static_cast<int>(kTexts[2].size());
  for (int c = 19; c <= 20 + width; ++c) {
    const bool inside = c >= 20 && c < 20 + width;
    EXPECT_EQ(con_.screen().cell(7, c).attr, inside ? attr::make(0, 7) : attr::make(7, 0)) << c;
  }
  EXPECT_EQ(highlighted_rows(), std::vector<int>{3});
  EXPECT_EQ(con_.screen().cursor_row(), 23);
  EXPECT_EQ(con_.screen().cursor_column(), 0);
  EXPECT_EQ(con_.screen().cursor_shape(), cursor_shape::insert);
  EXPECT_EQ(con_.colours().current_slot(), ColourTable::standard);
}

TEST_F(LightbarTest, CursorIsHiddenWhileSelectingOnlyWithIntensityOn) {
  // A message routine runs inside the selection loop and sees the cursor.
  std::vector<int> shapes;
  auto watch = [&] {
    shapes.push_back(con_.screen().cursor_shape());
    return std::string();
  };
  con_.set_setting("MESSAGE", 23);
  con_.add_prompt(1, 0, "one", std::function<std::string()>(watch));
  backend_.push_key(key::enter);
  value_ = std::optional<int>(1);
  con_.select(variable());
  EXPECT_EQ(shapes, (std::vector<int>{cursor_shape::hidden, cursor_shape::hidden}));
  EXPECT_EQ(con_.screen().cursor_shape(), cursor_shape::normal);

  shapes.clear();
  con_.set_setting("INTENSITY", false);
  con_.add_prompt(5, 20, kTexts[0], std::function<std::string()>(watch));
  con_.add_prompt(6, 20, kTexts[1], std::function<std::string()>(watch));
  backend_.push_keys({key::down, key::enter});
  EXPECT_EQ(con_.select(variable()), 2);
  EXPECT_EQ(shapes, (std::vector<int>(3, cursor_shape::normal)));
  EXPECT_TRUE(highlighted_rows().empty());  // no highlight without INTENSITY
}

TEST_F(LightbarTest, PromptColoursAndMessageLine) {
  con_.set_setting("MESSAGE", 22);
  con_.set_setting("MCENTER", true);
  con_.add_prompt(1, 0, "First", std::string("a longer message"), std::string("GR/B,W+/R"));
  con_.add_prompt(2, 0, "Second", std::function<std::string()>([] { return std::string("m2"); }));
  EXPECT_EQ(con_.screen().cell(1, 0).attr, attr::make(6, 1));
  value_ = std::optional<int>(1);
  backend_.push_keys({key::down, key::enter});
  EXPECT_EQ(con_.select(variable()), 2);
  // The old message was blanked out and the new one centred: (79 - 2) / 2.
  EXPECT_EQ(con_.screen().row_text(22), std::string(38, ' ') + "m2" + std::string(40, ' '));
  EXPECT_EQ(con_.screen().cell(1, 0).attr, attr::make(6, 1));  // back to its normal colour
  EXPECT_EQ(con_.screen().cell(2, 0).attr, attr::make(0, 7));  // enhanced slot
}

TEST_F(LightbarTest, EmptyListReturnsZeroAtOnce) {
  value_ = std::optional<int>(5);
  EXPECT_EQ(con_.select(variable()), 0);
  EXPECT_EQ(value_, std::optional<int>(0));
  // The list is consumed by a selection: a second one finds none.
  add_prompts(3);
  backend_.push_key(key::enter);
  EXPECT_EQ(con_.select(variable()), 1);
  EXPECT_FALSE(con_.lightbar().prompts().has_value());
  EXPECT_EQ(con_.select(variable()), 0);
}

}  // namespace
}  // namespace console

#include "app/menu.h"

#include <gtest/gtest.h>

#include "app/globals.h"
#include "console/keys.h"

namespace app {
namespace {

using console::attr::make;
namespace key = console::key;

class MenuTest : public ::testing::Test {
 protected:
  MenuTest() {
    nPrompt.reset();
    for (std::size_t i = 0; i < operations_.size(); ++i) {
      operations_[i] = [this, i] { called_.push_back(static_cast<int>(i) + 1); };
    }
  }
  ~MenuTest() override { nPrompt.reset(); }

  // Runs the menu until it ends or the keys run out (the menu then waits).
  bool run(std::initializer_list<int> keys) {
    backend_.push_keys(keys);
    try {
      run_menu(operations_);
      return true;
    } catch (const console::OutOfKeys&) {
      return false;
    }
  }
  std::string row(int r) const {
    std::string text = con_.screen().row_text(r);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  std::vector<int> highlighted_options() const {
    std::vector<int> options;
    for (int option = 1; option <= 12; ++option) {
      if (con_.screen().cell(4 + option, 20).attr == make(0, 7)) options.push_back(option);
    }
    return options;
  }

  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_{con_};
  Operations operations_;
  std::vector<int> called_;
};

TEST_F(MenuTest, FirstDisplayMatchesTheSnapshot) {
  EXPECT_FALSE(run({}));
  const std::vector<std::string> expected = {
      "                     1) CFDI 3.3 Simple",
      "                     2) CFDI 3.3 con Complemento de Pagos 1.0",
      "                     3) CFDI 3.3 con Complemento de Nomina 1.2",
      "                     4) CFDI 3.3 con Complemento de Carta Porte 1.0",
      "                     5) CFDI 3.3 con Complemento de Carta Porte 2.0",
      "                     6) Timbrado de un XML creado externamente",
      "                     7) Convertir archivo .CER a Base64",
      "                     8) Generar CBB manualmente",
      "                     9) Cancelar CFDI con el nuevo esquema",
      "                     10) Consulta estado de un CFDI para cancelaci\xF3n",
      "                     11) Recuperar acuse de cancelaci\xF3n",
      "                     12) Salir"};
  EXPECT_EQ(row(3), "                     Seleccione una opcion");
  for (int r = 0; r < 25; ++r) {
    if (r >= 5 && r <= 16) {
      EXPECT_EQ(row(r), expected[static_cast<std::size_t>(r - 5)]) << "row " << r;
    } else if (r != 3) {
      EXPECT_EQ(row(r), "") << "row " << r;
    }
  }
  // The title in bright white on red, exactly its own width.
  EXPECT_EQ(con_.screen().cell(3, 19).attr, make(7, 0));
  for (int c = 20; c < 43; ++c) EXPECT_EQ(con_.screen().cell(3, c).attr, make(7, 4, true)) << c;
  EXPECT_EQ(con_.screen().cell(3, 43).attr, make(7, 0));
  EXPECT_EQ(highlighted_options(), std::vector<int>{1});
  EXPECT_EQ(con_.screen().cell(14, 66).ch, 0xF3);  // "ó" reaches the grid as one byte
}

TEST_F(MenuTest, HighlightBarIsExactlyThePromptsOwnText) {
  // Option 4 has no trailing blank (47 bytes), option 6 one (43 bytes).
  for (auto [option, keys] : {std::pair{4, '4'}, std::pair{6, '6'}}) {
    ASSERT_FALSE(run({keys}));
    const int width = static_cast<int>(kMenuPrompts[static_cast<std::size_t>(option - 1)].size());
    const int r = 4 + option;
    EXPECT_EQ(con_.screen().cell(r, 19).attr, make(7, 0));
    for (int c = 20; c < 20 + width; ++c) EXPECT_EQ(con_.screen().cell(r, c).attr, make(0, 7)) << c;
    EXPECT_EQ(con_.screen().cell(r, 20 + width).attr, make(7, 0)) << option;
  }
  EXPECT_EQ(kMenuPrompts[3].size(), 47u);
  EXPECT_EQ(kMenuPrompts[5].size(), 43u);
}

TEST_F(MenuTest, ChosenOperationRunsAndIsHighlightedNextTime) {
  EXPECT_FALSE(run({'7'}));
  EXPECT_EQ(called_, std::vector<int>{7});
  EXPECT_EQ(nPrompt, 7);
  EXPECT_EQ(highlighted_options(), std::vector<int>{7});
  EXPECT_EQ(row(11), "                     7) Convertir archivo .CER a Base64");
}

TEST_F(MenuTest, EveryOptionReachesItsOwnOperation) {
  EXPECT_FALSE(run({key::home, key::enter}));
  for (int i = 0; i < 10; ++i) {
    backend_.push_keys({key::down, key::enter});
  }
  EXPECT_FALSE(run({}));
  EXPECT_EQ(called_, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(MenuTest, EscRedrawsAndHighlightsTheFirstOption) {
  EXPECT_FALSE(run({key::down, key::down, key::escape}));
  EXPECT_TRUE(called_.empty());
  EXPECT_EQ(nPrompt, 0);
  EXPECT_EQ(highlighted_options(), std::vector<int>{1});
}

TEST_F(MenuTest, OptionTwelveEndsWithoutCallingAnything) {
  EXPECT_TRUE(run({key::end, key::enter}));
  EXPECT_TRUE(called_.empty());
  EXPECT_EQ(nPrompt, 12);
  EXPECT_EQ(backend_.pending(), 0u);
}

TEST_F(MenuTest, MenuAfterAnOperationKeepsTheColourItLeft) {
  operations_[0] = [this] { con_.set_colour("W+/N"); };
  EXPECT_FALSE(run({'1'}));
  EXPECT_EQ(con_.screen().cell(6, 21).attr, make(7, 0, true));  // bright white text
  EXPECT_EQ(con_.screen().cell(5, 21).attr, make(0, 7));        // highlight stays
}

TEST(MainTest, SizesTheScreenAndSwitchesScoreboardOff) {
  console::HeadlessBackend backend({30, 100});
  console::Console con(backend, 40, 120);
  ScopedConsole scoped(con);
  nPrompt.reset();
  backend.push_keys({key::end, key::enter});
  MAIN();
  EXPECT_EQ(con.screen().rows(), 25);
  EXPECT_EQ(con.screen().columns(), 80);
  EXPECT_FALSE(con.settings().scoreboard());
  nPrompt.reset();
}

}  // namespace
}  // namespace app

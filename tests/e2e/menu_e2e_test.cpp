// The program in a real terminal: the menu as a user sees it and the ways it
// ends.

#include <gtest/gtest.h>

#include <cstdlib>

#include "portable/signals.h"
#include "tests/e2e/tmux_session.h"

namespace e2e {
namespace {

const CellColour kNormal{7, 0, false, false};
// After an operation the standard colour stays "W+/N", as the pages leave it.
const CellColour kNormalAfterOperation{7, 0, true, false};
const CellColour kHighlight{0, 7, false, false};
const CellColour kTitle{7, 4, true, false};

class MenuE2eTest : public ::testing::Test {
 protected:
  TmuxSession::Options options(int columns = 80, int rows = 25) {
    TmuxSession::Options o;
    o.working_dir = folder_.path();
    o.columns = columns;
    o.rows = rows;
    return o;
  }
  // The highlight covers exactly the prompt's text on its row.
  static void expect_bar(const TmuxSession& session, int row, int width,
                         const CellColour& normal = kNormal) {
    EXPECT_EQ(session.colour_at(row, 19), normal) << "row " << row;
    EXPECT_EQ(session.colour_at(row, 20), kHighlight) << "row " << row;
    EXPECT_EQ(session.colour_at(row, 19 + width), kHighlight) << "row " << row;
    EXPECT_EQ(session.colour_at(row, 20 + width), normal) << "row " << row;
  }
  static void expect_terminal_usable(const TmuxSession& session) {
    const std::string modes = session.terminal_modes_after_exit();
    EXPECT_NE(modes.find(" icanon"), std::string::npos) << modes;
    EXPECT_NE(modes.find(" echo "), std::string::npos) << modes;
    EXPECT_EQ(session.pane_format("#{alternate_on}"), "0");
    EXPECT_EQ(session.pane_format("#{cursor_flag}"), "1");
  }

  TemporaryFolder folder_;
};

TEST_F(MenuE2eTest, MenuAsTheUserSeesIt) {
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text_at(16, 21, "12) Salir"));
  const std::vector<std::string> expected = {
      "",
      "",
      "",
      "                     Seleccione una opcion",
      "",
      "                     1) CFDI 3.3 Simple",
      "                     2) CFDI 3.3 con Complemento de Pagos 1.0",
      "                     3) CFDI 3.3 con Complemento de Nomina 1.2",
      "                     4) CFDI 3.3 con Complemento de Carta Porte 1.0",
      "                     5) CFDI 3.3 con Complemento de Carta Porte 2.0",
      "                     6) Timbrado de un XML creado externamente",
      "                     7) Convertir archivo .CER a Base64",
      "                     8) Generar CBB manualmente",
      "                     9) Cancelar CFDI con el nuevo esquema",
      "                     10) Consulta estado de un CFDI para cancelación",
      "                     11) Recuperar acuse de cancelación",
      "                     12) Salir"};
  std::vector<std::string> shown = session.screen();
  for (std::size_t r = 0; r < shown.size(); ++r) {
    EXPECT_EQ(shown[r], r < expected.size() ? expected[r] : "") << "row " << r;
  }
  EXPECT_EQ(session.colour_at(3, 19), kNormal);
  EXPECT_EQ(session.colour_at(3, 20), kTitle);
  EXPECT_EQ(session.colour_at(3, 42), kTitle);
  EXPECT_EQ(session.colour_at(3, 43), kNormal);
  expect_bar(session, 5, 20);
  EXPECT_EQ(session.colour_at(6, 20), kNormal);
}

TEST_F(MenuE2eTest, ChosenOptionIsHighlightedWhenTheMenuReturns) {
  // Option 7 needs the sample certificate of a prepared working folder.
  const std::string init = "'" CFDI_BINARY_DIR "/bin/drovanexis-sandbox' init '" +
                           folder_.path().string() + "' >/dev/null";
  ASSERT_EQ(std::system(init.c_str()), 0) << init;
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text("12) Salir"));
  session.send_keys({"7"});
  ASSERT_TRUE(session.wait_for_text("Este es el archivo .CER en Base64"));
  session.send_keys({"Escape"});
  // The menu comes back with option 7 highlighted, drawn in the colour the
  // operation left current (bright white on black); the highlight stays
  // black on white.
  ASSERT_TRUE(session.wait_until([&] { return session.colour_at(11, 20) == kHighlight; },
                                 "option 7 highlighted"));
  expect_bar(session, 11, 36, kNormalAfterOperation);
  EXPECT_EQ(session.colour_at(5, 20), kNormalAfterOperation);
  EXPECT_FALSE(session.has_exited());
}

TEST_F(MenuE2eTest, EscRedrawsAndEndAndEnterEndWithCodeZero) {
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text("12) Salir"));
  session.send_keys({"Down", "Down"});
  ASSERT_TRUE(session.wait_until([&] { return session.colour_at(7, 20) == kHighlight; },
                                 "option 3 highlighted"));
  session.send_keys({"Escape"});
  ASSERT_TRUE(session.wait_until(
      [&] { return session.colour_at(5, 20) == kHighlight && session.colour_at(7, 20) == kNormal; },
      "the menu redrawn with option 1 highlighted"));
  EXPECT_FALSE(session.has_exited());
  session.send_keys({"End"});
  ASSERT_TRUE(session.wait_until([&] { return session.colour_at(16, 20) == kHighlight; },
                                 "option 12 highlighted"));
  expect_bar(session, 16, 11);
  session.send_keys({"Enter"});
  EXPECT_EQ(session.wait_for_exit(), 0);
  EXPECT_EQ(session.error_output(), "");
  expect_terminal_usable(session);
}

// Alt+C and the hang-up, termination and interrupt signals all cancel: the
// call chain goes to the error output, the exit code is 1 and the terminal is
// left usable.
TEST_F(MenuE2eTest, AltCAndBreakSignalsCancelAndLeaveTheTerminalUsable) {
  using portable::Signal;
  for (std::optional<Signal> way :
       {std::optional<Signal>(), std::optional(Signal::terminate), std::optional(Signal::interrupt),
        std::optional(Signal::hang_up)}) {
    SCOPED_TRACE(way ? "signal " + std::to_string(portable::signal_number(*way))
                     : std::string("Alt+C"));
    TmuxSession session(options());
    ASSERT_TRUE(session.wait_for_text("12) Salir"));
    if (way) {
      ASSERT_TRUE(portable::send_signal(session.program_pid(), *way));
    } else {
      session.send_keys({"M-c"});
    }
    EXPECT_EQ(session.wait_for_exit(), 1);
    const std::string errors = session.error_output();
    EXPECT_TRUE(errors.starts_with("\nCancelled at: LIGHTBAR_SELECT (")) << errors;
    EXPECT_NE(errors.find(")\nMAIN ("), std::string::npos) << errors;
    expect_terminal_usable(session);
  }
}

TEST_F(MenuE2eTest, CrashSignalRestoresTheTerminalAndEndsAsTheSignalWould) {
  TmuxSession session(options());
  ASSERT_TRUE(session.wait_for_text("12) Salir"));
  ASSERT_TRUE(portable::send_signal(session.program_pid(), portable::Signal::segmentation_fault));
  EXPECT_EQ(session.wait_for_exit(),
            128 + portable::signal_number(portable::Signal::segmentation_fault));
  expect_terminal_usable(session);
}

TEST_F(MenuE2eTest, SmallTerminalIsRefusedWithTheSizes) {
  TmuxSession session(options(70, 20));
  EXPECT_EQ(session.wait_for_exit(), 1);
  EXPECT_EQ(session.error_output(),
            "cfdi-demo needs a terminal of at least 80 columns by 25 rows; "
            "this one has 70 columns by 20 rows.\n");
  expect_terminal_usable(session);
}

}  // namespace
}  // namespace e2e

// The terminal backend's key mapping in a real terminal: tmux sends each key
// as a terminal would and the key probe shows the code it read.

#include <gtest/gtest.h>

#include "console/keys.h"
#include "tests/e2e/tmux_session.h"

namespace e2e {
namespace {

namespace key = console::key;

TEST(KeysE2eTest, TerminalKeysArriveAsOurCodes) {
  TemporaryFolder folder;
  TmuxSession::Options options;
  options.working_dir = folder.path();
  options.program = std::filesystem::path(CFDI_BINARY_DIR) / "bin" / "key_probe";
  TmuxSession session(options);
  ASSERT_TRUE(session.wait_for_text_at(1, 0, "ready"));

  const std::vector<std::pair<std::string, int>> table = {{"Up", key::up},
                                                          {"Down", key::down},
                                                          {"Left", key::left},
                                                          {"Right", key::right},
                                                          {"Home", key::home},
                                                          {"End", key::end},
                                                          {"PageUp", key::page_up},
                                                          {"PageDown", key::page_down},
                                                          {"Enter", key::enter},
                                                          {"Escape", key::escape},
                                                          {"Tab", key::tab},
                                                          {"BTab", key::shift_tab},
                                                          {"BSpace", key::backspace},
                                                          {"DC", key::del},
                                                          {"IC", key::ins},
                                                          {"F1", key::f1},
                                                          {"C-Left", key::ctrl_left},
                                                          {"C-Right", key::ctrl_right},
                                                          {"C-Home", key::ctrl_home},
                                                          {"C-End", key::ctrl_end},
                                                          {"C-PageUp", key::ctrl_page_up},
                                                          {"C-PageDown", key::ctrl_page_down},
                                                          {"S-Left", key::shift_left},
                                                          {"S-Right", key::shift_right},
                                                          {"S-Up", key::shift_up},
                                                          {"S-Down", key::shift_down},
                                                          {"S-Home", key::shift_home},
                                                          {"S-End", key::shift_end},
                                                          {"S-DC", key::shift_del},
                                                          {"S-IC", key::shift_ins},
                                                          {"C-a", key::ctrl_a},
                                                          {"C-c", key::ctrl_c},
                                                          {"C-w", key::ctrl_w},
                                                          {"M-c", key::alt_c},
                                                          {"M-w", key::alt_w},
                                                          {"x", 'x'},
                                                          {"Escape", key::escape},
                                                          {"7", '7'}};
  // The probe counts the keys it read; a key it did not recognise leaves the
  // count as it was, so the count shown is re-read after each key.
  auto shown_count = [&] {
    const std::string row = session.screen()[0];
    const std::size_t hash = row.find('#');
    return hash == std::string::npos ? 0 : std::stoi(row.substr(hash + 1));
  };
  int count = 0;
  for (const auto& [name, code] : table) {
    session.send_keys({name});
    EXPECT_TRUE(session.wait_for_text_at(
        0, 0, "key " + std::to_string(code) + " #" + std::to_string(count + 1) + ".", 3s))
        << name;
    count = shown_count();
  }
  // An escape sequence the terminal description does not know is no key at
  // all: the next key read is the next key typed.
  session.send_text("\033[99;7~");
  session.send_keys({"y"});
  EXPECT_TRUE(session.wait_for_text_at(0, 0, "key 121 #" + std::to_string(++count) + "."));
  // A character typed as UTF-8 arrives as its Windows-1252 byte.
  session.send_text("\xC3\xB3");
  EXPECT_TRUE(session.wait_for_text_at(0, 0, "key 243 #" + std::to_string(++count) + "."));
  session.send_keys({"q"});
  EXPECT_EQ(session.wait_for_exit(), 0);
}

}  // namespace
}  // namespace e2e

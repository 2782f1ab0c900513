// Options 7 and 8 against the recording library, and the command that opens
// a CBB bitmap.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "app/open_bitmap.h"
#include "app/operations.h"
#include "binding/testing/recording_client.h"
#include "console/console.h"
#include "portable/environment.h"
#include "tests/support/command_output.h"
#include "tests/support/test_folder.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using console::attr::make;

std::string padded(std::string text) {
  text.resize(80, ' ');
  return text;
}

std::string file_text(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Sets an environment variable (or removes it, for nullopt) for the life of
// the object.
using ScopedEnv = portable::ScopedEnvironmentVariable;

// A stand-in for the desktop's opener: a folder holding an "xdg-open" that
// appends its arguments, one line each, to a record file.
class FakeOpener {
 public:
  explicit FakeOpener(const fs::path& folder)
      : bin_(folder / "fake-bin"), record_(folder / "opened") {
    fs::create_directories(bin_);
    const fs::path script = bin_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << record_.string()
                          << "'\necho noise; echo more noise >&2\n";
    fs::permissions(script, fs::perms::owner_all);
  }
  const fs::path& bin() const { return bin_; }
  std::vector<std::string> opened() const {
    std::vector<std::string> lines;
    std::istringstream in(file_text(record_));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The opener runs in the background: waits (bounded) for `count` lines.
  std::vector<std::string> wait_for(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (opened().size() < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return opened();
  }

 private:
  fs::path bin_;
  fs::path record_;
};

// Runs the command and waits for what it started; returns everything the
// command wrote to its output and error output.
std::string run_and_wait(const std::string& command) {
  return test_support::run_command_line(command, true).output;
}

class CertBmpTest : public ::testing::Test {
 protected:
  CertBmpTest() { recording_.reset(); }

  std::string row(int r) const { return con_.screen().row_text(r); }
  std::uint8_t attr_at(int r, int c) const { return con_.screen().cell(r, c).attr; }
  bool banner_is_blue() const {
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 80; ++c) {
        if (attr_at(r, c) != make(7, 1, true)) return false;
      }
    }
    return true;
  }

  test_support::TestFolder folder_;
  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_console_{con_};
  recording::ScopedLibrary scoped_library_{BINDING_RECORDING_LIBRARY};
  recording::RecordingLibrary recording_{BINDING_RECORDING_LIBRARY};
  // No graphical session unless a test sets one up.
  ScopedEnv no_display_{"DISPLAY", std::nullopt};
  ScopedEnv no_wayland_{"WAYLAND_DISPLAY", std::nullopt};
};

TEST_F(CertBmpTest, CertificateInBase64IsShownAsTheLibraryGivesIt) {
  const std::string base64 = "MIIF" + std::string(120, 'Q') + "==";
  for (const std::optional<std::string>& answer :
       {std::optional(base64), std::optional<std::string>()}) {
    SCOPED_TRACE(answer ? "a text" : "a null text");
    recording_.reset();
    if (answer) recording_.set_text_result("Drovanexis_CerTo64", answer->c_str());
    con_.write_at(12, 20, " 8) Generar CBB manualmente ");
    backend_.push_key(27);
    CERTA64();
    EXPECT_EQ(recording_.calls(),
              std::vector<std::string>{R"(Drovanexis_CerTo64("CSD_KIJ0906199R1.CER"))"});
    EXPECT_EQ(row(1), padded(" Este es el archivo .CER en Base64 (Presione <Esc> para salir)"));
    EXPECT_TRUE(banner_is_blue());
    EXPECT_EQ(row(3), answer ? answer->substr(0, 80) : padded(""));
    EXPECT_EQ(row(12), padded(""));
    EXPECT_EQ(attr_at(3, 0), make(7, 0, true));
    EXPECT_EQ(con_.colour_string().substr(0, 5), "W+/N,");
    EXPECT_EQ(backend_.pending(), 0u);
  }
}

// Two generations with the fixed values, each followed by its open command
// (run even though the library made no bitmap); then the log written as
// ".\QR.LOG" is shown as "qr.log". N holds the last result.
TEST_F(CertBmpTest, CbbCallsOpenBothBitmapsAndShowTheLog) {
  std::ofstream("QR.LOG", std::ios::binary) << "primera generacion\r\nsegunda generacion\r\n";
  recording_.set_integer_result("Drovanexis_GeneraCBB", -5);
  N = 0;
  backend_.push_key(27);
  BMPSAMANO();
  const std::string query = R"("?re=AAA010101AAA&rr=FOHG380609Q76...")";
  EXPECT_EQ(
      recording_.calls(),
      (std::vector<std::string>{
          "Drovanexis_GeneraCBB(" + query + R"(, ".\x5CQR_ind.BMP", 0, ".\x5CQR.LOG", 1, 4, 5))",
          "Drovanexis_GeneraCBB(" + query + R"(, ".\x5CQR_dep.BMP", 1, ".\x5CQR.LOG", 1, 4, 5))"}));
  EXPECT_EQ(N, -5);
  EXPECT_EQ(backend_.suspend_count(), 2);
  EXPECT_EQ(backend_.resume_count(), 2);
  EXPECT_EQ(row(1), padded(" Archivo LOG de generaci\xF3n de CBB (Presione <Esc> para salir)"));
  EXPECT_TRUE(banner_is_blue());
  EXPECT_EQ(row(3), padded("primera generacion"));
  EXPECT_EQ(row(4), padded("segunda generacion"));
  EXPECT_EQ(con_.colour_string().substr(0, 5), "W+/N,");
}

// In a graphical session each bitmap goes to the desktop's opener by its
// name as found on disk; a missing one by its name as given.
TEST_F(CertBmpTest, CbbBitmapsGoToTheDesktopOpener) {
  FakeOpener opener(folder_.path());
  ScopedEnv display("DISPLAY", ":99");
  ScopedEnv path("PATH", opener.bin().string() + ":" + std::getenv("PATH"));
  std::ofstream("QR_ind.BMP", std::ios::binary) << "BM";
  backend_.push_key(27);
  BMPSAMANO();
  std::vector<std::string> opened = opener.wait_for(2);
  std::sort(opened.begin(), opened.end());
  const fs::path here = fs::current_path();
  EXPECT_EQ(opened, (std::vector<std::string>{(here / "QR_ind.BMP").string(),
                                              (here / "qr_dep.bmp").string()}));
}

TEST_F(CertBmpTest, OpenCommandRunsTheOpenerOnlyInAGraphicalSession) {
  FakeOpener opener(folder_.path());
  const std::string with_opener = opener.bin().string() + ":" + std::getenv("PATH");
  const fs::path empty_bin = folder_.path() / "empty-bin";
  fs::create_directories(empty_bin);
  const std::string bitmap = "it's a \"$(odd)\" name.bmp";
  std::ofstream(bitmap, std::ios::binary) << "BM";
  const std::string expected = (fs::current_path() / bitmap).string();

  struct Case {
    const char* what;
    std::optional<std::string> display;
    std::optional<std::string> wayland;
    std::string path;
    bool opens;
  };
  const Case cases[] = {
      {"X display", ":0", std::nullopt, with_opener, true},
      {"Wayland display", std::nullopt, "wayland-0", with_opener, true},
      {"empty DISPLAY", "", std::nullopt, with_opener, false},
      {"no session", std::nullopt, std::nullopt, with_opener, false},
      {"no xdg-open", ":0", std::nullopt, empty_bin.string(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(folder_.path() / "opened");
    ScopedEnv display("DISPLAY", c.display);
    ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
    const std::string command = open_bitmap_command(bitmap);
    ScopedEnv path("PATH", c.path);
    EXPECT_EQ(run_and_wait(command), "");
    EXPECT_EQ(opener.opened(),
              c.opens ? std::vector<std::string>{expected} : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace app

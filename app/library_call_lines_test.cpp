// A call into the library that fails is reported at the line of that call:
// "Cancelled at:" names the operation's frame with the line of its failing
// library call, not the line where the operation began.

#include "app/library_call_lines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/operations.h"
#include "binding/testing/recording_client.h"
#include "console/call_stack.h"
#include "console/console.h"
#include "console/error_handler.h"
#include "console/keys.h"
#include "tests/support/test_folder.h"

namespace app {
namespace {

// The 1-based line of the first line of app/<file> that holds `text`; 0 when
// none does.
int source_line(const std::string& file, const std::string& text) {
  std::ifstream in(std::string(CFDI_SOURCE_DIR) + "/app/" + file);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.find(text) != std::string::npos) return number;
  }
  return 0;
}

struct FailingCall {
  const char* name;
  std::function<void()> operation;
  const char* library;  // the file DROVANEXIS_LIBRARY names
  std::vector<int> keys_before_the_failure;
  // "Cancelled at:" lines above MAIN's: the routine, its source file and the
  // text of the line it must show.
  struct Frame {
    const char* routine;
    const char* file;
    const char* line_text;
  };
  std::vector<Frame> frames;
};

class LibraryCallLinesTest : public ::testing::Test {
 protected:
  test_support::TestFolder folder_;
  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_console_{con_};
  console::ErrorHandler handler_{&con_};
  LibraryCallLines library_call_lines_;
};

TEST_F(LibraryCallLinesTest, AFailingLibraryCallIsCancelledAtItsOwnLine) {
  const std::string missing = (folder_.path() / "gone" / "libdrovanexis.so").string();
  const FailingCall cases[] = {
      {"the one call of an operation",
       CANCELACFDI,
       missing.c_str(),
       {},
       {{"CANCELACFDI", "cancelacfdi.cpp", "DROVANEXIS_CANCELACFDI("}}},
      {"a call whose arguments run over several lines",
       ACUSECANCELA,
       missing.c_str(),
       {},
       {{"ACUSECANCELA", "acusecancela.cpp", "DROVANEXIS_RECUPERAACUSECANCELACION("}}},
      {"a call made in a helper shared by the operations (another module)",
       VXMLSAMPLE,
       missing.c_str(),
       {},
       {{"VXMLSAMPLE", "vxml_sample.cpp", "issue_document("}}},
      {"a value asked for on behalf of a page's step",
       VXMLSAMPLE,
       BINDING_RECORDING_MISSING_ENTRY_LIBRARY,
       {console::key::escape},  // leaves page 1; page 2 needs the missing entry
       {{"SUCCESS_SEQUENCE", "pages.cpp", "show_value_page(handle, 5,"},
        {"VXMLSAMPLE", "vxml_sample.cpp", "issue_document("}}},
  };
  for (const FailingCall& c : cases) {
    SCOPED_TRACE(c.name);
    const recording::ScopedLibrary library(c.library);
    for (int key : c.keys_before_the_failure) backend_.push_key(key);
    backend_.push_key(console::key::alt_c);  // cancels in the error dialog
    int main_line = 0;
    const console::ProgramOutcome outcome = console::run_program(handler_, [&] {
      console::RoutineFrame main_frame("MAIN");
      main_line = __LINE__ + 1;
      console::RoutineFrame::at();  // the line of the operation's call, as the menu does
      c.operation();
    });

    std::string expected = "\nCancelled at: ";
    for (const FailingCall::Frame& frame : c.frames) {
      const int line = source_line(frame.file, frame.line_text);
      ASSERT_GT(line, 0) << frame.line_text << " not found in " << frame.file;
      expected += std::string(frame.routine) + " (" + std::to_string(line) + ")\n";
    }
    expected += "MAIN (" + std::to_string(main_line) + ")\n";
    EXPECT_EQ(outcome.error_output, expected);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(backend_.pending(), 0u);
  }
}

}  // namespace
}  // namespace app

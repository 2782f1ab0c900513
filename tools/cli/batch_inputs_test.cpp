#include "tools/cli/batch_inputs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "portable/test_folder.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kSuffixes = {".sellado.xml", ".timbrado.xml"};

void touch(const fs::path& file) {
  fs::create_directories(file.parent_path().empty() ? fs::path(".") : file.parent_path());
  std::ofstream(file) << "<x/>";
}

std::vector<std::string> all_of(BatchInputs& inputs) {
  std::vector<std::string> taken;
  while (const auto input = inputs.next()) {
    taken.push_back(input->file.generic_string() + "#" + std::to_string(input->operand));
  }
  return taken;
}

// Folders are read a window at a time; the files still come in name order,
// each once, whatever the window, and results, temporaries and other files
// are left out.
TEST(BatchInputs, FoldersInNameOrderAcrossWindows) {
  portable::TestFolder folder;
  for (const char* name : {"in/b.xml", "in/a10.xml", "in/a2.xml", "in/c.xml", "in/a1.xml",
                           "in/z.xml", "in/b.timbrado.xml", "in/b.sellado.xml", "in/.b.xml.partial",
                           "in/.oculto.xml", "in/notas.txt", "in/d.xml", "solo.xml"}) {
    touch(name);
  }
  fs::create_directories("in/sub.xml");  // a folder named like an input
  const std::vector<std::string> expected = {"in/a1.xml#0", "in/a10.xml#0", "in/a2.xml#0",
                                             "in/b.xml#0",  "in/c.xml#0",   "in/d.xml#0",
                                             "in/z.xml#0",  "solo.xml#1"};
  for (std::size_t window : {1, 2, 3, 7, 1024}) {
    BatchInputs inputs({"in", "solo.xml"}, kSuffixes, window);
    EXPECT_EQ(inputs.count(), 8u);
    EXPECT_EQ(all_of(inputs), expected) << "window " << window;
    EXPECT_TRUE(inputs.errors().empty());
  }
}

TEST(BatchInputs, MissingOperandsAreReportedAndTheRestTaken) {
  portable::TestFolder folder;
  touch("in/a.xml");
  BatchInputs inputs({"nada", "in", "tampoco.xml"}, kSuffixes, 4);
  EXPECT_EQ(all_of(inputs), std::vector<std::string>{"in/a.xml#1"});
  EXPECT_EQ(inputs.errors(), (std::vector<std::string>{"nada: no such file or folder",
                                                       "tampoco.xml: no such file or folder"}));
}

// Two inputs must not share a result file: with an output folder, two of the
// same name; without, one file reached twice.
TEST(BatchInputs, ResultTakenByAnEarlierOperand) {
  portable::TestFolder folder;
  for (const char* name : {"a/uno.xml", "a/dos.xml", "b/uno.xml", "b/tres.xml", "c/uno.xml"}) {
    touch(name);
  }
  struct Case {
    std::vector<std::string> operands;
    bool output_folder;
    std::vector<std::string> taken;  // inputs whose result an earlier operand has
  };
  const std::vector<Case> cases = {
      {{"a", "b"}, true, {"b/uno.xml"}},
      {{"a", "b"}, false, {}},
      {{"a", "b", "c"}, true, {"b/uno.xml", "c/uno.xml"}},
      {{"a", "./a"}, false, {"./a/dos.xml", "./a/uno.xml"}},
      {{"a/uno.xml", "a"}, false, {"a/uno.xml"}},
      {{"a/uno.xml", "b"}, true, {"b/uno.xml"}},
      {{"a/uno.xml", "b"}, false, {}},
      {{"b/tres.xml", "b/tres.xml"}, false, {"b/tres.xml"}},
  };
  for (const Case& c : cases) {
    BatchInputs inputs(c.operands, kSuffixes, 2);
    std::vector<std::string> taken;
    bool first_of_second_seen = false;
    while (const auto input = inputs.next()) {
      if (inputs.result_taken_by_earlier_operand(*input, c.output_folder)) {
        taken.push_back(input->file.generic_string());
      }
      first_of_second_seen = first_of_second_seen || input->operand > 0;
    }
    EXPECT_TRUE(first_of_second_seen);
    EXPECT_EQ(taken, c.taken) << c.operands[0] << " " << c.operands[1] << " " << c.output_folder;
  }
}

}  // namespace
}  // namespace cli

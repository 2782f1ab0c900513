#include "portable/windows_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/test_folder.h"

namespace fs = std::filesystem;

TEST(WindowsPath, ConvertsPrefixAndBackslashes) {
  EXPECT_EQ(portable::to_native_path(".\\Recupera.xml"), fs::path("Recupera.xml"));
  EXPECT_EQ(portable::to_native_path("a\\b\\c.txt"), fs::path("a/b/c.txt"));
  EXPECT_EQ(portable::to_native_path("plain.log"), fs::path("plain.log"));
}

TEST(WindowsPath, FindsNamesThatDifferOnlyInCase) {
  test_support::TestFolder folder;
  fs::create_directory("Sub");
  std::ofstream("Sub/CSD_KIJ0906199R1.cer") << "x";
  std::ofstream("exact.CER") << "x";

  struct Case {
    const char* asked;
    const char* expected;
  };
  const Case cases[] = {
      {"Sub\\CSD_KIJ0906199R1.CER", "Sub/CSD_KIJ0906199R1.cer"},
      {".\\sub\\csd_kij0906199r1.cer", "Sub/CSD_KIJ0906199R1.cer"},
      {"exact.CER", "exact.CER"},
      {"EXACT.cer", "exact.CER"},
      {"missing.cer", "missing.cer"},
      {"nosuch\\x.cer", "nosuch/x.cer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(portable::resolve_path(c.asked), fs::path(c.expected)) << c.asked;
  }
}

TEST(WindowsPath, PrefersTheExactNameWhenSeveralMatch) {
  test_support::TestFolder folder;
  std::ofstream("Data.txt") << "upper";
  std::ofstream("data.txt") << "lower";
  EXPECT_EQ(portable::resolve_path("data.txt"), fs::path("data.txt"));
  EXPECT_EQ(portable::resolve_path("Data.txt"), fs::path("Data.txt"));
}

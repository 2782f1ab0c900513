#include "tests/support/sat_folder.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "portable/environment.h"

namespace test_support {
namespace {

void require_a_missing_folder() {
  CFDI_REQUIRE_SAT(std::filesystem::exists("/nonexistent/sat"), "the folder /nonexistent/sat");
}

bool reached_after_an_available_folder = false;

void require_an_available_folder() {
  CFDI_REQUIRE_SAT(std::filesystem::exists("/"), "the root folder");
  reached_after_an_available_folder = true;
}

// In continuous integration a missing SAT folder fails the test, naming it.
TEST(SatFolder, MissingInContinuousIntegrationFails) {
  const portable::ScopedEnvironmentVariable ci("CI", "true");
  EXPECT_FATAL_FAILURE(require_a_missing_folder(),
                       "missing in CI (CI is set): the folder /nonexistent/sat");
}

TEST(SatFolder, AnAvailableFolderLetsTheTestGoOn) {
  for (const char* ci : {"true", ""}) {
    const portable::ScopedEnvironmentVariable variable("CI", ci);
    reached_after_an_available_folder = false;
    require_an_available_folder();
    EXPECT_TRUE(reached_after_an_available_folder);
  }
  EXPECT_FALSE(::testing::Test::IsSkipped());
}

TEST(SatFolder, OnlyANonEmptyCiCounts) {
  {
    const portable::ScopedEnvironmentVariable unset("CI", std::nullopt);
    EXPECT_FALSE(in_continuous_integration());
  }
  {
    const portable::ScopedEnvironmentVariable empty("CI", "");
    EXPECT_FALSE(in_continuous_integration());
  }
  const portable::ScopedEnvironmentVariable set("CI", "1");
  EXPECT_TRUE(in_continuous_integration());
}

}  // namespace
}  // namespace test_support

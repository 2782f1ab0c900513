#pragma once
// For tests that compare with the SAT's own schemas, stylesheets and scripts
// in the shared folder (CFDI_SAT_DIR). Where that folder or a file of it is
// absent, such a test is skipped with a message; in continuous integration
// (the variable CI is set) it fails instead, since a skip there would hide a
// regression.
//
//   CFDI_REQUIRE_SAT(std::filesystem::exists(sat_file), "the SAT examples in " << folder);
//
// The macro returns from the test (or SetUp) when the condition is false.

#include <gtest/gtest.h>

#include "portable/environment.h"

namespace test_support {

// True when the tests run in continuous integration (CI set and not empty).
inline bool in_continuous_integration() {
  const auto value = portable::environment_variable("CI");
  return value && !value->empty();
}

}  // namespace test_support

#define CFDI_REQUIRE_SAT(available, what)                             \
  do {                                                                \
    if (!(available)) {                                               \
      if (::test_support::in_continuous_integration()) {              \
        FAIL() << "missing in CI (CI is set): " << what; /* NOLINT */ \
      }                                                               \
      GTEST_SKIP() << "skipped, missing: " << what;                   \
    }                                                                 \
  } while (false)

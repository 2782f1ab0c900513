#pragma once
// The test folder now lives in the tests' support library; this name stays
// for the tests that still include it.

#include "tests/support/test_folder.h"

namespace portable {
using TestFolder = test_support::TestFolder;
}  // namespace portable

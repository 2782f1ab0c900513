// The binding's table against the real invoicing library of this build.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "binding/drovanexis_bindings.h"
#include "binding/library_loader.h"
#include "binding/testing/recording_client.h"
#include "portable/dynamic_library.h"
#include "portable/environment.h"

namespace {

constexpr const char* kRealLibrary = CFDI_BINARY_DIR "/bin/libdrovanexis.so";

TEST(RealLibrary, ExportsEveryEntryOfTheTable) {
  recording::ScopedLibrary scoped(kRealLibrary);
  ASSERT_NO_THROW(binding::open_library());

  std::string missing;
  for (const auto& entry : binding::entry_table()) {
    try {
      binding::entry_address(entry);
    } catch (const binding::LibraryError&) {
      missing += "\n  " + std::string(entry.entry_name);
    }
  }
  EXPECT_EQ(missing, "") << "entries missing from " << kRealLibrary;
}

// This test runs from the build's bin/ folder, where the program runs too.
TEST(RealLibrary, WithoutTheVariableTheLibraryBesideTheExecutableIsLoaded) {
  const portable::ScopedEnvironmentVariable unnamed(binding::kLibraryVariable, std::nullopt);
  void* address = binding::entry_address(binding::entry(binding::EntryId::DROVANEXIS_NEW));
  const std::string file = portable::library_file_of(address);
  ASSERT_FALSE(file.empty());
  EXPECT_TRUE(std::filesystem::equivalent(file, kRealLibrary)) << file;
}

TEST(RealLibrary, PayrollPerceptionWithFiveTextsDoesNotUpsetTheLibrary) {
  recording::ScopedLibrary scoped(kRealLibrary);
  const int handle = DROVANEXIS_NEW("3.3");
  ASSERT_GT(handle, 0);
  // The last six texts arrive as null pointers, which the library takes as absent.
  DROVANEXIS_NOMINA12ADDPERCEPCION(handle, "001", "001", "Sueldos, Salarios", "3000.00", "0.00");
  DROVANEXIS_FREE(handle);

  // The library is still in working order afterwards.
  const int next = DROVANEXIS_NEW("3.3");
  EXPECT_GT(next, 0);
  EXPECT_NE(next, handle);
  DROVANEXIS_FREE(next);
}

}  // namespace

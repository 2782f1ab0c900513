// The shared library as a program loads it: every entry is exported under its
// exact name, nothing of the C++ inside is, and a call with null texts for the
// parameters a caller left out is harmless.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/command_output.h"

namespace {

const std::string kLibrary = std::string(CFDI_BINARY_DIR) + "/bin/libdrovanexis.so";

// Every entry the program binds, from its binding table.
constexpr const char* kEntries[] = {
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result) #entry_name,
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY
};

class SharedLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr) dlclose(library_);
  }

  template <typename Function>
  Function* entry(const char* name) {
    return reinterpret_cast<Function*>(dlsym(library_, name));
  }

  void* library_ = nullptr;
};

TEST_F(SharedLibrary, ExportsEveryEntryUnderItsExactName) {
  ASSERT_EQ(std::size(kEntries), 121u);
  for (const char* name : kEntries) EXPECT_NE(dlsym(library_, name), nullptr) << name;
  EXPECT_EQ(dlsym(library_, "drovanexis_new"), nullptr);
}

// The library's own symbol table holds the entries and nothing else of ours:
// the C++ code sits in its private core library, which is no interface. What
// else shows is the C++ standard library's template instances (weak "W", "V"
// or unique "u" symbols), which the dynamic linker must see to merge them.
TEST_F(SharedLibrary, KeepsItsInternalsHidden) {
  const auto listed = test_support::run_command_line("nm -D --defined-only '" + kLibrary + "'");
  ASSERT_EQ(listed.exit_code, 0) << listed.output;
  const std::set<std::string> entries(std::begin(kEntries), std::end(kEntries));
  std::istringstream lines(listed.output);
  std::size_t exported_entries = 0;
  for (std::string address, type, name; lines >> address >> type >> name;) {
    if (entries.count(name) != 0) {
      ++exported_entries;
      continue;
    }
    EXPECT_TRUE(type == "W" || type == "V" || type == "u") << "exported: " << type << " " << name;
    EXPECT_EQ(name.find("drovanexis"), std::string::npos) << "exported: " << name;
  }
  EXPECT_EQ(exported_entries, entries.size());
}

TEST_F(SharedLibrary, PerceptionCallWithSixNullTextsIsHarmless) {
  using New = std::int32_t(const char*);
  using Percepcion =
      void(std::int32_t, const char*, const char*, const char*, const char*, const char*,
           const char*, const char*, const char*, const char*, const char*, const char*);
  using GetValue = const char*(std::int32_t, std::int32_t);
  using Free = void(std::int32_t);
  auto* create = entry<New>("Drovanexis_New");
  auto* add_percepcion = entry<Percepcion>("Drovanexis_Nomina12AddPercepcion");
  auto* get_value = entry<GetValue>("Drovanexis_GetValue");
  auto* release = entry<Free>("Drovanexis_Free");
  ASSERT_TRUE(create && add_percepcion && get_value && release);

  const std::int32_t handle = create("3.3");
  EXPECT_GT(handle, 0);
  add_percepcion(handle, "001", "101", "SUELDO", "1652.00", "0.00", nullptr, nullptr, nullptr,
                 nullptr, nullptr, nullptr);
  const char* value = get_value(handle, 1);
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "");
  release(handle);
  release(handle);
}

}  // namespace

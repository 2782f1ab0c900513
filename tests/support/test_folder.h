#pragma once
// For tests: temporary folders that are removed with everything in them.

#include <filesystem>
#include <string>
#include <system_error>

#include "portable/temp_folder.h"

namespace test_support {

// A fresh folder under the system's temporary folder, removed at the end.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& prefix = "cfdi-test-")
      : path_(portable::make_temporary_folder(prefix)) {}
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A fresh temporary folder made the working folder for the lifetime of the
// object; the previous working folder comes back before it is removed.
class TestFolder {
 public:
  TestFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder_.path());
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  std::filesystem::path previous_;
  TemporaryFolder folder_;
};

}  // namespace test_support

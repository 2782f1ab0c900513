#include "issue/output_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <vector>

#include "issue/processing.h"
#include "issue/provider.h"
#include "portable/windows_path.h"

namespace drovanexis {
namespace {

namespace fs = std::filesystem;

struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identity_of(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

// The absolute, normalised form of a path whose file may not exist yet, with
// its existing part's links resolved.
fs::path comparable(const fs::path& path) {
  std::error_code ec;
  fs::path result = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? fs::absolute(path).lexically_normal() : result;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The output's path and its identity, taken once for all the comparisons.
struct Target {
  fs::path path;
  std::optional<FileIdentity> identity;
};

// Two names of one file: the same inode when both exist; when neither does
// (a journal not written yet), the same folder and a name that differs at
// most in letter case, as Windows would see it.
bool same_file(const Target& target, const fs::path& other) {
  const auto identity = identity_of(other);
  if (target.identity && identity) return *target.identity == *identity;
  if (target.identity.has_value() != identity.has_value()) return false;
  const fs::path ca = comparable(target.path);
  const fs::path cb = comparable(other);
  return ca.parent_path() == cb.parent_path() &&
         equal_ignoring_case(ca.filename().string(), cb.filename().string());
}

[[noreturn]] void refuse(std::string_view output_name, const std::string& why) {
  throw UnsafeOutput(std::string(output_name) + ": " + why);
}

}  // namespace

void refuse_unsafe_output(std::string_view output_name,
                          std::initializer_list<std::string_view> inputs) {
  if (output_name.empty()) refuse(output_name, "no se indicó el nombre del archivo");
  const fs::path target_path = portable::resolve_path(output_name);
  const Target target{target_path, identity_of(target_path)};

  for (const fs::path& kept : provider_kept_files()) {
    if (same_file(target, kept)) {
      refuse(output_name,
             "es el archivo de estado del proveedor (" + kept.string() + "); no se sobrescribe");
    }
  }
  if (same_file(target, portable::resolve_path(kProcessingLogFile))) {
    refuse(output_name, "es la bitácora de la biblioteca; no se sobrescribe");
  }
  for (const std::string_view input : inputs) {
    if (!input.empty() && same_file(target, portable::resolve_path(input))) {
      refuse(output_name, "es un archivo de entrada de la misma llamada (" + std::string(input) +
                              "); no se sobrescribe");
    }
  }

  std::error_code ec;
  const fs::file_status status = fs::status(target_path, ec);
  if (fs::exists(status)) {
    if (fs::is_directory(status)) refuse(output_name, "es una carpeta");
    if (!fs::is_regular_file(status)) refuse(output_name, "no es un archivo regular");
  }
  const fs::path folder =
      target_path.parent_path().empty() ? fs::path(".") : target_path.parent_path();
  if (!fs::is_directory(folder, ec)) {
    refuse(output_name, "la carpeta " + folder.string() + " no existe");
  }
  if (::access(folder.c_str(), W_OK) != 0) {
    refuse(output_name, "no se puede escribir en la carpeta " + folder.string());
  }
}

}  // namespace drovanexis

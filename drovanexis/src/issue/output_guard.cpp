#include "issue/output_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "issue/processing.h"
#include "issue/provider.h"
#include "portable/windows_path.h"

namespace drovanexis {
namespace {

namespace fs = std::filesystem;

// The absolute, normalised form of a path whose file may not exist yet, with
// its existing part's links resolved.
fs::path comparable(const fs::path& path) {
  std::error_code ec;
  fs::path result = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? fs::absolute(path, ec).lexically_normal() : result;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

[[noreturn]] void refuse(std::string_view output_name, const std::string& why) {
  throw UnsafeOutput(std::string(output_name) + ": " + why);
}

}  // namespace

OutputGuard::OutputGuard(std::span<const fs::path> run_inputs) {
  for (const fs::path& kept : provider_kept_files()) {
    keep(kept, "es el archivo de estado del proveedor (" + kept.string() + "); no se sobrescribe");
  }
  keep(portable::resolve_path(kProcessingLogFile),
       "es la bitácora de la biblioteca; no se sobrescribe");
  for (const fs::path& input : run_inputs) {
    keep(input, "es un archivo de entrada de la misma llamada (" + input.string() +
                    "); no se sobrescribe");
  }
}

void OutputGuard::keep(const fs::path& path, std::string why) {
  if (path.empty()) return;
  struct stat info {};
  std::optional<Identity> identity;
  if (::stat(path.c_str(), &info) == 0) identity = Identity{info.st_dev, info.st_ino};
  // A file not there yet (a journal) is compared by name, so its form
  // with the links of its folder resolved is taken now.
  kept_.push_back({identity ? path : comparable(path), identity, std::move(why)});
}

void OutputGuard::check(const fs::path& output, std::string_view shown,
                        std::span<const fs::path> inputs) const {
  refuse_kept(output, shown, inputs);
  struct stat info {};
  if (::stat(output.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) refuse(shown, "es una carpeta");
    if (!S_ISREG(info.st_mode)) refuse(shown, "no es un archivo regular");
  }
  const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    refuse(shown, "la carpeta " + folder.string() + " no existe");
  }
  if (::access(folder.c_str(), W_OK) != 0) {
    refuse(shown, "no se puede escribir en la carpeta " + folder.string());
  }
}

void OutputGuard::refuse_kept(const fs::path& output, std::string_view shown,
                              std::span<const fs::path> inputs) const {
  if (output.empty()) refuse(shown, "no se indicó el nombre del archivo");
  struct stat info {};
  const bool exists = ::stat(output.c_str(), &info) == 0;
  const Identity identity{exists ? info.st_dev : 0, exists ? info.st_ino : 0};
  // Two names of one file: the same inode when both exist; when neither does
  // (a journal not written yet), the same folder and a name that differs at
  // most in letter case, as Windows would see it.
  std::optional<fs::path> output_comparable;
  const auto same_as = [&](const Kept& kept) {
    if (exists || kept.identity) return exists && kept.identity && *kept.identity == identity;
    if (!output_comparable) output_comparable = comparable(output);
    return output_comparable->parent_path() == kept.path.parent_path() &&
           equal_ignoring_case(output_comparable->filename().string(),
                               kept.path.filename().string());
  };
  for (const Kept& kept : kept_) {
    if (same_as(kept)) refuse(shown, kept.why);
  }
  for (const fs::path& input : inputs) {
    if (input.empty()) continue;
    struct stat input_info {};
    if (::stat(input.c_str(), &input_info) != 0) continue;  // nothing there to destroy
    if (exists && Identity{input_info.st_dev, input_info.st_ino} == identity) {
      refuse(shown, "es un archivo de entrada de la misma llamada (" + input.string() +
                        "); no se sobrescribe");
    }
  }
}

void refuse_unsafe_output(std::string_view output_name,
                          std::initializer_list<std::string_view> inputs) {
  if (output_name.empty()) refuse(output_name, "no se indicó el nombre del archivo");
  std::vector<fs::path> resolved;
  for (const std::string_view input : inputs) {
    if (!input.empty()) resolved.push_back(portable::resolve_path(input));
  }
  const OutputGuard guard(resolved);
  guard.check(portable::resolve_path(output_name), output_name);
}

}  // namespace drovanexis

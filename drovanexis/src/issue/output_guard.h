#pragma once

#include <sys/types.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace drovanexis {

// An output file name the library must not write to; what() says why, in the
// log's language.
class UnsafeOutput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The output rule for the outputs of one run (native paths): what must not be
// written over is looked up once, so that a batch of many outputs costs a few
// system calls per output, never a folder listing. An output is refused when
// it resolves (through links, letter case ignored where the file does not
// exist yet) to the provider's state file or its journal, to the library's
// log, to one of the run's inputs, or to anything that is not a regular file;
// a new name must lie in an existing folder the process may write to.
class OutputGuard {
 public:
  // `run_inputs`: files every output of the run must leave alone (the
  // certificate and key in use, ...). Empty paths are ignored.
  explicit OutputGuard(std::span<const std::filesystem::path> run_inputs = {});

  // Throws UnsafeOutput naming `shown` (the output as the caller named it).
  // `inputs`: further files read for this output only.
  void check(const std::filesystem::path& output, std::string_view shown,
             std::span<const std::filesystem::path> inputs = {}) const;

  // Only the part of check() about the files kept: for a writer that meets
  // a missing or read-only folder, or a target that is not a regular file,
  // on its own and reports it in its own terms.
  void refuse_kept(const std::filesystem::path& output, std::string_view shown,
                   std::span<const std::filesystem::path> inputs = {}) const;

 private:
  struct Identity {
    dev_t device;
    ino_t inode;
    bool operator==(const Identity&) const = default;
  };
  struct Kept {
    std::filesystem::path path;
    std::optional<Identity> identity;
    std::string why;  // the refusal's text
  };
  void keep(const std::filesystem::path& path, std::string why);

  std::vector<Kept> kept_;
};

// Refuses (throws UnsafeOutput), before anything is done, an output name that
// would destroy what the library or the caller keeps or that cannot be a file,
// by OutputGuard's rule; `inputs` are the files the same call reads. Names are
// Windows-style, resolved first (the case-insensitive lookup).
void refuse_unsafe_output(std::string_view output_name,
                          std::initializer_list<std::string_view> inputs = {});

}  // namespace drovanexis

#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// Results written beside their inputs by an earlier run, and the temporary
// files of a run, are not inputs: an input is a "*.xml" file not starting
// with "." and not ending in either result suffix.
bool is_batch_input_name(const std::filesystem::path& file,
                         const std::vector<std::string>& result_suffixes);

// The input files of a batch run, handed out one at a time in the order of
// the operands and, inside a folder operand, in name order, without holding
// the whole list: a folder is read again for each window of the next
// kWindow names, so that memory stays the same for ten or a million files.
class BatchInputs {
 public:
  static constexpr std::size_t kWindow = 1024;

  struct Input {
    std::filesystem::path file;
    std::size_t operand = 0;  // index of the operand it came from
  };

  // Operands that are neither a file nor a folder, and special files named
  // like inputs inside a folder, are reported in errors() and left out. `window` is the most names
  // held at once.
  BatchInputs(const std::vector<std::string>& operands, std::vector<std::string> result_suffixes,
              std::size_t window = kWindow);

  // The next input, or nullopt once every operand is done. A folder that
  // cannot be read ends that operand with an error in errors().
  std::optional<Input> next();

  // How many inputs there are now (one reading of every folder).
  std::size_t count() const;

  // Whether an input of an earlier operand has the same result file as
  // `input`: with an output folder, the same file name; without, the same
  // file (one folder given twice, or a file given as well as its folder).
  bool result_taken_by_earlier_operand(const Input& input, bool output_folder) const;

  // Whether operand `index` is a folder (its inputs are the files in it).
  bool is_folder(std::size_t index) const {
    return index < operands_.size() && operands_[index].kind == Kind::kFolder;
  }

  // Texts of the operands that could not be used, "<operand>: <why>".
  const std::vector<std::string>& errors() const { return errors_; }

 private:
  enum class Kind { kFile, kFolder, kMissing };
  struct Operand {
    std::filesystem::path path;
    Kind kind = Kind::kMissing;
  };

  bool is_input(const std::filesystem::directory_entry& entry) const;
  // A device, FIFO or socket named like an input: reported, never opened.
  bool is_special_input(const std::filesystem::directory_entry& entry) const;
  // Fills window_ with the next names of the current folder after last_name_.
  void read_window();

  std::vector<Operand> operands_;
  std::vector<std::string> result_suffixes_;
  std::size_t window_size_;
  std::vector<std::string> errors_;
  std::size_t current_ = 0;          // operand being handed out
  bool current_started_ = false;     // its first window was read
  std::string last_name_;            // last file name handed out of it
  std::vector<std::string> window_;  // next names, in descending order
};

}  // namespace cli

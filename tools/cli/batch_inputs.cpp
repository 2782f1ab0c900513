#include "tools/cli/batch_inputs.h"

#include <algorithm>
#include <system_error>

namespace cli {

namespace fs = std::filesystem;

namespace {

bool ends_with(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.ends_with(suffix);
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

fs::path folder_of(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

}  // namespace

bool is_batch_input_name(const fs::path& file, const std::vector<std::string>& result_suffixes) {
  const std::string name = file.filename().string();
  if (!ends_with(name, ".xml") || name.starts_with(".")) return false;
  return std::none_of(result_suffixes.begin(), result_suffixes.end(),
                      [&](const std::string& suffix) { return ends_with(name, suffix); });
}

BatchInputs::BatchInputs(const std::vector<std::string>& operands,
                         std::vector<std::string> result_suffixes, std::size_t window)
    : result_suffixes_(std::move(result_suffixes)), window_size_(std::max<std::size_t>(window, 1)) {
  for (const std::string& operand : operands) {
    std::error_code ec;
    Operand entry{fs::path(operand), Kind::kMissing};
    if (fs::is_directory(operand, ec)) {
      entry.kind = Kind::kFolder;
    } else if (fs::is_regular_file(operand, ec)) {
      entry.kind = Kind::kFile;
    } else if (fs::exists(operand, ec)) {
      errors_.push_back(operand + ": not a regular file (a device, FIFO or socket is not read)");
    } else {
      errors_.push_back(operand + ": no such file or folder");
    }
    operands_.push_back(std::move(entry));
  }
}

bool BatchInputs::is_input(const fs::directory_entry& entry) const {
  std::error_code ec;
  return entry.is_regular_file(ec) && is_batch_input_name(entry.path(), result_suffixes_);
}

bool BatchInputs::is_special_input(const fs::directory_entry& entry) const {
  std::error_code ec;
  return !entry.is_regular_file(ec) && !entry.is_directory(ec) && !ec &&
         is_batch_input_name(entry.path(), result_suffixes_);
}

void BatchInputs::read_window() {
  const fs::path& folder = operands_[current_].path;
  // The window_size_ smallest names after the last one handed out, kept as a
  // max-heap so that a larger name is dropped at once.
  std::vector<std::string> smallest;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!is_input(*it)) {
      // Said once per folder, as its first window is read.
      if (!current_started_ && is_special_input(*it)) {
        errors_.push_back(it->path().string() +
                          ": not a regular file (a device, FIFO or socket is not read)");
      }
      continue;
    }
    std::string name = it->path().filename().string();
    if (current_started_ && name <= last_name_) continue;
    if (smallest.size() == window_size_) {
      if (name >= smallest.front()) continue;
      std::pop_heap(smallest.begin(), smallest.end());
      smallest.back() = std::move(name);
    } else {
      smallest.push_back(std::move(name));
    }
    std::push_heap(smallest.begin(), smallest.end());
  }
  if (ec) {
    errors_.push_back(folder.string() + ": cannot list the folder: " + ec.message());
    smallest.clear();
  }
  std::sort_heap(smallest.begin(), smallest.end());
  std::reverse(smallest.begin(), smallest.end());  // taken from the back
  window_ = std::move(smallest);
  current_started_ = true;
}

std::optional<BatchInputs::Input> BatchInputs::next() {
  while (current_ < operands_.size()) {
    const Operand& operand = operands_[current_];
    if (operand.kind == Kind::kFolder) {
      if (window_.empty()) read_window();
      if (!window_.empty()) {
        last_name_ = std::move(window_.back());
        window_.pop_back();
        return Input{operand.path / last_name_, current_};
      }
    } else if (operand.kind == Kind::kFile && !current_started_) {
      current_started_ = true;
      return Input{operand.path, current_};
    }
    ++current_;
    current_started_ = false;
    last_name_.clear();
    window_.clear();
  }
  return std::nullopt;
}

std::size_t BatchInputs::count() const {
  std::size_t total = 0;
  for (const Operand& operand : operands_) {
    if (operand.kind == Kind::kFile) ++total;
    if (operand.kind != Kind::kFolder) continue;
    std::error_code ec;
    for (fs::directory_iterator it(operand.path, ec), end; !ec && it != end; it.increment(ec)) {
      if (is_input(*it)) ++total;
    }
  }
  return total;
}

bool BatchInputs::result_taken_by_earlier_operand(const Input& input, bool output_folder) const {
  for (std::size_t i = 0; i < input.operand && i < operands_.size(); ++i) {
    const Operand& earlier = operands_[i];
    if (earlier.kind == Kind::kFile) {
      if (output_folder ? earlier.path.filename() == input.file.filename()
                        : same_file(earlier.path, input.file)) {
        return true;
      }
    } else if (earlier.kind == Kind::kFolder) {
      if (output_folder) {
        std::error_code ec;
        const fs::directory_entry twin(earlier.path / input.file.filename(), ec);
        if (!ec && is_input(twin)) return true;
      } else if (is_batch_input_name(input.file, result_suffixes_) &&
                 same_file(earlier.path, folder_of(input.file))) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace cli

#include "tools/cli/durable_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <set>

#include "portable/signals.h"

namespace cli {

namespace {

constexpr std::string_view kPartialSuffix = ".partial";

std::string system_error_text(const std::string& what, const std::filesystem::path& file) {
  return file.string() + ": " + what + ": " + std::strerror(errno);
}

// Writes all the bytes to a new file; "" on success, else the error.
std::string write_temporary(const std::filesystem::path& temporary, std::string_view bytes) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return system_error_text("cannot create", temporary);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::string error = system_error_text("cannot write", temporary);
      ::close(fd);
      return error;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) return system_error_text("cannot write", temporary);
  return {};
}

std::filesystem::path folder_of(const std::filesystem::path& file) {
  return file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
}

// Flushes the whole file system that holds the folder: one flush makes every
// file written above durable at once.
std::string flush_file_system(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return system_error_text("cannot open folder", folder);
  const int rc = ::syncfs(fd);
  std::string error = rc == 0 ? "" : system_error_text("cannot flush", folder);
  ::close(fd);
  return error;
}

std::string flush_folder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return system_error_text("cannot open folder", folder);
  const int rc = ::fsync(fd);
  std::string error = rc == 0 ? "" : system_error_text("cannot flush", folder);
  ::close(fd);
  return error;
}

// Whether a temporary file name is one a live process is writing: the
// number before ".partial" names the process that writes it.
bool written_by_live_process(std::string_view name) {
  name.remove_suffix(kPartialSuffix.size());
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view digits = name.substr(dot + 1);
  pid_t pid = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (ec != std::errc() || end != digits.data() + digits.size() || pid <= 0) return false;
  return portable::process_exists(pid);
}

}  // namespace

std::filesystem::path temporary_name_for(const std::filesystem::path& target) {
  return folder_of(target) / ("." + target.filename().string() + "." +
                              std::to_string(::getpid()) + std::string(kPartialSuffix));
}

std::size_t remove_stale_temporaries(const std::filesystem::path& folder) {
  std::size_t removed = 0;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(".") || !name.ends_with(kPartialSuffix)) continue;
    if (written_by_live_process(name)) continue;
    std::error_code ignored;
    if (it->is_regular_file(ignored) && std::filesystem::remove(it->path(), ignored)) ++removed;
  }
  return removed;
}

FileGroup::~FileGroup() { discard_unplaced(); }

std::size_t FileGroup::write(const std::filesystem::path& target, std::string_view bytes) {
  File file{target, write_temporary(temporary_name_for(target), bytes)};
  file.written = file.error.empty();
  if (!file.written) {
    std::error_code ec;
    std::filesystem::remove(temporary_name_for(target), ec);
  }
  files_.push_back(std::move(file));
  return files_.size() - 1;
}

bool FileGroup::flush() {
  std::set<std::filesystem::path> folders;
  for (const File& file : files_) {
    if (file.written && !file.placed) folders.insert(folder_of(file.target));
  }
  bool flushed = true;
  for (const auto& folder : folders) {
    // Folders of one run nearly always share a file system; flushing it once
    // per distinct folder is still a bounded count per group.
    const std::string error = flush_file_system(folder);
    if (error.empty()) continue;
    flushed = false;
    for (File& file : files_) {
      if (file.written && !file.placed && folder_of(file.target) == folder) file.error = error;
    }
  }
  return flushed;
}

bool FileGroup::place(std::size_t index) {
  File& file = files_[index];
  if (!file.written || !file.error.empty()) return false;
  const auto temporary = temporary_name_for(file.target);
  if (::rename(temporary.c_str(), file.target.c_str()) != 0) {
    file.error = system_error_text("cannot rename into place", file.target);
    return false;
  }
  file.placed = true;
  return true;
}

void FileGroup::finish() {
  discard_unplaced();
  std::set<std::filesystem::path> folders;
  for (const File& file : files_) {
    if (file.placed) folders.insert(folder_of(file.target));
  }
  for (const auto& folder : folders) {
    const std::string error = flush_folder(folder);
    if (error.empty()) continue;
    for (File& file : files_) {
      if (file.placed && folder_of(file.target) == folder) file.error = error;
    }
  }
}

void FileGroup::discard_unplaced() {
  for (File& file : files_) {
    if (!file.written || file.placed) continue;
    std::error_code ec;
    std::filesystem::remove(temporary_name_for(file.target), ec);
    file.written = false;
  }
}

std::size_t write_files_durably(std::vector<FileToWrite>& files) {
  FileGroup group;
  for (const FileToWrite& file : files) group.write(file.target, file.bytes);
  group.flush();
  for (std::size_t i = 0; i < files.size(); ++i) group.place(i);
  group.finish();
  std::size_t written = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    files[i].error = group.error(i);
    if (files[i].error.empty()) ++written;
  }
  return written;
}

}  // namespace cli

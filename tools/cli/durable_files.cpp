#include "tools/cli/durable_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace cli {

namespace {

std::string system_error_text(const std::string& what, const std::filesystem::path& file) {
  return file.string() + ": " + what + ": " + std::strerror(errno);
}

// Writes all the bytes to a new file; "" on success, else the error.
std::string write_temporary(const std::filesystem::path& temporary, const std::string& bytes) {
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

}  // namespace

std::filesystem::path temporary_name_for(const std::filesystem::path& target) {
  return folder_of(target) / ("." + target.filename().string() + ".partial");
}

std::size_t write_files_durably(std::vector<FileToWrite>& files) {
  std::set<std::filesystem::path> folders;
  for (auto& file : files) {
    file.error = write_temporary(temporary_name_for(file.target), file.bytes);
    if (file.error.empty()) folders.insert(folder_of(file.target));
  }
  for (const auto& folder : folders) {
    // Folders of one run nearly always share a file system; flushing it once
    // per distinct folder is still a bounded count per group.
    if (const std::string error = flush_file_system(folder); !error.empty()) {
      for (auto& file : files) {
        if (file.error.empty() && folder_of(file.target) == folder) file.error = error;
      }
    }
  }
  std::size_t written = 0;
  for (auto& file : files) {
    const auto temporary = temporary_name_for(file.target);
    if (file.error.empty() && ::rename(temporary.c_str(), file.target.c_str()) != 0) {
      file.error = system_error_text("cannot rename into place", file.target);
    }
    if (!file.error.empty()) {
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
    }
  }
  for (const auto& folder : folders) {
    const std::string error = flush_folder(folder);
    for (auto& file : files) {
      if (folder_of(file.target) != folder || !file.error.empty()) continue;
      if (error.empty()) {
        ++written;
      } else {
        file.error = error;
      }
    }
  }
  return written;
}

}  // namespace cli

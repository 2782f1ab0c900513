#include "portable/system_info.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace portable {

std::string started_as() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string command_line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return command_line.substr(0, command_line.find('\0'));
}

std::string host_name() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "unknown";
  return name;
}

std::optional<unsigned long long> available_memory_bytes() {
  const long pages = ::sysconf(_SC_AVPHYS_PAGES);
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (pages < 0 || page_size < 0) return std::nullopt;
  return static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(page_size);
}

std::optional<unsigned long long> free_disk_bytes(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<unsigned long long>(info.f_bavail) *
         static_cast<unsigned long long>(info.f_frsize);
}

std::string operating_system_text() {
  struct utsname name {};
  if (::uname(&name) != 0) return "unknown";
  return std::string(name.sysname) + " " + name.release;
}

// The second field of /proc/self/statm is the resident size in pages.
std::optional<long long> resident_memory_kb() {
  std::ifstream statm("/proc/self/statm");
  long long total_pages = 0;
  long long resident_pages = 0;
  if (!(statm >> total_pages >> resident_pages)) return std::nullopt;
  return resident_pages * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace portable

#include "console/error_machine.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#ifndef CFDI_VERSION
#define CFDI_VERSION "unknown"
#endif

namespace console {
namespace {

// The first word of the command line: the program as it was started.
std::string started_as() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string command_line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string first = command_line.substr(0, command_line.find('\0'));
  return first.empty() ? "cfdi-demo" : first;
}

std::string host_name() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "unknown";
  return name;
}

std::string available_memory() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages < 0 || page_size < 0) return "0";
  return std::to_string(static_cast<unsigned long long>(pages) *
                        static_cast<unsigned long long>(page_size));
}

std::string free_disk_space() {
  struct statvfs info {};
  if (statvfs(".", &info) != 0) return "0";
  return std::to_string(static_cast<unsigned long long>(info.f_bavail) *
                        static_cast<unsigned long long>(info.f_frsize));
}

std::string current_directory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string("unknown") : path.string();
}

std::string operating_system() {
  struct utsname name {};
  if (uname(&name) != 0) return "unknown";
  return std::string(name.sysname) + " " + name.release;
}

std::string compiler() {
#if defined(__clang__)
  return "Clang " __clang_version__;
#elif defined(__GNUC__)
  return "GCC " __VERSION__;
#else
  return "unknown C++ compiler";
#endif
}

std::string optimisation_level() {
#if defined(__OPTIMIZE__)
  return "2";
#else
  return "0";
#endif
}

}  // namespace

MachineInfo current_machine() {
  MachineInfo info;
  info.application = started_as();
  info.workstation = host_name();
  info.available_memory = available_memory();
  info.current_disk = "/";
  info.current_directory = current_directory();
  info.free_disk_space = free_disk_space();
  info.operating_system = operating_system();
  info.version = std::string("cfdi-demo ") + CFDI_VERSION;
  info.built_on = __DATE__ " " __TIME__;
  info.compiler = compiler();
  info.optimisation_level = optimisation_level();
  return info;
}

}  // namespace console

#include "console/error_machine.h"

#include <filesystem>
#include <system_error>

#include "portable/system_info.h"

#ifndef CFDI_VERSION
#define CFDI_VERSION "unknown"
#endif

namespace console {
namespace {

std::string started_as() {
  const std::string first = portable::started_as();
  return first.empty() ? "cfdi-demo" : first;
}

std::string available_memory() {
  return std::to_string(portable::available_memory_bytes().value_or(0));
}

std::string free_disk_space() { return std::to_string(portable::free_disk_bytes(".").value_or(0)); }

std::string current_directory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string("unknown") : path.string();
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
  info.workstation = portable::host_name();
  info.available_memory = available_memory();
  info.current_disk = "/";
  info.current_directory = current_directory();
  info.free_disk_space = free_disk_space();
  info.operating_system = portable::operating_system_text();
  info.version = std::string("cfdi-demo ") + CFDI_VERSION;
  info.built_on = __DATE__ " " __TIME__;
  info.compiler = compiler();
  info.optimisation_level = optimisation_level();
  return info;
}

}  // namespace console

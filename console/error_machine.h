#pragma once
// The lines of the error log that describe the machine and the build.

#include <string>

namespace console {

struct MachineInfo {
  std::string application;       // the program's path as it was started
  std::string workstation;       // host name
  std::string available_memory;  // bytes of physical memory available
  std::string current_disk;      // "/": this system has one file tree
  std::string current_directory;
  std::string free_disk_space;   // bytes free for the user on the current directory's file system
  std::string operating_system;  // system name and release
  std::string version;           // our version
  std::string built_on;          // build date and time
  std::string compiler;
  std::string optimisation_level;
};

MachineInfo current_machine();

}  // namespace console

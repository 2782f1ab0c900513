#pragma once
// Facts about the machine and the running process, for reports (the error
// log) and measurements (the benchmarks).

#include <optional>
#include <string>

namespace portable {

// The program as it was started (the first word of its command line), or ""
// when unknown.
std::string started_as();
// The computer's name, or "unknown".
std::string host_name();
// Bytes of memory available now, or nullopt.
std::optional<unsigned long long> available_memory_bytes();
// Bytes free for the user on the file system that holds `folder`, or nullopt.
std::optional<unsigned long long> free_disk_bytes(const std::string& folder);
// The system's name and release ("Linux 6.1.0"), or "unknown".
std::string operating_system_text();
// The resident memory of this process in kB, or nullopt.
std::optional<long long> resident_memory_kb();

}  // namespace portable

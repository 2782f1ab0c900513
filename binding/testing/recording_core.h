#pragma once

// The recording library's bookkeeping: every entry of the recording library
// hands what it received to one of these functions, which writes the call
// down and answers with the result configured for that entry.
//
// What was received is read back through the query entries of
// recording_queries.h, and, when DROVANEXIS_RECORDING_LOG names a file, each
// call is also appended to that file as one line. Results can be set through
// the query entries or, for a whole program run, in the file named by
// DROVANEXIS_RECORDING_RESULTS, one per line:
//   Drovanexis_New=7
//   Drovanexis_GetValue 9=F94FE4AC-4743-4745-BA99-E0D13100331D
//   Drovanexis_CerTo64=TUlJRmVq

#include <cstdint>
#include <span>

namespace recording {

struct Received {
  bool is_text = false;
  std::int32_t integer = 0;
  const char* text = nullptr;
};

inline Received integer_param(std::int32_t value) { return {false, value, nullptr}; }
inline Received text_param(const char* value) { return {true, 0, value}; }

std::int32_t integer_call(const char* entry, std::span<const Received> received);
const char* text_call(const char* entry, std::span<const Received> received);
void none_call(const char* entry, std::span<const Received> received);

}  // namespace recording

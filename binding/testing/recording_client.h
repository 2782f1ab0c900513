#pragma once

// Test-side access to the recording library: loads it like the binding does
// (dlopen of an already loaded file returns the same library) and calls its
// query entries. ScopedLibrary points DROVANEXIS_LIBRARY at a file for the
// life of a test.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "portable/dynamic_library.h"
#include "portable/environment.h"

namespace recording {

class ScopedLibrary {
 public:
  explicit ScopedLibrary(const std::string& file) : variable_("DROVANEXIS_LIBRARY", file) {}

 private:
  portable::ScopedEnvironmentVariable variable_;
};

class RecordingLibrary {
 public:
  explicit RecordingLibrary(const std::string& file) {
    std::string reason;
    library_ = portable::open_dynamic_library(file, reason);
    if (!library_.handle) {
      throw std::runtime_error("cannot load the recording library " + file + ": " + reason);
    }
    reset_ = query<void (*)()>("Recording_Reset");
    call_count_ = query<std::int32_t (*)()>("Recording_CallCount");
    call_ = query<const char* (*)(std::int32_t)>("Recording_Call");
    text_address_ = query<const void* (*)(std::int32_t, std::int32_t)>("Recording_TextAddress");
    set_value_ = query<void (*)(std::int32_t, const char*)>("Recording_SetValue");
    set_integer_result_ = query<void (*)(const char*, std::int32_t)>("Recording_SetIntegerResult");
    set_text_result_ = query<void (*)(const char*, const char*)>("Recording_SetTextResult");
  }

  void reset() const { reset_(); }

  // Every call since the last reset, as Recording_Call shows it.
  std::vector<std::string> calls() const {
    std::vector<std::string> all;
    for (std::int32_t i = 0; i < call_count_(); ++i) all.emplace_back(call_(i));
    return all;
  }

  const void* text_address(std::int32_t call, std::int32_t position) const {
    return text_address_(call, position);
  }
  void set_value(std::int32_t index, const char* text) const { set_value_(index, text); }
  void set_integer_result(const char* entry, std::int32_t result) const {
    set_integer_result_(entry, result);
  }
  void set_text_result(const char* entry, const char* text) const { set_text_result_(entry, text); }

 private:
  template <typename Function>
  Function query(const char* name) const {
    void* address = portable::find_entry(library_, name);
    if (!address) throw std::runtime_error(std::string("the recording library lacks ") + name);
    return reinterpret_cast<Function>(address);
  }

  portable::DynamicLibrary library_;
  void (*reset_)() = nullptr;
  std::int32_t (*call_count_)() = nullptr;
  const char* (*call_)(std::int32_t) = nullptr;
  const void* (*text_address_)(std::int32_t, std::int32_t) = nullptr;
  void (*set_value_)(std::int32_t, const char*) = nullptr;
  void (*set_integer_result_)(const char*, std::int32_t) = nullptr;
  void (*set_text_result_)(const char*, const char*) = nullptr;
};

}  // namespace recording

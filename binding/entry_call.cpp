#include "binding/entry_call.h"

#include <ffi.h>

#include <array>

#include "binding/library_error.h"
#include "binding/library_loader.h"

namespace binding {
namespace {

union ParamValue {
  std::int32_t integer;
  const char* text;
};

// The argument storage and the libffi descriptions of one call.
struct PreparedArgs {
  std::array<ParamValue, ParamList::kMaxParams> values{};
  std::array<void*, ParamList::kMaxParams> value_addresses{};
  std::array<ffi_type*, ParamList::kMaxParams> types{};
};

void prepare_args(const Entry& entry, std::span<const Arg> args, PreparedArgs& prepared) {
  for (std::size_t i = 0; i < entry.params.size(); ++i) {
    const Arg arg = i < args.size() ? args[i] : Arg(absent);
    ParamValue& value = prepared.values[i];
    if (entry.params[i] == ParamKind::Integer) {
      value.integer = arg.as_integer();
      prepared.types[i] = &ffi_type_sint32;
      prepared.value_addresses[i] = &value.integer;
    } else {
      value.text = arg.as_text();
      prepared.types[i] = &ffi_type_pointer;
      prepared.value_addresses[i] = &value.text;
    }
  }
}

ffi_type* result_type(ResultKind kind) {
  switch (kind) {
    case ResultKind::Integer: return &ffi_type_sint32;
    case ResultKind::Text: return &ffi_type_pointer;
    case ResultKind::None: break;
  }
  return &ffi_type_void;
}

}  // namespace

CallResult call_entry(const Entry& entry, std::span<const Arg> args) {
  void* address = entry_address(entry);

  PreparedArgs prepared;
  prepare_args(entry, args, prepared);
  ffi_cif cif;
  if (ffi_prep_cif(&cif, FFI_DEFAULT_ABI, static_cast<unsigned>(entry.params.size()),
                   result_type(entry.result), prepared.types.data()) != FFI_OK) {
    throw LibraryError("cannot prepare the call of the library entry \"" +
                       std::string(entry.entry_name) + "\"");
  }

  // libffi hands integer results narrower than a register back widened to an
  // ffi_arg; a pointer result fills the same storage.
  union {
    ffi_arg integer;
    const char* text;
  } raw{};
  ffi_call(&cif, reinterpret_cast<void (*)()>(address), &raw, prepared.value_addresses.data());

  CallResult result;
  if (entry.result == ResultKind::Integer) {
    result.integer = static_cast<std::int32_t>(raw.integer);
  } else if (entry.result == ResultKind::Text && raw.text) {
    result.text = raw.text;
  }
  return result;
}

}  // namespace binding

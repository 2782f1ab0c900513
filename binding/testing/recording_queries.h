#pragma once

// Query entries the recording library exports besides the library's own
// entries. Tests look them up with dlsym (see recording_client.h).

#include <cstdint>

extern "C" {

// Forgets every call and every configured result.
void Recording_Reset();

// Number of calls written down since the last reset.
std::int32_t Recording_CallCount();

// One call as text, e.g. Drovanexis_GetValue(7, 9) or
// Drovanexis_New("3.3", null): texts in double quotes with bytes outside
// printable ASCII (and '"', '\') written as \xHH, null pointers as null.
// A null pointer for an index out of range.
const char* Recording_Call(std::int32_t call);

// The pointer a text parameter received (null for an integer parameter or an
// index out of range).
const void* Recording_TextAddress(std::int32_t call, std::int32_t position);

// Drovanexis_GetValue(any handle, index) returns a copy of this text from now
// on; a null text makes it return a null pointer again (the default).
void Recording_SetValue(std::int32_t index, const char* text);

// The result an integer entry returns from now on (default 0).
void Recording_SetIntegerResult(const char* entry, std::int32_t result);

// The result a text entry other than Drovanexis_GetValue returns from now on
// (default: a null pointer).
void Recording_SetTextResult(const char* entry, const char* text);
}

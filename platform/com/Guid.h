// GUID texts ("{F8383852-FCD3-11D1-A6B9-006097DF5BD4}") and the ProgID lookup through
// HKEY_CLASSES_ROOT\<ProgID>\CLSID.
#pragma once

#include <optional>
#include <string>

#include "platform/com/Variant.h"

#define CO_E_CLASSSTRING static_cast<HRESULT>(0x800401F3)

// Writes the 38 characters and the terminator; returns 39, or 0 when `capacity` is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int capacity);
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);

namespace ostrana {

std::string GuidText(REFGUID guid);
std::optional<GUID> ParseGuid(const std::string& text);

} // namespace ostrana

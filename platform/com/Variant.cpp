// BSTR allocation and VARIANT handling; see Variant.h. A BSTR points just past a 4-byte byte
// count and is followed by a terminating zero, so its length survives embedded zeros.
#include "platform/com/Variant.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/CodePage.h"

namespace {

std::uint32_t* Header(BSTR text) { return reinterpret_cast<std::uint32_t*>(text) - 1; }

std::u16string NumberText(const VARIANT& value) {
    char buffer[64] = {};
    switch (value.vt) {
    case VT_I2: std::snprintf(buffer, sizeof(buffer), "%d", value.iVal); break;
    case VT_I4: std::snprintf(buffer, sizeof(buffer), "%ld", static_cast<long>(value.lVal)); break;
    case VT_INT: std::snprintf(buffer, sizeof(buffer), "%d", value.intVal); break;
    case VT_UI1: std::snprintf(buffer, sizeof(buffer), "%u", value.bVal); break;
    case VT_UI2: std::snprintf(buffer, sizeof(buffer), "%u", value.uiVal); break;
    case VT_UI4: std::snprintf(buffer, sizeof(buffer), "%lu", static_cast<unsigned long>(value.ulVal)); break;
    case VT_UINT: std::snprintf(buffer, sizeof(buffer), "%u", value.uintVal); break;
    case VT_R4: std::snprintf(buffer, sizeof(buffer), "%.7g", static_cast<double>(value.fltVal)); break;
    case VT_R8: std::snprintf(buffer, sizeof(buffer), "%.15g", value.dblVal); break;
    default: break;
    }
    return std::u16string(buffer, buffer + std::strlen(buffer));
}

HRESULT TextOf(const VARIANT& value, std::u16string& text) {
    switch (value.vt) {
    case VT_EMPTY: text.clear(); return S_OK;
    case VT_BSTR: text = ostrana::BstrText(value.bstrVal); return S_OK;
    case VT_BOOL: text = value.boolVal ? u"True" : u"False"; return S_OK;
    case VT_I2: case VT_I4: case VT_INT: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UINT: case VT_R4: case VT_R8:
        text = NumberText(value);
        return S_OK;
    case VT_NULL: return DISP_E_TYPEMISMATCH;
    default: return DISP_E_TYPEMISMATCH;
    }
}

} // namespace

BSTR SysAllocStringLen(LPCOLESTR text, UINT length) {
    auto* block = static_cast<std::uint32_t*>(std::malloc(sizeof(std::uint32_t) + (static_cast<size_t>(length) + 1) * sizeof(OLECHAR)));
    if (block == nullptr) return nullptr;
    block[0] = length * sizeof(OLECHAR);
    BSTR result = reinterpret_cast<BSTR>(block + 1);
    if (text != nullptr) std::memcpy(result, text, length * sizeof(OLECHAR));
    else std::memset(result, 0, length * sizeof(OLECHAR));
    result[length] = 0;
    return result;
}

BSTR SysAllocString(LPCOLESTR text) {
    if (text == nullptr) return nullptr;
    UINT length = 0;
    while (text[length] != 0) ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text != nullptr) std::free(Header(text));
}

UINT SysStringByteLen(BSTR text) { return text == nullptr ? 0 : *Header(text); }

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

void VariantInit(VARIANT* value) {
    if (value == nullptr) return;
    std::memset(value, 0, sizeof(VARIANT));
    value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* value) {
    if (value == nullptr) return E_INVALIDARG;
    if (value->vt == VT_BSTR) SysFreeString(value->bstrVal);
    else if ((value->vt == VT_UNKNOWN || value->vt == VT_DISPATCH) && value->punkVal != nullptr) value->punkVal->Release();
    VariantInit(value);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* destination, const VARIANT* source) {
    if (destination == nullptr || source == nullptr) return E_INVALIDARG;
    if (destination == source) return S_OK;
    VARIANT copy = *source;
    if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
        copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
    } else if ((source->vt == VT_UNKNOWN || source->vt == VT_DISPATCH) && source->punkVal != nullptr) {
        source->punkVal->AddRef();
    }
    VariantClear(destination);
    *destination = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* destination, const VARIANT* source, USHORT, VARTYPE type) {
    if (destination == nullptr || source == nullptr) return E_INVALIDARG;
    if (source->vt == type) return VariantCopy(destination, source);
    if (type == VT_EMPTY) return VariantClear(destination);
    if (type != VT_BSTR) return DISP_E_TYPEMISMATCH;
    std::u16string text;
    HRESULT status = TextOf(*source, text);
    if (FAILED(status)) return status;
    BSTR converted = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (converted == nullptr) return E_OUTOFMEMORY;
    // The source may be the destination: clear only after reading it.
    VariantClear(destination);
    destination->vt = VT_BSTR;
    destination->bstrVal = converted;
    return S_OK;
}

namespace ostrana {

std::u16string BstrText(BSTR text) { return text == nullptr ? std::u16string() : std::u16string(text, SysStringLen(text)); }

BSTR AnsiToBstr(const std::string& ansi) {
    std::u16string wide = ToWide(ansi);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string BstrToAnsi(BSTR text) { return FromWide(BstrText(text)); }

} // namespace ostrana

// Automation texts and values: BSTR (UTF-16, length-prefixed, allocated by the Sys* functions) and
// VARIANT with the types the control's properties use. VariantChangeType converts to VT_BSTR from
// the numeric and boolean types, as scripts expect when they hand a number where text belongs.
#pragma once

#include <string>

#include "platform/com/Unknown.h"

using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using DATE = double;

#define VARIANT_TRUE static_cast<VARIANT_BOOL>(-1)
#define VARIANT_FALSE static_cast<VARIANT_BOOL>(0)

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_BYREF = 0x4000,
};

#define DISP_E_TYPEMISMATCH static_cast<HRESULT>(0x80020005)
#define DISP_E_BADVARTYPE static_cast<HRESULT>(0x80020008)

struct IDispatch;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1, wReserved2, wReserved3;
    union {
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        HRESULT scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        USHORT uiVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        VARIANT* pvarVal;
    };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

BSTR SysAllocString(LPCOLESTR text);
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

void VariantInit(VARIANT* value);
// Frees a BSTR and releases an interface; the variant becomes VT_EMPTY.
HRESULT VariantClear(VARIANT* value);
HRESULT VariantCopy(VARIANT* destination, const VARIANT* source);
// Only VT_BSTR and VT_EMPTY targets, and the identity conversion, are supported.
HRESULT VariantChangeType(VARIANT* destination, const VARIANT* source, USHORT flags, VARTYPE type);

namespace ostrana {

// A new BSTR from text in the ANSI code page, and back.
BSTR AnsiToBstr(const std::string& ansi);
std::string BstrToAnsi(BSTR text);
std::u16string BstrText(BSTR text);

} // namespace ostrana

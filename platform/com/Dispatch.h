// Late-bound calls: IDispatch with DISPPARAMS and DISPIDs, as a page's script reaches a control.
// Type information is not provided; callers name members by DISPID or by GetIDsOfNames.
#pragma once

#include "platform/com/Variant.h"

using DISPID = LONG;
using LCID = DWORD;

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISP_E_UNKNOWNINTERFACE static_cast<HRESULT>(0x80020001)
#define DISP_E_MEMBERNOTFOUND static_cast<HRESULT>(0x80020003)
#define DISP_E_PARAMNOTFOUND static_cast<HRESULT>(0x80020004)
#define DISP_E_UNKNOWNNAME static_cast<HRESULT>(0x80020006)
#define DISP_E_BADPARAMCOUNT static_cast<HRESULT>(0x8002000E)

struct DISPPARAMS {
    VARIANTARG* rgvarg;       // arguments, last first
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    void* pfnDeferredFillIn;
    HRESULT scode;
};

struct ITypeInfo;

inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

struct IDispatch : IUnknown {
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID member, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                           EXCEPINFO* exception, UINT* argumentError) = 0;

protected:
    ~IDispatch() = default;
};

// The data-transfer interfaces: a format description (FORMATETC), a storage medium (STGMEDIUM),
// the data object that offers data in several formats and the enumerator of those formats.
// A medium returned by GetData belongs to the caller, who ends it with ReleaseStgMedium.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/ole/ClipboardFormat.h"

#define DVASPECT_CONTENT 1
#define DVASPECT_THUMBNAIL 2
#define DVASPECT_ICON 4
#define DVASPECT_DOCPRINT 8

#define TYMED_NULL 0
#define TYMED_HGLOBAL 1
#define TYMED_FILE 2
#define TYMED_ISTREAM 4
#define TYMED_ISTORAGE 8

#define DATADIR_GET 1
#define DATADIR_SET 2

#define DV_E_FORMATETC static_cast<HRESULT>(0x80040064)
#define DV_E_LINDEX static_cast<HRESULT>(0x80040068)
#define DV_E_TYMED static_cast<HRESULT>(0x80040069)
#define DV_E_DVASPECT static_cast<HRESULT>(0x8004006B)

struct DVTARGETDEVICE;

struct FORMATETC {
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
using LPFORMATETC = FORMATETC*;

struct STGMEDIUM {
    DWORD tymed;
    union {
        HGLOBAL hGlobal;
        LPWSTR lpszFileName;
    };
    IUnknown* pUnkForRelease;
};
using LPSTGMEDIUM = STGMEDIUM*;

inline constexpr IID IID_IEnumFORMATETC = {0x00000103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDataObject = {0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IEnumFORMATETC : IUnknown {
    // S_OK when all `count` were returned, S_FALSE when fewer.
    virtual HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** copy) = 0;

protected:
    ~IEnumFORMATETC() = default;
};

struct IDataObject : IUnknown {
    virtual HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT QueryGetData(FORMATETC* format) = 0;
    // With release TRUE the object takes the medium; otherwise it keeps a copy.
    virtual HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) = 0;

protected:
    ~IDataObject() = default;
};

// Ends a medium: through its release interface when it has one, else by freeing its storage.
void ReleaseStgMedium(STGMEDIUM* medium);

namespace ostrana {

// The description the framework uses when a caller gives none: content aspect, any index.
FORMATETC DefaultFormatEtc(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL);

} // namespace ostrana

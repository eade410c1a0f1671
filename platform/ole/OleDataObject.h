// The framework's view of a data object that a drop or the clipboard delivers: asks whether a
// format is present, and gets its data as global memory or as a file over it. It holds one
// reference to the attached object when attached with autoRelease.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/File.h"
#include "platform/ole/DataObject.h"

class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Attaching does not AddRef; with autoRelease the object is released on Release/destruction.
    void Attach(IDataObject* dataObject, BOOL autoRelease = TRUE);
    IDataObject* Detach();
    void Release();
    IDataObject* GetIDataObject(BOOL addRef) const;

    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC format);

    BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr) const;
    // The medium belongs to the caller (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = nullptr) const;
    // A block that belongs to the caller, or NULL.
    HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr) const;
    // A file over the data (its length is the block's size), or null.
    std::unique_ptr<CFile> GetFileData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr) const;

private:
    IDataObject* m_lpDataObject = nullptr;
    bool m_bAutoRelease = true;
    std::vector<FORMATETC> m_formats;
    std::size_t m_nextFormat = 0;
};

#include "platform/ole/OleDataObject.h"

#include "platform/ole/GlobalMemory.h"
#include "platform/ole/SharedFile.h"

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(IDataObject* dataObject, BOOL autoRelease) {
    Release();
    m_lpDataObject = dataObject;
    m_bAutoRelease = autoRelease != FALSE;
}

IDataObject* COleDataObject::Detach() {
    IDataObject* dataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    m_formats.clear();
    m_nextFormat = 0;
    return dataObject;
}

void COleDataObject::Release() {
    IDataObject* dataObject = Detach();
    if (dataObject != nullptr && m_bAutoRelease) {
        dataObject->Release();
    }
}

IDataObject* COleDataObject::GetIDataObject(BOOL addRef) const {
    if (m_lpDataObject != nullptr && addRef) {
        m_lpDataObject->AddRef();
    }
    return m_lpDataObject;
}

void COleDataObject::BeginEnumFormats() {
    m_formats.clear();
    m_nextFormat = 0;
    IEnumFORMATETC* enumerator = nullptr;
    if (m_lpDataObject == nullptr || FAILED(m_lpDataObject->EnumFormatEtc(DATADIR_GET, &enumerator)) ||
        enumerator == nullptr) {
        return;
    }
    FORMATETC format{};
    ULONG fetched = 0;
    while (enumerator->Next(1, &format, &fetched) == S_OK && fetched == 1) {
        m_formats.push_back(format);
    }
    enumerator->Release();
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC format) {
    if (format == nullptr || m_nextFormat >= m_formats.size()) {
        return FALSE;
    }
    *format = m_formats[m_nextFormat++];
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc) const {
    if (m_lpDataObject == nullptr) {
        return FALSE;
    }
    FORMATETC description = formatEtc != nullptr ? *formatEtc : ostrana::DefaultFormatEtc(format);
    description.cfFormat = format;
    return m_lpDataObject->QueryGetData(&description) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc) const {
    if (m_lpDataObject == nullptr || medium == nullptr) {
        return FALSE;
    }
    FORMATETC description = formatEtc != nullptr ? *formatEtc : ostrana::DefaultFormatEtc(format);
    description.cfFormat = format;
    *medium = STGMEDIUM{};
    return m_lpDataObject->GetData(&description, medium) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc) const {
    STGMEDIUM medium{};
    if (!GetData(format, &medium, formatEtc)) {
        return nullptr;
    }
    if (medium.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (medium.pUnkForRelease == nullptr) {
        return medium.hGlobal;
    }
    // The block still belongs to the data object: keep a copy and let it go.
    HGLOBAL copy = ostrana::GlobalDuplicate(medium.hGlobal, GMEM_MOVEABLE | GMEM_SHARE);
    ReleaseStgMedium(&medium);
    return copy;
}

std::unique_ptr<CFile> COleDataObject::GetFileData(CLIPFORMAT format, LPFORMATETC formatEtc) const {
    HGLOBAL memory = GetGlobalData(format, formatEtc);
    if (memory == nullptr) {
        return nullptr;
    }
    auto file = std::make_unique<CSharedFile>();
    file->SetHandle(memory, FALSE);
    return file;
}

#include "dragdrop/ClipboardFormats.h"

#include "dragdrop/CCF_HDROP.h"
#include "platform/base/Archive.h"
#include "platform/ole/DropFiles.h"
#include "platform/ole/SharedFile.h"

namespace {

constexpr int kArchiveBuffer = 4096;
constexpr UINT kGrowBytes = 4096;

LPCSTR const kRegisteredNames[CFI_COUNT] = {nullptr,
                                            nullptr,
                                            "UniformResourceLocator",
                                            "CF_WD_WEBSITE",
                                            "HTML Format",
                                            "CF_WD_WEBSITE_CATEGORY",
                                            "CF_WD_RIGHTMENU",
                                            "FileGroupDescriptor",
                                            "Shell IDList Array"};

// Appends every dropped name in one pass over the block. Names longer than MAX_PATH are kept
// whole: a cut name would name another file.
void AppendDroppedNames(HDROP drop, CCF_HDROP& files) {
    for (const std::string& name : ostrana::DragQueryFiles(drop)) {
        files.AddFileName(name);
    }
}

} // namespace

CClipboardFormats::CClipboardFormats() {
    m_formats[CFI_TEXT] = CF_TEXT;
    m_formats[CFI_HDROP] = CF_HDROP;
    for (int index = CFI_URL; index < CFI_COUNT; ++index) {
        m_formats[index] = static_cast<CLIPFORMAT>(RegisterClipboardFormatA(kRegisteredNames[index]));
    }
}

const CClipboardFormats& CClipboardFormats::Table() {
    static const CClipboardFormats table;
    return table;
}

CLIPFORMAT CClipboardFormats::FormatAt(int index) {
    if (index < 0 || index >= CFI_COUNT) {
        return 0;
    }
    return Table().m_formats[index];
}

BOOL CClipboardFormats::HasKnownFormat(COleDataObject* dataObject) {
    if (dataObject == nullptr) {
        return FALSE;
    }
    const CClipboardFormats& table = Table();
    dataObject->BeginEnumFormats();
    FORMATETC format{};
    while (dataObject->GetNextFormat(&format)) {
        for (CLIPFORMAT known : table.m_formats) {
            if (format.cfFormat == known) {
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CClipboardFormats::PutOnDataSource(COleDataSource* dataSource, CObject* payload, int index,
                                        LPFORMATETC formatEtc) {
    CLIPFORMAT format = FormatAt(index);
    if (dataSource == nullptr || payload == nullptr || format == 0) {
        return FALSE;
    }
    CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, kGrowBytes);
    try {
        CArchive ar(&file, CArchive::store, kArchiveBuffer);
        payload->Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return FALSE;
    }
    HGLOBAL memory = file.Detach();
    if (memory == nullptr) {
        return FALSE;
    }
    dataSource->CacheGlobalData(format, memory, formatEtc);
    return TRUE;
}

BOOL CClipboardFormats::GetFromDataObject(COleDataObject* dataObject, CObject* payload, int index) {
    if (dataObject == nullptr || payload == nullptr) {
        return FALSE;
    }
    CLIPFORMAT format = FormatAt(index);
    if (format == 0) {
        return TRUE;
    }
    if (format == CF_HDROP) {
        auto* files =
            payload->IsKindOf(RUNTIME_CLASS(CCF_HDROP)) ? static_cast<CCF_HDROP*>(payload) : nullptr;
        STGMEDIUM medium{};
        FORMATETC description = ostrana::DefaultFormatEtc(CF_HDROP);
        if (files != nullptr && dataObject->GetData(CF_HDROP, &medium, &description)) {
            if (medium.tymed == TYMED_HGLOBAL) {
                AppendDroppedNames(reinterpret_cast<HDROP>(medium.hGlobal), *files);
            }
            ReleaseStgMedium(&medium);
        }
        return TRUE;
    }
    std::unique_ptr<CFile> file = dataObject->GetFileData(format);
    if (file == nullptr) {
        return TRUE;
    }
    try {
        CArchive ar(file.get(), CArchive::load, kArchiveBuffer);
        payload->Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return FALSE;
    }
    return TRUE;
}

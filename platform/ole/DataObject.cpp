#include "platform/ole/DataObject.h"

#include "platform/ole/GlobalMemory.h"

void ReleaseStgMedium(STGMEDIUM* medium) {
    if (medium == nullptr) {
        return;
    }
    if (medium->pUnkForRelease != nullptr) {
        medium->pUnkForRelease->Release();
    } else if (medium->tymed == TYMED_HGLOBAL && medium->hGlobal != nullptr) {
        GlobalFree(medium->hGlobal);
    }
    medium->tymed = TYMED_NULL;
    medium->hGlobal = nullptr;
    medium->pUnkForRelease = nullptr;
}

namespace ostrana {

FORMATETC DefaultFormatEtc(CLIPFORMAT format, DWORD tymed) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, tymed};
}

} // namespace ostrana

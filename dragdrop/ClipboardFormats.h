// The nine clipboard formats the program knows, addressed by index, and the two helpers that put
// a payload object on a data source and read it back from a data object. The table is built on
// first use, registering the named formats, and lives until the process ends.
#pragma once

#include <array>

#include "platform/base/Object.h"
#include "platform/ole/OleDataObject.h"
#include "platform/ole/OleDataSource.h"

enum ClipboardFormatIndex : int {
    CFI_TEXT = 0,
    CFI_HDROP = 1,
    CFI_URL = 2,
    CFI_WEBSITE = 3,
    CFI_HTML = 4,
    CFI_WEBSITE_CATEGORY = 5,
    CFI_RIGHTMENU = 6,
    CFI_FILEGROUPDESCRIPTOR = 7,
    CFI_SHELLIDLIST = 8,
    CFI_COUNT = 9
};

class CClipboardFormats {
public:
    static const CClipboardFormats& Table();

    // The format number at an index, 0 for an index outside 0-8.
    static CLIPFORMAT FormatAt(int index);
    // TRUE when the data object offers any of the nine formats.
    static BOOL HasKnownFormat(COleDataObject* dataObject);

    // Serialises the payload into shareable global memory and caches it under the format of the
    // index. FALSE when an argument is missing, the index is unknown, serialising fails or the
    // payload wrote nothing (then nothing is offered).
    static BOOL PutOnDataSource(COleDataSource* dataSource, CObject* payload, int index,
                                LPFORMATETC formatEtc = nullptr);
    // Reads the payload from the format of the index. Dropped files are appended to a CCF_HDROP
    // through the dropped-files query. A format the data object lacks leaves the payload as it
    // was and still answers TRUE; FALSE when an argument is missing or the data is damaged (the
    // text, flag, id list and descriptor payloads are then left as they were).
    static BOOL GetFromDataObject(COleDataObject* dataObject, CObject* payload, int index);

    CLIPFORMAT operator[](int index) const { return FormatAt(index); }

private:
    CClipboardFormats();

    std::array<CLIPFORMAT, CFI_COUNT> m_formats{};
};

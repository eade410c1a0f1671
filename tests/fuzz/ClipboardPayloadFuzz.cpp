// The clipboard payload classes loaded from arbitrary bytes, as another program's data object may
// hand them over: a damaged payload ends in the archive's exception, and what loads can be
// walked and stored again.
#include <cstddef>
#include <cstdint>

#include "dragdrop/CCF_FileGroupDescriptor.h"
#include "dragdrop/CCF_HDROP.h"
#include "dragdrop/CCF_RightMenu.h"
#include "dragdrop/CCF_ShellIDList.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/CCF_WebSite.h"
#include "platform/base/MemFile.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

bool Load(CObject& payload, const std::uint8_t* data, std::size_t size) {
    CMemFile file(data, static_cast<UINT>(size));
    try {
        CArchive ar(&file, CArchive::load, 64);
        payload.Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return false;
    }
    return true;
}

void StoreAgain(CObject& payload) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    payload.Serialize(ar);
    ar.Close();
}

void Walk(const CCF_ShellIDList& lists) {
    for (int i = 0; i < lists.GetCount(); ++i) {
        if (LPCITEMIDLIST list = lists.GetAt(i)) {
            FUZZ_CHECK(ILGetSize(list) >= 2);
        }
    }
}

void Walk(const CCF_FileGroupDescriptor& group) {
    for (UINT i = 0; i < group.GetCount(); ++i) {
        FUZZ_CHECK(group.GetDescriptor(i) != nullptr);
    }
}

template <typename Payload> void Exercise(const std::uint8_t* data, std::size_t size) {
    Payload payload;
    if (!Load(payload, data, size)) {
        return;
    }
    if constexpr (requires { Walk(payload); }) {
        Walk(payload);
    }
    StoreAgain(payload);
}

} // namespace

// The first byte chooses the payload class, the rest is the format's bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t* bytes = data + 1;
    std::size_t count = size - 1;
    switch (data[0] % 10) {
    case 0: Exercise<CCF_String>(bytes, count); break;
    case 1: Exercise<CCF_HDROP>(bytes, count); break;
    case 2: Exercise<CCF_FileGroupDescriptor>(bytes, count); break;
    case 3: Exercise<CCF_ShellIDList>(bytes, count); break;
    case 4: Exercise<CCF_RightMenu>(bytes, count); break;
    case 5: Exercise<CCF_App>(bytes, count); break;
    case 6: Exercise<CCF_WebSite>(bytes, count); break;
    case 7: Exercise<CCF_FolderType>(bytes, count); break;
    case 8: Exercise<CCF_WebSites>(bytes, count); break;
    default: Exercise<CCF_DBFolderList>(bytes, count); break;
    }
    return 0;
}

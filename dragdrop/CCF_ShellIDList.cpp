// Loading reads the whole rest of the archive and checks every offset and list against it, since
// the bytes may come from another process; damaged bytes leave the held lists as they were.
#include "dragdrop/CCF_ShellIDList.h"

#include <cstring>

#include "platform/shell/ShellMalloc.h"

IMPLEMENT_SERIAL(CCF_ShellIDList, CObject, 0)

namespace {

// Upper bound on what a loaded array may hold; the shell never offers more in one drag.
constexpr std::size_t kMaxLoadBytes = 64 * 1024 * 1024;

DWORD ReadDword(const std::vector<BYTE>& bytes, std::size_t at) {
    DWORD value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

} // namespace

CCF_ShellIDList::~CCF_ShellIDList() { RemoveAll(); }

void CCF_ShellIDList::RemoveAll() {
    for (LPITEMIDLIST list : m_lists) {
        ILFree(list);
    }
    m_lists.clear();
}

void CCF_ShellIDList::Add(LPCITEMIDLIST list) { m_lists.push_back(ILClone(list)); }

LPCITEMIDLIST CCF_ShellIDList::GetAt(int index) const {
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return m_lists[static_cast<std::size_t>(index)];
}

void CCF_ShellIDList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        Store(ar);
    } else {
        Load(ar);
    }
}

void CCF_ShellIDList::Store(CArchive& ar) const {
    auto count = static_cast<DWORD>(m_lists.size());
    if (count < 2) {
        return;
    }
    ar << static_cast<DWORD>(count - 1);
    DWORD offset = 8 + 4 * count;
    for (LPCITEMIDLIST list : m_lists) {
        ar << offset;
        offset += ILGetSize(list);
    }
    ar << DWORD{0};
    for (LPCITEMIDLIST list : m_lists) {
        ar.Write(list, ILGetSize(list));
    }
}

void CCF_ShellIDList::Load(CArchive& ar) {
    std::vector<BYTE> bytes;
    BYTE chunk[4096];
    for (UINT got = ar.Read(chunk, sizeof chunk); got > 0; got = ar.Read(chunk, sizeof chunk)) {
        if (bytes.size() + got > kMaxLoadBytes) {
            throw CArchiveException(CArchiveException::genericException);
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (bytes.empty()) {
        RemoveAll();
        return;
    }
    if (bytes.size() < 4) {
        throw CArchiveException(CArchiveException::endOfFile);
    }
    std::size_t count = static_cast<std::size_t>(ReadDword(bytes, 0)) + 1;
    std::size_t headerSize = 8 + 4 * count;
    if (count > bytes.size() / 4 || headerSize > bytes.size()) {
        throw CArchiveException(CArchiveException::endOfFile);
    }
    std::vector<LPITEMIDLIST> lists;
    try {
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t offset = ReadDword(bytes, 4 + 4 * i);
            std::size_t next = i + 1 < count ? ReadDword(bytes, 8 + 4 * i) : bytes.size();
            if (offset < headerSize || offset > bytes.size()) {
                throw CArchiveException(CArchiveException::badIndex);
            }
            if (offset == next && i + 1 < count) {
                lists.push_back(nullptr); // an absent list takes no bytes
                continue;
            }
            UINT size = ostrana::ILGetSizeBounded(bytes.data() + offset, bytes.size() - offset);
            if (size == 0) {
                throw CArchiveException(CArchiveException::badIndex);
            }
            auto* copy = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(size));
            if (copy == nullptr) {
                throw CArchiveException(CArchiveException::genericException);
            }
            std::memcpy(copy, bytes.data() + offset, size);
            lists.push_back(copy);
        }
    } catch (const CArchiveException&) {
        for (LPITEMIDLIST list : lists) {
            ILFree(list);
        }
        throw;
    }
    RemoveAll();
    m_lists = std::move(lists);
}

#include "dragdrop/CCF_String.h"

#include <cstring>

IMPLEMENT_SERIAL(CCF_String, CObject, 0)

namespace {

constexpr UINT kChunk = 260;

} // namespace

void CCF_String::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.Write(m_strText.data(), static_cast<UINT>(m_strText.size()));
        ar << DWORD{0};
        return;
    }
    m_strText.clear();
    for (;;) {
        char chunk[kChunk + 1] = {};
        ar.Read(chunk, kChunk);
        std::size_t length = std::strlen(chunk);
        m_strText.append(chunk, length);
        if (length < kChunk) {
            break;
        }
    }
}

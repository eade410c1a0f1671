#include "dragdrop/CCF_HDROP.h"

#include "platform/ole/DropFiles.h"

IMPLEMENT_SERIAL(CCF_HDROP, CObject, 0)

void CCF_HDROP::Serialize(CArchive& ar) {
    if (!ar.IsStoring()) {
        return;
    }
    ar << DWORD{sizeof(DROPFILES)} << m_pt.x << m_pt.y << static_cast<LONG>(m_bNC) << DWORD{0};
    for (const std::string& name : m_saFileNames) {
        ar.Write(name.c_str(), static_cast<UINT>(name.size() + 1));
    }
    ar << BYTE{0};
}

void CCF_HDROP::SetDropPoint(POINT point, BOOL nonClient) {
    m_pt = point;
    m_bNC = nonClient;
}

void CCF_HDROP::AddFileName(const std::string& name) { m_saFileNames.push_back(name); }

std::string CCF_HDROP::GetFileName(int index) const {
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return m_saFileNames[static_cast<std::size_t>(index)];
}

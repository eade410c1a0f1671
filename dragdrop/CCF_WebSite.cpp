#include "dragdrop/CCF_WebSite.h"

IMPLEMENT_SERIAL(CCF_App, CObject, 0)
IMPLEMENT_SERIAL(CCF_WebSite, CObject, 0)
IMPLEMENT_SERIAL(CCF_FolderType, CObject, 0)
IMPLEMENT_SERIAL(CCF_WebSites, CObject, 0)
IMPLEMENT_SERIAL(CCF_DBFolderList, CObject, 0)

namespace {

// A count, then each element; elements are created only as the data for them arrives.
template <typename Element> void SerializeList(CArchive& ar, std::vector<std::unique_ptr<Element>>& list) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(list.size()));
        for (const auto& element : list) {
            element->Serialize(ar);
        }
        return;
    }
    list.clear();
    DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; ++i) {
        auto element = std::make_unique<Element>();
        element->Serialize(ar);
        list.push_back(std::move(element));
    }
}

template <typename Element>
const Element* ElementAt(const std::vector<std::unique_ptr<Element>>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) {
        return nullptr;
    }
    return list[static_cast<std::size_t>(index)].get();
}

} // namespace

void CCF_App::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nApp);
    } else {
        LONG app = 0;
        ar >> app;
        m_nApp = app;
    }
}

void CCF_WebSite::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_strFirst << m_strSecond;
    } else {
        ar >> m_strFirst >> m_strSecond;
    }
}

void CCF_FolderType::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nType) << m_strSecond << m_strFirst;
    } else {
        LONG type = 0;
        ar >> type >> m_strSecond >> m_strFirst;
        m_nType = type;
    }
}

void CCF_WebSites::Serialize(CArchive& ar) {
    m_App.Serialize(ar);
    SerializeList(ar, m_sites);
}

const CCF_WebSite* CCF_WebSites::GetAt(int index) const { return ElementAt(m_sites, index); }

void CCF_DBFolderList::Serialize(CArchive& ar) {
    m_App.Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_strName;
    } else {
        ar >> m_strName;
    }
    SerializeList(ar, m_folders);
}

const CCF_FolderType* CCF_DBFolderList::GetAt(int index) const { return ElementAt(m_folders, index); }

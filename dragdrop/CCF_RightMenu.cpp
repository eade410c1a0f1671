#include "dragdrop/CCF_RightMenu.h"

IMPLEMENT_SERIAL(CCF_RightMenu, CObject, 0)

void CCF_RightMenu::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<BYTE>(m_bRightMenu ? 1 : 0);
    } else {
        BYTE flag = 0;
        ar >> flag;
        m_bRightMenu = flag != 0;
    }
}

// Whether a drag was started with the right mouse button: one byte, 1 or 0.
#pragma once

#include "platform/base/Archive.h"

class CCF_RightMenu : public CObject {
    DECLARE_SERIAL(CCF_RightMenu)
public:
    explicit CCF_RightMenu(BOOL rightMenu = FALSE) : m_bRightMenu(rightMenu != FALSE) {}
    ~CCF_RightMenu() override = default;

    void Serialize(CArchive& ar) override;
    virtual BOOL GetRightMenu() const { return m_bRightMenu ? TRUE : FALSE; }
    void SetRightMenu(BOOL rightMenu) { m_bRightMenu = rightMenu != FALSE; }

private:
    bool m_bRightMenu;
};

// Shows the wait cursor for the object's lifetime and puts the previous cursor back.
#pragma once

#include "platform/base/Object.h"
#include "platform/window/Cursor.h"

class CWaitCursor : public CObject {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() override { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again after something else changed it (a message box, for example).
    void Restore() { ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT)); }

private:
    HCURSOR m_previous;
};

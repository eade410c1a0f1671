// The edit box that "&Rename" of the header menu puts over a column title: Enter or leaving it
// takes the text as the new title, Escape keeps the old one. It asks its list to end it by a
// posted message, so that it is never destroyed inside its own message handling.
#pragma once

#include <string>

#include "platform/window/AfxWnd.h"

#define UWM_UI_END_TITLE_EDIT (WM_APP + 1190)

class CUIHeaderTitleEdit : public CWnd {
public:
    // Opens the box over the title of `column` of `list`; FALSE when there is no such column.
    BOOL Start(HWND list, int column);
    int GetColumn() const { return m_column; }
    // The new title, when the user confirmed one.
    bool IsConfirmed() const { return m_confirmed; }
    std::string GetTitle() const { return GetWindowText(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Finish(bool confirmed);

    HWND m_list = nullptr;
    int m_column = -1;
    bool m_confirmed = false;
    bool m_finished = false;
};

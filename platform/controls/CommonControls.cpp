// Registration of the common control classes, once per process, and the tooltip window the
// controls show their tips in: a bordered popup that paints its text.
#include <mutex>

#include "platform/controls/ControlSupport.h"
#include "platform/window/Cursor.h"

namespace ostrana::detail {

void RegisterHeaderClass();
void RegisterListViewClass();
void RegisterTreeViewClass();

namespace {

LRESULT ToolTipProcedure(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(tip, &paint);
        RECT client;
        GetClientRect(tip, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
        SelectFont(dc, nullptr);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        std::string text = WindowText(tip);
        InflateRect(&client, -3, 0);
        DrawTextA(dc, text.c_str(), -1, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        EndPaint(tip, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return DefWindowProcA(tip, message, wParam, lParam);
    }
}

void RegisterToolTipClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS | CS_SAVEBITS;
    windowClass.lpfnWndProc = ToolTipProcedure;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = TOOLTIPS_CLASSA;
    RegisterClassA(&windowClass);
}

} // namespace
} // namespace ostrana::detail

void InitCommonControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        using namespace ostrana::detail;
        RegisterHeaderClass();
        RegisterListViewClass();
        RegisterTreeViewClass();
        RegisterToolTipClass();
    });
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    InitCommonControls();
    return TRUE;
}

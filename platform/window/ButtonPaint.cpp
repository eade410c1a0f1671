// How the button control draws itself: push buttons as raised or sunken boxes, check boxes and
// radio buttons as a mark and their text, group boxes as an etched frame; owner-drawn buttons ask
// their parent with WM_DRAWITEM.
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/TextLayout.h"
#include "platform/window/ButtonControl.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

constexpr int kMarkSize = 13;

void PaintOwnerDrawn(HWND button, ButtonData& data, HDC dc, const RECT& client) {
    UINT state = 0;
    if (data.pushed) state |= ODS_SELECTED;
    if (data.focused) state |= ODS_FOCUS;
    if (!IsWindowEnabled(button)) state |= ODS_DISABLED;
    DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(button)), 0, ODA_DRAWENTIRE, state, button, dc, client, 0};
    SendMessageA(GetParent(button), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void PaintLabel(HWND button, HDC dc, RECT rect, UINT format) {
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(button)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    std::string text = WindowText(button);
    DrawTextA(dc, text.c_str(), -1, &rect, format);
}

void PaintPush(HWND button, ButtonData& data, HDC dc, RECT rect, bool isDefault) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    if (isDefault) {
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rect, -1, -1);
    }
    DrawEdge(dc, &rect, data.pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (data.image != nullptr) {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(data.image), 0, rect.left, rect.top, 0, 0,
                   (IconOf(data.image) ? DST_ICON : DST_BITMAP) | (IsWindowEnabled(button) ? 0 : DSS_DISABLED));
    } else {
        RECT text = rect;
        if (data.pushed) OffsetRect(&text, 1, 1);
        PaintLabel(button, dc, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (data.focused) {
        InflateRect(&rect, -2, -2);
        DrawFocusRect(dc, &rect);
    }
}

void PaintMark(HWND button, ButtonData& data, HDC dc, const RECT& client, bool radio) {
    int top = (Height(client) - kMarkSize) / 2;
    RECT mark{0, top, kMarkSize, top + kMarkSize};
    if (radio) {
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        SelectObject(dc, GetStockObject(BLACK_PEN));
        Ellipse(dc, mark.left, mark.top, mark.right, mark.bottom);
        if (data.check == BST_CHECKED) {
            SelectObject(dc, GetStockObject(BLACK_BRUSH));
            Ellipse(dc, mark.left + 4, mark.top + 4, mark.right - 4, mark.bottom - 4);
        }
    } else {
        FillRect(dc, &mark, GetSysColorBrush(data.pushed ? COLOR_BTNFACE : COLOR_WINDOW));
        RECT edge = mark;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
        if (data.check != BST_UNCHECKED) {
            SelectObject(dc, GetStockObject(BLACK_PEN));
            MoveToEx(dc, mark.left + 3, mark.top + 6, nullptr);
            LineTo(dc, mark.left + 5, mark.top + 9);
            LineTo(dc, mark.left + 10, mark.top + 3);
        }
    }
    RECT text{kMarkSize + 4, client.top, client.right, client.bottom};
    PaintLabel(button, dc, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (data.focused) DrawFocusRect(dc, &text);
}

void PaintGroup(HWND button, HDC dc, const RECT& client) {
    FontMetric metric = MetricOf(SelectedFont(dc));
    RECT frame{client.left, client.top + metric.height / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    std::string text = WindowText(button);
    if (text.empty()) return;
    RECT label{8, 0, 8 + TextWidth(metric, StripPrefix(text)) + 4, metric.height};
    HBRUSH brush = ControlColors(button, dc, WM_CTLCOLORSTATIC);
    if (brush != nullptr) FillRect(dc, &label, brush);
    PaintLabel(button, dc, RECT{10, 0, client.right, metric.height}, DT_LEFT | DT_SINGLELINE);
}

} // namespace

void PaintButton(HWND button, ButtonData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(button, &paint);
    RECT client;
    GetClientRect(button, &client);
    SelectControlFont(dc, data);
    DWORD type = ButtonType(button);
    if (type == BS_OWNERDRAW) {
        PaintOwnerDrawn(button, data, dc, client);
    } else {
        HBRUSH brush = ControlColors(button, dc, type == BS_GROUPBOX ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN);
        switch (type) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
        case BS_USERBUTTON: PaintPush(button, data, dc, client, type == BS_DEFPUSHBUTTON); break;
        case BS_GROUPBOX: PaintGroup(button, dc, client); break;
        default:
            if (brush != nullptr) FillRect(dc, &client, brush);
            PaintMark(button, data, dc, client, type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
            break;
        }
    }
    EndPaint(button, &paint);
}

} // namespace ostrana::detail

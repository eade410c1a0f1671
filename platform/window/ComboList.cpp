// The drop-down list of a combo box: a top-level window under the box that holds the mouse
// capture while open, so a click outside closes it and a click on a row chooses that row.
#include <algorithm>

#include "platform/window/ComboBoxControl.h"
#include "platform/window/Cursor.h"
#include "platform/window/Focus.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

constexpr char kListClass[] = "ComboLBox";

HWND ComboOf(HWND list) { return reinterpret_cast<HWND>(GetWindowLongPtrA(list, GWLP_USERDATA)); }

int VisibleRows(HWND list, const ComboData& data) {
    RECT client;
    GetClientRect(list, &client);
    return std::max(1, static_cast<int>(Height(client)) / ComboItemHeight(data));
}

int FirstRow(HWND list, const ComboData& data) {
    int rows = VisibleRows(list, data);
    return data.hot >= rows ? data.hot - rows + 1 : 0;
}

int RowAt(HWND list, const ComboData& data, POINT point) {
    RECT client;
    GetClientRect(list, &client);
    if (!PtInRect(&client, point)) return -1;
    int row = FirstRow(list, data) + point.y / ComboItemHeight(data);
    return row < static_cast<int>(data.items.size()) ? row : -1;
}

void Paint(HWND list, ComboData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(list, &paint);
    RECT client;
    GetClientRect(list, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SelectControlFont(dc, data);
    SetBkMode(dc, TRANSPARENT);
    int height = ComboItemHeight(data);
    int first = FirstRow(list, data);
    int last = std::min(static_cast<int>(data.items.size()), first + VisibleRows(list, data));
    for (int row = first; row < last; ++row) {
        RECT rect{0, (row - first) * height, client.right, (row - first + 1) * height};
        bool hot = row == data.hot;
        if (hot) FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        rect.left += 2;
        DrawTextA(dc, data.items[static_cast<std::size_t>(row)].text.c_str(), -1, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    EndPaint(list, &paint);
}

LRESULT ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND combo = ComboOf(list);
    auto data = ComboDataOf(combo);
    if (!data || data->list != list) return DefWindowProcA(list, message, wParam, lParam);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT: Paint(list, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE: {
        int row = RowAt(list, *data, point);
        if (row >= 0 && row != data->hot) {
            data->hot = row;
            InvalidateRect(list, nullptr, TRUE);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (RowAt(list, *data, point) < 0) {
            RECT client;
            GetClientRect(list, &client);
            if (!PtInRect(&client, point)) CloseComboList(combo, *data, false);
        }
        return 0;
    case WM_LBUTTONUP: {
        int row = RowAt(list, *data, point);
        if (row >= 0) {
            data->hot = row;
            CloseComboList(combo, *data, true);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != list) CloseComboList(combo, *data, false);
        return 0;
    default: return DefWindowProcA(list, message, wParam, lParam);
    }
}

} // namespace

void OpenComboList(HWND combo, ComboData& data) {
    if (data.list != nullptr) return;
    NotifyParent(combo, CBN_DROPDOWN);
    RECT box;
    GetWindowRect(combo, &box);
    int height = ComboItemHeight(data);
    int available = std::max(height, data.droppedHeight - static_cast<int>(Height(box)));
    int rows = std::clamp(static_cast<int>(data.items.size()), 1, std::max(1, available / height));
    data.hot = data.current;
    HWND list = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kListClass, "", WS_POPUP | WS_BORDER, box.left, box.bottom,
                                Width(box), rows * height + 2, GetAncestor(combo, GA_ROOT), nullptr, nullptr, nullptr);
    if (list == nullptr) return;
    SetWindowLongPtrA(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(combo));
    data.list = list;
    ShowWindow(list, SW_SHOWNA);
    SetCapture(list);
    InvalidateRect(combo, nullptr, TRUE);
}

void CloseComboList(HWND combo, ComboData& data, bool accept) {
    HWND list = data.list;
    if (list == nullptr) return;
    data.list = nullptr;
    if (GetCapture() == list) ReleaseCapture();
    if (accept && data.hot >= 0) ChooseComboItem(combo, data, data.hot);
    DestroyWindow(list);
    NotifyParent(combo, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    NotifyParent(combo, CBN_CLOSEUP);
    InvalidateRect(combo, nullptr, TRUE);
}

void RegisterComboListClass() {
    RegisterSystemClass(kListClass, ListProcedure, CS_SAVEBITS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

} // namespace ostrana::detail

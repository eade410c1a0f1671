// The combo box: its item list, the current selection, the edit of the drop-down style (text and
// keys go through it), the CB_ messages and CBN_ notifications.
#include "platform/window/ComboBoxControl.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/TextMetric.h"
#include "platform/window/Cursor.h"
#include "platform/window/Focus.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {

std::shared_ptr<ComboData> ComboDataOf(HWND combo) {
    return WindowClassName(combo) == WC_COMBOBOXA ? ControlDataAs<ComboData>(combo) : nullptr;
}

int ComboItemHeight(const ComboData& data) {
    FontInfo font = data.font != nullptr ? FontOf(data.font).value_or(DefaultGuiFont()) : DefaultGuiFont();
    return MetricOf(font).height + 2;
}

namespace {

DWORD ComboType(HWND combo) { return static_cast<DWORD>(GetWindowLongPtrA(combo, GWL_STYLE)) & 3; }

void ShowText(HWND combo, ComboData& data, const std::string& text) {
    DefWindowProcA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (data.edit != nullptr) {
        data.settingText = true;
        SetWindowTextA(data.edit, text.c_str());
        data.settingText = false;
        SendMessageA(data.edit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(combo, nullptr, TRUE);
}

int Insert(HWND combo, ComboData& data, int index, LPCSTR text) {
    std::string value = text != nullptr ? text : "";
    if (index < 0 || index > static_cast<int>(data.items.size())) index = static_cast<int>(data.items.size());
    if (GetWindowLongPtrA(combo, GWL_STYLE) & CBS_SORT) {
        auto at = std::find_if(data.items.begin(), data.items.end(),
                               [&](const ComboItem& item) { return ::strcasecmp(item.text.c_str(), value.c_str()) > 0; });
        index = static_cast<int>(at - data.items.begin());
    }
    data.items.insert(data.items.begin() + index, ComboItem{value, 0});
    if (data.current >= index) ++data.current;
    return index;
}

int Find(const ComboData& data, int after, LPCSTR text, bool exact) {
    if (text == nullptr) return CB_ERR;
    std::size_t length = std::strlen(text);
    int count = static_cast<int>(data.items.size());
    for (int step = 1; step <= count; ++step) {
        int index = (after + step + count) % count;
        const std::string& item = data.items[static_cast<std::size_t>(index)].text;
        bool match = exact ? ::strcasecmp(item.c_str(), text) == 0 : ::strncasecmp(item.c_str(), text, length) == 0;
        if (match) return index;
    }
    return CB_ERR;
}

LRESULT SetCurrent(HWND combo, ComboData& data, int index) {
    if (index < -1 || index >= static_cast<int>(data.items.size())) {
        data.current = -1;
        ShowText(combo, data, "");
        return CB_ERR;
    }
    data.current = index;
    ShowText(combo, data, index >= 0 ? data.items[static_cast<std::size_t>(index)].text : "");
    return index;
}

void Paint(HWND combo, ComboData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(combo, &paint);
    RECT client;
    GetClientRect(combo, &client);
    HBRUSH brush = ControlColors(combo, dc, WM_CTLCOLOREDIT);
    if (brush != nullptr) FillRect(dc, &client, brush);
    SelectControlFont(dc, data);
    if (ComboType(combo) == CBS_DROPDOWNLIST && data.current >= 0) {
        RECT text{client.left + 2, client.top, client.right - kComboButtonWidth, client.bottom};
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, data.items[static_cast<std::size_t>(data.current)].text.c_str(), -1, &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT button{client.right - kComboButtonWidth, client.top, client.right, client.bottom};
    FillRect(dc, &button, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &button, data.list != nullptr ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int middleX = (button.left + button.right) / 2;
    int middleY = (button.top + button.bottom) / 2 - 1;
    SelectObject(dc, GetStockObject(IsWindowEnabled(combo) ? BLACK_PEN : WHITE_PEN));
    for (int row = 0; row < 4; ++row) {
        MoveToEx(dc, middleX - 3 + row, middleY + row, nullptr);
        LineTo(dc, middleX + 4 - row, middleY + row);
    }
    EndPaint(combo, &paint);
}

bool ListKey(HWND combo, ComboData& data, WPARAM key) {
    int count = static_cast<int>(data.items.size());
    switch (key) {
    case VK_F4:
        if (data.list != nullptr) CloseComboList(combo, data, true);
        else OpenComboList(combo, data);
        return true;
    case VK_UP:
    case VK_DOWN: {
        if (count == 0) return true;
        int from = data.list != nullptr ? data.hot : data.current;
        int next = std::clamp(from + (key == VK_DOWN ? 1 : -1), 0, count - 1);
        if (from < 0) next = 0;
        if (data.list != nullptr) {
            data.hot = next;
            InvalidateRect(data.list, nullptr, TRUE);
        }
        ChooseComboItem(combo, data, next);
        return true;
    }
    case VK_RETURN:
    case VK_ESCAPE:
        if (data.list == nullptr) return false;
        CloseComboList(combo, data, key == VK_RETURN);
        return true;
    default: return false;
    }
}

LRESULT EditSubclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND combo = GetParent(edit);
    auto data = ComboDataOf(combo);
    if (!data) return DefWindowProcA(edit, message, wParam, lParam);
    if (message == WM_KEYDOWN && ListKey(combo, *data, wParam)) return 0;
    if (message == WM_GETDLGCODE && data->list != nullptr) {
        return CallWindowProcA(data->editProcedure, edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
    }
    if (message == WM_KILLFOCUS && data->list != nullptr && reinterpret_cast<HWND>(wParam) != data->list) {
        CloseComboList(combo, *data, false);
    }
    return CallWindowProcA(data->editProcedure, edit, message, wParam, lParam);
}

void Create(HWND combo, ComboData& data, const CREATESTRUCTA& create) {
    data.droppedHeight = create.cy;
    int height = ComboItemHeight(data) + 6;
    // Scroll bar styles in a template belong to the drop-down list; the box itself shows only
    // its button, so they leave the box's frame.
    auto style = static_cast<DWORD>(GetWindowLongPtrA(combo, GWL_STYLE));
    UINT frame = 0;
    if (style & (WS_VSCROLL | WS_HSCROLL)) {
        SetWindowLongPtrA(combo, GWL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL)));
        frame = SWP_FRAMECHANGED;
    }
    SetWindowPos(combo, nullptr, 0, 0, create.cx, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | frame);
    if (ComboType(combo) == CBS_DROPDOWNLIST) return;
    data.edit = CreateWindowExA(0, WC_EDITA, "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0,
                                std::max(0, create.cx - kComboButtonWidth), height, combo,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboEditId)), create.hInstance, nullptr);
    data.editProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(data.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditSubclass)));
}

LRESULT ItemMessage(HWND combo, ComboData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    int count = static_cast<int>(data.items.size());
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    bool valid = index >= 0 && index < count;
    switch (message) {
    case CB_ADDSTRING: return Insert(combo, data, -1, reinterpret_cast<LPCSTR>(lParam));
    case CB_INSERTSTRING: return Insert(combo, data, index, reinterpret_cast<LPCSTR>(lParam));
    case CB_DELETESTRING:
        if (!valid) return CB_ERR;
        data.items.erase(data.items.begin() + index);
        if (data.current == index) data.current = -1;
        else if (data.current > index) --data.current;
        return static_cast<LRESULT>(data.items.size());
    case CB_GETCOUNT: return count;
    case CB_GETCURSEL: return data.current;
    case CB_SETCURSEL: return SetCurrent(combo, data, index);
    case CB_GETLBTEXT:
        if (!valid || lParam == 0) return CB_ERR;
        std::strcpy(reinterpret_cast<LPSTR>(lParam), data.items[static_cast<std::size_t>(index)].text.c_str());
        return static_cast<LRESULT>(data.items[static_cast<std::size_t>(index)].text.size());
    case CB_GETLBTEXTLEN: return valid ? static_cast<LRESULT>(data.items[static_cast<std::size_t>(index)].text.size()) : CB_ERR;
    case CB_RESETCONTENT:
        data.items.clear();
        data.current = -1;
        return 0;
    case CB_FINDSTRING: return Find(data, index, reinterpret_cast<LPCSTR>(lParam), false);
    case CB_FINDSTRINGEXACT: return Find(data, index, reinterpret_cast<LPCSTR>(lParam), true);
    case CB_SELECTSTRING: {
        int found = Find(data, index, reinterpret_cast<LPCSTR>(lParam), false);
        return found == CB_ERR ? CB_ERR : SetCurrent(combo, data, found);
    }
    case CB_GETITEMDATA: return valid ? data.items[static_cast<std::size_t>(index)].data : CB_ERR;
    case CB_SETITEMDATA:
        if (!valid) return CB_ERR;
        data.items[static_cast<std::size_t>(index)].data = lParam;
        return TRUE;
    default: return DefWindowProcA(combo, message, wParam, lParam);
    }
}

LRESULT ComboProcedure(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    auto data = ComboDataOf(combo);
    if (!data && message != WM_NCCREATE) return DefWindowProcA(combo, message, wParam, lParam);
    switch (message) {
    case WM_NCCREATE:
        SetControlData(combo, std::make_shared<ComboData>());
        return DefWindowProcA(combo, message, wParam, lParam);
    case WM_CREATE: Create(combo, *data, *reinterpret_cast<CREATESTRUCTA*>(lParam)); return 0;
    case WM_SETFONT:
        data->font = reinterpret_cast<HFONT>(wParam);
        if (data->edit != nullptr) SendMessageA(data->edit, WM_SETFONT, wParam, lParam);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(data->font);
    case WM_PAINT: Paint(combo, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT:
        ShowText(combo, *data, reinterpret_cast<LPCSTR>(lParam) != nullptr ? reinterpret_cast<LPCSTR>(lParam) : "");
        return TRUE;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return data->edit != nullptr ? SendMessageA(data->edit, message, wParam, lParam) : DefWindowProcA(combo, message, wParam, lParam);
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == data->edit && HIWORD(wParam) == EN_CHANGE && !data->settingText) {
            DefWindowProcA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WindowText(data->edit).c_str()));
            NotifyParent(combo, CBN_EDITUPDATE);
            NotifyParent(combo, CBN_EDITCHANGE);
        }
        if (reinterpret_cast<HWND>(lParam) == data->edit && HIWORD(wParam) == EN_SETFOCUS) NotifyParent(combo, CBN_SETFOCUS);
        if (reinterpret_cast<HWND>(lParam) == data->edit && HIWORD(wParam) == EN_KILLFOCUS) NotifyParent(combo, CBN_KILLFOCUS);
        return 0;
    case WM_SETFOCUS:
        if (data->edit != nullptr) SetFocus(data->edit);
        return 0;
    case WM_KEYDOWN: ListKey(combo, *data, wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (data->edit == nullptr) SetFocus(combo);
        else if (GetFocus() != data->edit) SetFocus(data->edit);
        if (data->list != nullptr) CloseComboList(combo, *data, false);
        else OpenComboList(combo, *data);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (data->list != nullptr ? DLGC_WANTALLKEYS : 0);
    case WM_ENABLE:
        if (data->edit != nullptr) EnableWindow(data->edit, wParam != 0);
        InvalidateRect(combo, nullptr, TRUE);
        return 0;
    case WM_DESTROY:
        if (data->list != nullptr) CloseComboList(combo, *data, false);
        return 0;
    case CB_SHOWDROPDOWN:
        if (wParam && data->list == nullptr) OpenComboList(combo, *data);
        if (!wParam && data->list != nullptr) CloseComboList(combo, *data, false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return data->list != nullptr;
    case CB_LIMITTEXT: return data->edit != nullptr ? SendMessageA(data->edit, EM_LIMITTEXT, wParam, 0) : 0;
    case CB_GETEDITSEL: return data->edit != nullptr ? SendMessageA(data->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        return data->edit != nullptr ? SendMessageA(data->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                                                    static_cast<short>(HIWORD(lParam)))
                                     : CB_ERR;
    default: return ItemMessage(combo, *data, message, wParam, lParam);
    }
}

} // namespace

void ChooseComboItem(HWND combo, ComboData& data, int index) {
    if (index == data.current) return;
    SetCurrent(combo, data, index);
    NotifyParent(combo, CBN_SELCHANGE);
}

void RegisterComboBoxClass() {
    RegisterSystemClass(WC_COMBOBOXA, ComboProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
    RegisterComboListClass();
}

} // namespace ostrana::detail

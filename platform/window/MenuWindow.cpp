#include "platform/window/MenuWindow.h"
#include "platform/gdi/ScreenSize.h"

#include <algorithm>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/TextLayout.h"
#include "platform/window/Cursor.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 8;
constexpr int kCheckSpace = 20;
constexpr int kArrowSpace = 16;
constexpr int kTabGap = 24;

std::pair<std::string, std::string> SplitAtTab(const std::string& text) {
    std::size_t tab = text.find('\t');
    if (tab == std::string::npos) return {text, ""};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

SIZE MeasureItem(HWND owner, const MenuItem& item, const FontMetric& metric) {
    if (item.type & MF_SEPARATOR) return SIZE{0, kSeparatorHeight};
    if (item.type & MF_OWNERDRAW) {
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, 0, item.data};
        SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        return SIZE{static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
    }
    auto [left, right] = SplitAtTab(item.text);
    int width = kCheckSpace + TextWidth(metric, StripPrefix(left)) + kArrowSpace;
    if (!right.empty()) width += kTabGap + TextWidth(metric, right);
    return SIZE{width, kItemHeight};
}

UINT ItemState(const MenuItem& item, bool hot) {
    UINT state = 0;
    if (hot) state |= ODS_SELECTED;
    if (item.state & MF_GRAYED) state |= ODS_GRAYED;
    if (item.state & MF_DISABLED) state |= ODS_DISABLED;
    if (item.state & MF_CHECKED) state |= ODS_CHECKED;
    if (item.state & MF_DEFAULT) state |= ODS_DEFAULT;
    return state;
}

void PaintTextItem(HDC dc, const MenuItem& item, RECT rect, bool hot) {
    if (hot) FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(!IsEnabled(item) ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    if (item.state & MF_CHECKED) {
        SelectObject(dc, GetStockObject(hot ? WHITE_PEN : BLACK_PEN));
        int y = (rect.top + rect.bottom) / 2;
        MoveToEx(dc, rect.left + 6, y, nullptr);
        LineTo(dc, rect.left + 8, y + 3);
        LineTo(dc, rect.left + 13, y - 3);
    }
    auto [left, right] = SplitAtTab(item.text);
    RECT text{rect.left + kCheckSpace, rect.top, rect.right - kArrowSpace, rect.bottom};
    DrawTextA(dc, left.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (!right.empty()) DrawTextA(dc, right.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.submenu != nullptr) {
        int x = rect.right - 10;
        int y = (rect.top + rect.bottom) / 2;
        for (int row = 0; row < 4; ++row) {
            MoveToEx(dc, x + row, y - 3 + row, nullptr);
            LineTo(dc, x + row, y + 4 - row);
        }
    }
}

void Paint(HWND window, MenuWindowData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    SetBkMode(dc, TRANSPARENT);
    auto menu = MenuOf(data.menu);
    LOGFONTA bold{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    HFONT boldFont = CreateFontIndirectA(&bold);
    for (std::size_t i = 0; menu && i < menu->items.size() && i < data.items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        RECT rect = data.items[i];
        bool hot = static_cast<int>(i) == data.hot;
        if (item.type & MF_SEPARATOR) {
            RECT line{rect.left + 1, (rect.top + rect.bottom) / 2 - 1, rect.right - 1, (rect.top + rect.bottom) / 2 + 1};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        } else if (item.type & MF_OWNERDRAW) {
            DRAWITEMSTRUCT draw{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, ItemState(item, hot), reinterpret_cast<HWND>(data.menu),
                                dc, rect, item.data};
            SendMessageA(data.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        } else {
            SelectObject(dc, (item.state & MF_DEFAULT) ? static_cast<HGDIOBJ>(boldFont) : GetStockObject(DEFAULT_GUI_FONT));
            PaintTextItem(dc, item, rect, hot);
        }
    }
    EndPaint(window, &paint);
    DeleteObject(boldFont);
}

LRESULT MenuProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto data = MenuWindowDataOf(window);
    switch (message) {
    case WM_PAINT:
        if (data) Paint(window, *data);
        else ValidateRect(window, nullptr);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return 3; // MA_NOACTIVATE
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

std::shared_ptr<MenuWindowData> MenuWindowDataOf(HWND window) {
    return WindowClassName(window) == kMenuClass ? ControlDataAs<MenuWindowData>(window) : nullptr;
}

HWND CreateMenuWindow(HMENU menu, HWND owner, POINT at, UINT flags) {
    auto object = MenuOf(menu);
    if (!object) return nullptr;
    auto data = std::make_shared<MenuWindowData>();
    data->menu = menu;
    data->owner = owner;
    FontMetric metric = MetricOf(DefaultGuiFont());
    int width = 100;
    int y = 0;
    std::vector<SIZE> sizes;
    for (const MenuItem& item : object->items) {
        SIZE size = MeasureItem(owner, item, metric);
        width = std::max(width, static_cast<int>(size.cx));
        sizes.push_back(size);
    }
    for (const SIZE& size : sizes) {
        data->items.push_back(RECT{0, y, width, y + size.cy});
        y += size.cy;
    }
    RECT frame = FrameInsets(WS_POPUP | WS_DLGFRAME, 0);
    int outerWidth = width + frame.left + frame.right;
    int outerHeight = y + frame.top + frame.bottom;
    if (flags & TPM_RIGHTALIGN) at.x -= outerWidth;
    else if (flags & TPM_CENTERALIGN) at.x -= outerWidth / 2;
    if (flags & TPM_BOTTOMALIGN) at.y -= outerHeight;
    else if (flags & TPM_VCENTERALIGN) at.y -= outerHeight / 2;
    SIZE screen = ScreenSize();
    at.x = std::clamp<LONG>(at.x, 0, std::max<LONG>(0, screen.cx - outerWidth));
    at.y = std::clamp<LONG>(at.y, 0, std::max<LONG>(0, screen.cy - outerHeight));
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuClass, "", WS_POPUP | WS_DLGFRAME, at.x, at.y,
                                  outerWidth, outerHeight, nullptr, nullptr, nullptr, nullptr);
    if (window != nullptr) SetControlData(window, data);
    return window;
}

int MenuItemAt(const MenuWindowData& data, POINT client) {
    for (std::size_t i = 0; i < data.items.size(); ++i) {
        if (PtInRect(&data.items[i], client)) return static_cast<int>(i);
    }
    return -1;
}

void SetMenuHot(HWND window, int item) {
    auto data = MenuWindowDataOf(window);
    if (!data || data->hot == item) return;
    data->hot = item;
    InvalidateRect(window, nullptr, TRUE);
}

void RegisterMenuClass() {
    RegisterSystemClass(kMenuClass, MenuProcedure, CS_SAVEBITS | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

} // namespace ostrana::detail

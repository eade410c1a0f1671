// The frame's layout, WM_NCCALCSIZE, WM_NCHITTEST and WM_NCPAINT. A window without border,
// caption or scroll bar has no frame: it gets no WM_NCPAINT and its non-client picture stays empty.
#include "platform/window/NonClient.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Controls.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana {

RECT NonClientInsets(DWORD style, DWORD exStyle) {
    RECT insets = FrameInsets(style, exStyle);
    if (style & WS_VSCROLL) insets.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return insets;
}

DisplayList WindowNonClientPicture(HWND handle) {
    detail::Lock lock = detail::LockSystem();
    auto window = detail::Find(handle);
    return window ? *window->nonClientPicture : DisplayList{};
}

} // namespace ostrana

namespace ostrana::detail {
namespace {

constexpr DWORD kClientEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
constexpr int kCloseWidth = 16;

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

bool HasFrame(const WindowObject& window) {
    RECT insets = window.nonClient.insets;
    return insets.left != 0 || insets.top != 0 || insets.right != 0 || insets.bottom != 0;
}

RECT WindowRectOnScreen(const WindowObject& window) {
    RECT rect = window.rect;
    if (auto parent = Find(window.parent)) {
        POINT origin = ClientOriginOnScreen(*parent);
        OffsetRect(&rect, origin.x, origin.y);
    }
    return rect;
}

bool IsActiveCaption(const WindowObject& window) {
    auto queue = QueueOf(Sys().foreground);
    return queue && queue->active == window.handle;
}

struct FramePaint {
    FrameLayout layout;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool active = false;
    std::string text;
    NonClientState state;
};

void PaintBorders(HDC dc, const FramePaint& frame) {
    RECT outer = frame.layout.window;
    DWORD style = frame.style;
    bool dialogFrame = HasCaption(style) || (style & (WS_DLGFRAME | WS_THICKFRAME)) || (frame.exStyle & WS_EX_DLGMODALFRAME);
    if (dialogFrame) {
        DrawEdge(dc, &outer, EDGE_RAISED, BF_RECT);
        int band = (style & WS_THICKFRAME) ? 2 : 1;
        for (int ring = 0; ring < band; ++ring) {
            RECT inner = outer;
            InflateRect(&inner, -2 - ring, -2 - ring);
            FrameRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
        }
    } else if (style & WS_BORDER) {
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    if (!(frame.exStyle & kClientEdges)) return;
    RECT plain = FrameInsets(style, frame.exStyle & ~kClientEdges);
    RECT edge{plain.left, plain.top, outer.right - plain.right, outer.bottom - plain.bottom};
    if (frame.exStyle & WS_EX_CLIENTEDGE) {
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
        InflateRect(&edge, -2, -2);
    }
    if (frame.exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

void PaintCaption(HDC dc, const FramePaint& frame) {
    RECT caption = frame.layout.caption;
    if (IsRectEmpty(&caption)) return;
    FillRect(dc, &caption, GetSysColorBrush(frame.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    RECT separator{caption.left, caption.bottom, caption.right, caption.bottom + 1};
    FillRect(dc, &separator, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(frame.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT text{caption.left + 4, caption.top, caption.right - 4, caption.bottom};
    if (!IsRectEmpty(&frame.layout.close)) text.right = frame.layout.close.left - 2;
    DrawTextA(dc, frame.text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, font);
    RECT close = frame.layout.close;
    if (IsRectEmpty(&close)) return;
    FillRect(dc, &close, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &close, frame.state.closePressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    int middleX = (close.left + close.right) / 2;
    int middleY = (close.top + close.bottom) / 2;
    for (int shift = 0; shift < 2; ++shift) {
        MoveToEx(dc, middleX - 4 + shift, middleY - 3, nullptr);
        LineTo(dc, middleX + 3 + shift, middleY + 4);
        MoveToEx(dc, middleX + 2 + shift, middleY - 3, nullptr);
        LineTo(dc, middleX - 5 + shift, middleY + 4);
    }
}

void PaintScrollBars(HDC dc, const FramePaint& frame) {
    const NonClientState& state = frame.state;
    auto pressed = [&](int bar) { return state.pressedBar == bar ? state.pressedPart : ScrollPart::None; };
    if (!IsRectEmpty(&frame.layout.vertical)) DrawScrollBar(dc, frame.layout.vertical, true, state.bars[SB_VERT], pressed(SB_VERT));
    if (!IsRectEmpty(&frame.layout.horizontal)) {
        DrawScrollBar(dc, frame.layout.horizontal, false, state.bars[SB_HORZ], pressed(SB_HORZ));
    }
    if (!IsRectEmpty(&frame.layout.corner)) FillRect(dc, &frame.layout.corner, GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace

FrameLayout FrameLayoutOf(const WindowObject& window) {
    FrameLayout layout;
    layout.window = RECT{0, 0, Width(window.rect), Height(window.rect)};
    RECT insets = window.nonClient.insets;
    layout.client = RECT{insets.left, insets.top, std::max(insets.left, layout.window.right - insets.right),
                         std::max(insets.top, layout.window.bottom - insets.bottom)};
    if (window.style & WS_VSCROLL) {
        layout.vertical = RECT{layout.client.right, layout.client.top, layout.client.right + GetSystemMetrics(SM_CXVSCROLL),
                               layout.client.bottom};
    }
    if (window.style & WS_HSCROLL) {
        layout.horizontal = RECT{layout.client.left, layout.client.bottom, layout.client.right,
                                 layout.client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    }
    if ((window.style & WS_VSCROLL) && (window.style & WS_HSCROLL)) {
        layout.corner = RECT{layout.vertical.left, layout.horizontal.top, layout.vertical.right, layout.horizontal.bottom};
    }
    if (HasCaption(window.style)) {
        RECT plain = FrameInsets(window.style, window.exStyle & ~kClientEdges);
        int edge = plain.left;
        layout.caption = RECT{edge, edge, layout.window.right - edge, plain.top - 1};
        if (window.style & WS_SYSMENU) {
            RECT& caption = layout.caption;
            layout.close = RECT{caption.right - 2 - kCloseWidth, caption.top + 2, caption.right - 2, caption.bottom - 1};
        }
    }
    return layout;
}

void RecalcFrame(HWND handle) {
    NCCALCSIZE_PARAMS params{};
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return;
        params.rgrc[0] = window->rect;
    }
    RECT proposed = params.rgrc[0];
    SendMessageA(handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return;
    RECT answer = params.rgrc[0];
    window->nonClient.insets = RECT{std::max<LONG>(0, answer.left - proposed.left), std::max<LONG>(0, answer.top - proposed.top),
                                    std::max<LONG>(0, proposed.right - answer.right),
                                    std::max<LONG>(0, proposed.bottom - answer.bottom)};
    window->nonClient.dirty = true;
}

void RedrawFrame(HWND handle) {
    bool paintNow = false;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return;
        window->nonClient.dirty = true;
        paintNow = VisibleLocked(*window) && (HasFrame(*window) || !window->nonClientPicture->empty());
        if (paintNow) window->nonClient.dirty = false;
    }
    if (paintNow) SendMessageA(handle, WM_NCPAINT, 1, 0);
}

void PaintFrameIfDirty(HWND handle) {
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window || !window->nonClient.dirty) return;
        window->nonClient.dirty = false;
        if (!HasFrame(*window) && window->nonClientPicture->empty()) return;
    }
    SendMessageA(handle, WM_NCPAINT, 1, 0);
}

LRESULT DefaultNcCalcSize(HWND handle, WPARAM, LPARAM lParam) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    if (params == nullptr) return 0;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(handle, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(handle, GWL_EXSTYLE));
    RECT insets = NonClientInsets(style, exStyle);
    RECT& rect = params->rgrc[0];
    rect.left += insets.left;
    rect.top += insets.top;
    rect.right = std::max(rect.left, rect.right - insets.right);
    rect.bottom = std::max(rect.top, rect.bottom - insets.bottom);
    return 0;
}

LRESULT DefaultNcHitTest(HWND handle, POINT screen) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return HTNOWHERE;
    RECT onScreen = WindowRectOnScreen(*window);
    POINT point{screen.x - onScreen.left, screen.y - onScreen.top};
    FrameLayout layout = FrameLayoutOf(*window);
    if (!PtInRect(&layout.window, point)) return HTNOWHERE;
    if (PtInRect(&layout.client, point)) return HTCLIENT;
    if (PtInRect(&layout.vertical, point)) return HTVSCROLL;
    if (PtInRect(&layout.horizontal, point)) return HTHSCROLL;
    if (PtInRect(&layout.close, point)) return HTCLOSE;
    if (PtInRect(&layout.caption, point)) return HTCAPTION;
    return HTBORDER;
}

void DefaultNcPaint(HWND handle) {
    FramePaint frame;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return;
        window->nonClient.dirty = false;
        if (!HasFrame(*window)) {
            bool had = !window->nonClientPicture->empty();
            window->nonClientPicture = std::make_shared<DisplayList>();
            lock.unlock();
            if (had) NotifyPicture(handle);
            return;
        }
        frame.layout = FrameLayoutOf(*window);
        frame.style = window->style;
        frame.exStyle = window->exStyle;
        frame.active = IsActiveCaption(*window);
        frame.text = window->text;
        frame.state = window->nonClient;
    }
    HDC dc = CreateRecordingDC(handle);
    PaintBorders(dc, frame);
    PaintCaption(dc, frame);
    PaintScrollBars(dc, frame);
    auto list = RecordedList(dc);
    DeleteDC(dc);
    if (!list) return;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return;
        window->nonClientPicture = list;
    }
    NotifyPicture(handle);
}

} // namespace ostrana::detail

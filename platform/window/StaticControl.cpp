// The static control: text, bitmap, icon, frames, rectangles and etched lines; SS_NOTIFY clicks.
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Cursor.h"
#include "platform/window/ControlCommon.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

struct StaticData : ControlBase {
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
};

UINT TextFormat(DWORD style) {
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format = DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format = DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: format = DT_LEFT | DT_EXPANDTABS; break;
    default: format = DT_LEFT | DT_WORDBREAK; break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
    return format;
}

void PaintFigure(HDC dc, const RECT& client, DWORD type) {
    RECT rect = client;
    switch (type) {
    case SS_ETCHEDHORZ: DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: DrawEdge(dc, &rect, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT); return;
    case SS_BLACKRECT: FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYRECT: FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW)); return;
    case SS_BLACKFRAME: FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYFRAME: FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITEFRAME: FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW)); return;
    default: return;
    }
}

void Paint(HWND window, StaticData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    DWORD type = style & SS_TYPEMASK;
    if (type == SS_OWNERDRAW) {
        DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(GetDlgCtrlID(window)), 0, ODA_DRAWENTIRE,
                            IsWindowEnabled(window) ? 0u : static_cast<UINT>(ODS_DISABLED), window, dc, client, 0};
        SendMessageA(GetParent(window), WM_DRAWITEM, static_cast<WPARAM>(item.CtlID), reinterpret_cast<LPARAM>(&item));
    } else if (type == SS_BITMAP || type == SS_ICON) {
        HBRUSH brush = ControlColors(window, dc, WM_CTLCOLORSTATIC);
        if (brush != nullptr) FillRect(dc, &client, brush);
        if (type == SS_BITMAP && data.bitmap != nullptr) {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(data.bitmap), 0, 0, 0, 0, 0, DST_BITMAP);
        } else if (type == SS_ICON && data.icon != nullptr) {
            DrawIcon(dc, 0, 0, data.icon);
        }
    } else if (type >= SS_BLACKRECT && type <= SS_WHITEFRAME) {
        PaintFigure(dc, client, type);
    } else if (type >= SS_ETCHEDHORZ && type <= SS_ETCHEDFRAME) {
        PaintFigure(dc, client, type);
    } else {
        HBRUSH brush = ControlColors(window, dc, WM_CTLCOLORSTATIC);
        if (brush != nullptr) FillRect(dc, &client, brush);
        SelectControlFont(dc, data);
        SetBkMode(dc, TRANSPARENT);
        if (!IsWindowEnabled(window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        std::string text = WindowText(window);
        DrawTextA(dc, text.c_str(), -1, &client, TextFormat(style));
    }
    EndPaint(window, &paint);
}

// A bitmap static takes the size of its bitmap, so a dialog's units never cut off or stretch the
// picture; SS_CENTERIMAGE and SS_REALSIZECONTROL keep the size the template gave.
void SizeToBitmap(HWND window, HBITMAP bitmap) {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    BITMAP info{};
    if (bitmap == nullptr || (style & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) != 0 ||
        GetObjectA(bitmap, sizeof info, &info) == 0)
        return;
    SetWindowPos(window, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LoadImageOf(HWND window, StaticData& data) {
    DWORD type = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & SS_TYPEMASK;
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    std::string storage;
    LPCSTR name = ImageName(WindowText(window), storage);
    if (type == SS_BITMAP && instance != nullptr) {
        data.bitmap = LoadBitmapA(instance, name);
        SizeToBitmap(window, data.bitmap);
    }
    if (type == SS_ICON && instance != nullptr) data.icon = LoadIconA(instance, name);
}

LRESULT StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto data = ControlDataAs<StaticData>(window);
    if (!data && message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    if (data && HandleFontMessage(window, *data, message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_NCCREATE: {
        SetControlData(window, std::make_shared<StaticData>());
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_CREATE: LoadImageOf(window, *data); return 0;
    case WM_PAINT: Paint(window, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT:
        result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    case WM_ENABLE: InvalidateRect(window, nullptr, TRUE); return 0;
    case STM_SETIMAGE:
    case STM_SETICON: {
        bool icon = message == STM_SETICON || wParam == IMAGE_ICON;
        HANDLE previous = icon ? static_cast<HANDLE>(data->icon) : static_cast<HANDLE>(data->bitmap);
        HANDLE image = reinterpret_cast<HANDLE>(message == STM_SETICON ? static_cast<LPARAM>(wParam) : lParam);
        if (icon) data->icon = static_cast<HICON>(image);
        else {
            data->bitmap = static_cast<HBITMAP>(image);
            if ((GetWindowLongPtrA(window, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) SizeToBitmap(window, data->bitmap);
        }
        InvalidateRect(window, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(wParam == IMAGE_ICON ? static_cast<HANDLE>(data->icon) : static_cast<HANDLE>(data->bitmap));
    case STM_GETICON: return reinterpret_cast<LRESULT>(data->icon);
    case WM_LBUTTONDOWN:
        if (GetWindowLongPtrA(window, GWL_STYLE) & SS_NOTIFY) NotifyParent(window, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (GetWindowLongPtrA(window, GWL_STYLE) & SS_NOTIFY) NotifyParent(window, STN_DBLCLK);
        return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass() {
    RegisterSystemClass(WC_STATICA, StaticProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

void RegisterWebViewClass() {
    RegisterSystemClass(WC_WEBVIEWA, StaticProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

} // namespace ostrana::detail

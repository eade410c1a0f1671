#include "platform/controls/ControlSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/VirtualKeys.h"

namespace ostrana::detail {

LRESULT SendNotify(HWND control, UINT code, NMHDR* record) {
    record->hwndFrom = control;
    record->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    record->code = code;
    HWND parent = GetParent(control);
    if (parent == nullptr) return 0;
    return SendMessageA(parent, WM_NOTIFY, record->idFrom, reinterpret_cast<LPARAM>(record));
}

FontInfo ControlFont(HFONT font) {
    if (font != nullptr) {
        if (auto info = FontOf(font)) return *info;
    }
    return DefaultGuiFont();
}

void SelectFont(HDC dc, HFONT font) {
    SelectObject(dc, font != nullptr && FontOf(font) ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
}

bool BeyondDragDistance(POINT down, POINT now) {
    return std::abs(now.x - down.x) > GetSystemMetrics(SM_CXDRAG) || std::abs(now.y - down.y) > GetSystemMetrics(SM_CYDRAG);
}

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }
bool ControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

void CopyToBuffer(const std::string& text, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) return;
    std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
}

namespace {

constexpr const char* kOwnerProperty = "OstranaLabelEditOwner";
constexpr const char* kEndedProperty = "OstranaLabelEditEnded";
constexpr const char* kProcedureProperty = "OstranaLabelEditProcedure";

void EndEdit(HWND edit, bool accept) {
    HWND owner = static_cast<HWND>(GetPropA(edit, kOwnerProperty));
    UINT ended = static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropA(edit, kEndedProperty)));
    if (owner == nullptr) return;
    // Only the first ending counts: losing the focus while the owner tears the box down is not a second one.
    RemovePropA(edit, kOwnerProperty);
    SendMessageA(owner, ended, accept ? 1 : 0, reinterpret_cast<LPARAM>(edit));
}

LRESULT LabelEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kProcedureProperty));
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CallWindowProcA(previous, edit, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            EndEdit(edit, wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 0x1B) return 0;
        break;
    case WM_KILLFOCUS: {
        LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
        EndEdit(edit, true);
        return result;
    }
    case WM_NCDESTROY:
        RemovePropA(edit, kOwnerProperty);
        RemovePropA(edit, kEndedProperty);
        RemovePropA(edit, kProcedureProperty);
        break;
    default: break;
    }
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}

} // namespace

HWND CreateLabelEdit(HWND owner, const RECT& rect, const std::string& text, HFONT font, UINT ended) {
    HWND edit = CreateWindowExA(0, WC_EDITA, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
    if (edit == nullptr) return nullptr;
    if (font != nullptr) SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SetPropA(edit, kOwnerProperty, owner);
    SetPropA(edit, kEndedProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(ended)));
    auto previous = SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelEditProcedure));
    SetPropA(edit, kProcedureProperty, reinterpret_cast<HANDLE>(previous));
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return edit;
}

} // namespace ostrana::detail

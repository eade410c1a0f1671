// The edit control's messages: typing through WM_CHAR (double-byte characters arrive as two),
// editing keys with Shift selection, the clipboard, the caret while focused, the EM_ messages and
// the EN_ notifications. A password edit never puts its text on the clipboard.
#include "platform/window/EditControl.h"

#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Cursor.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

DWORD StyleOf(HWND edit) { return static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE)); }

void Changed(HWND edit, EditData& data) {
    data.modified = true;
    DefWindowProcA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(data.model.Text().c_str()));
    InvalidateRect(edit, nullptr, TRUE);
    NotifyParent(edit, EN_UPDATE);
    NotifyParent(edit, EN_CHANGE);
}

void Insert(HWND edit, EditData& data, std::string_view text) {
    if (StyleOf(edit) & ES_READONLY) return;
    if (data.model.ReplaceSelection(text)) Changed(edit, data);
    else NotifyParent(edit, EN_MAXTEXT);
}

bool MayCopy(HWND edit, const EditData& data) {
    auto [first, second] = data.model.Selection();
    return first != second && data.passwordChar == 0 && !(StyleOf(edit) & ES_PASSWORD);
}

void Copy(HWND edit, const EditData& data) {
    if (!MayCopy(edit, data)) return;
    auto [first, second] = data.model.Selection();
    CopyTextToClipboard(edit, std::string_view(data.model.Text()).substr(first, second - first));
}

void Clear(HWND edit, EditData& data) {
    auto [first, second] = data.model.Selection();
    if (first == second || (StyleOf(edit) & ES_READONLY)) return;
    if (data.model.ReplaceSelection("")) Changed(edit, data);
}

void Cut(HWND edit, EditData& data) {
    if (!MayCopy(edit, data) || (StyleOf(edit) & ES_READONLY)) return;
    Copy(edit, data);
    Clear(edit, data);
}

// A single-line edit takes the pasted text up to its first line break.
void Paste(HWND edit, EditData& data) {
    if (StyleOf(edit) & ES_READONLY) return;
    std::string text;
    if (!PasteTextFromClipboard(edit, text) || text.empty()) return;
    if (!(StyleOf(edit) & ES_MULTILINE)) text = text.substr(0, text.find_first_of("\r\n"));
    Insert(edit, data, text);
}

void PlaceCaret(HWND edit, const EditData& data) {
    if (!data.focused) return;
    POINT point = EditCaretPoint(edit, data);
    SetCaretPos(point.x, point.y);
}

void TakeFocus(HWND edit, EditData& data, bool focused) {
    data.focused = focused;
    data.pendingLead = 0;
    if (focused) {
        CreateCaret(edit, nullptr, 1, EditMetric(data).height);
        PlaceCaret(edit, data);
        ShowCaret(edit);
    } else {
        DestroyCaret();
    }
    InvalidateRect(edit, nullptr, TRUE);
    NotifyParent(edit, focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE && GetACP() != CP_UTF8; }

void TypeCharacter(HWND edit, EditData& data, unsigned char c) {
    DWORD style = StyleOf(edit);
    if (data.pendingLead != 0) {
        char pair[2] = {data.pendingLead, static_cast<char>(c)};
        data.pendingLead = 0;
        Insert(edit, data, std::string_view(pair, 2));
        return;
    }
    if (c == '\b') {
        if (!(style & ES_READONLY) && data.model.Backspace()) Changed(edit, data);
        return;
    }
    switch (c) {
    case 1: // Ctrl+A
        data.model.Select(0, -1);
        InvalidateRect(edit, nullptr, TRUE);
        return;
    case 3: SendMessageA(edit, WM_COPY, 0, 0); return;   // Ctrl+C
    case 0x16: SendMessageA(edit, WM_PASTE, 0, 0); return; // Ctrl+V
    case 0x18: SendMessageA(edit, WM_CUT, 0, 0); return;   // Ctrl+X
    default: break;
    }
    if (c == '\r') {
        if (style & ES_MULTILINE) Insert(edit, data, "\r\n");
        return;
    }
    if (c < 0x20) return;
    if (IsLeadByte(c)) {
        data.pendingLead = static_cast<char>(c);
        return;
    }
    char one = static_cast<char>((style & ES_UPPERCASE) ? std::toupper(c) : (style & ES_LOWERCASE) ? std::tolower(c) : c);
    if ((style & ES_NUMBER) && (one < '0' || one > '9')) return;
    Insert(edit, data, std::string_view(&one, 1));
}

void PressKey(HWND edit, EditData& data, WPARAM key) {
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (key) {
    case VK_LEFT: data.model.Move(CaretMove::Left, shift); break;
    case VK_RIGHT: data.model.Move(CaretMove::Right, shift); break;
    case VK_UP: data.model.Move(CaretMove::Up, shift); break;
    case VK_DOWN: data.model.Move(CaretMove::Down, shift); break;
    case VK_HOME: data.model.Move(control ? CaretMove::DocumentStart : CaretMove::Home, shift); break;
    case VK_END: data.model.Move(control ? CaretMove::DocumentEnd : CaretMove::End, shift); break;
    case VK_DELETE:
        if (shift) SendMessageA(edit, WM_CUT, 0, 0);
        else if (!(StyleOf(edit) & ES_READONLY) && data.model.DeleteForward()) Changed(edit, data);
        return;
    case VK_INSERT:
        if (control) SendMessageA(edit, WM_COPY, 0, 0);
        else if (shift) SendMessageA(edit, WM_PASTE, 0, 0);
        return;
    default: return;
    }
    InvalidateRect(edit, nullptr, TRUE);
}

LRESULT DialogCode(HWND edit) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    DWORD style = StyleOf(edit);
    if ((style & ES_MULTILINE) && (style & ES_WANTRETURN) && !(style & ES_READONLY)) code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT GetLine(EditData& data, WPARAM line, LPSTR buffer) {
    if (buffer == nullptr) return 0;
    WORD size = 0;
    std::memcpy(&size, buffer, sizeof size);
    std::size_t start = data.model.LineIndex(line);
    std::size_t length = std::min<std::size_t>(data.model.LineLength(start), size);
    std::memcpy(buffer, data.model.Text().data() + start, length);
    return static_cast<LRESULT>(length);
}

LRESULT EditMessage(HWND edit, EditData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_GETSEL: {
        auto [first, second] = data.model.Selection();
        if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(first);
        if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(second);
        return MAKELRESULT(first, second);
    }
    case EM_SETSEL:
        data.model.Select(static_cast<long>(static_cast<INT_PTR>(wParam)), static_cast<long>(lParam));
        InvalidateRect(edit, nullptr, TRUE);
        return 0;
    case EM_REPLACESEL: Insert(edit, data, reinterpret_cast<LPCSTR>(lParam) != nullptr ? reinterpret_cast<LPCSTR>(lParam) : ""); return 0;
    case EM_SETREADONLY: {
        LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
        SetWindowLongPtrA(edit, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~static_cast<LONG_PTR>(ES_READONLY)));
        InvalidateRect(edit, nullptr, TRUE);
        return TRUE;
    }
    case EM_LIMITTEXT: data.model.SetLimit(wParam == 0 ? 0x7FFFFFFE : wParam); return 0;
    case EM_SETPASSWORDCHAR:
        data.passwordChar = static_cast<char>(wParam);
        InvalidateRect(edit, nullptr, TRUE);
        return 0;
    case EM_GETPASSWORDCHAR: return static_cast<unsigned char>(data.passwordChar);
    case EM_GETLINECOUNT: return static_cast<LRESULT>(data.model.LineCount());
    case EM_LINEINDEX: {
        std::size_t line = static_cast<INT_PTR>(wParam) < 0 ? data.model.LineOf(data.model.Caret()) : wParam;
        return line < data.model.LineCount() ? static_cast<LRESULT>(data.model.LineIndex(line)) : -1;
    }
    case EM_LINELENGTH: return static_cast<LRESULT>(data.model.LineLength(wParam));
    case EM_GETLINE: return GetLine(data, wParam, reinterpret_cast<LPSTR>(lParam));
    case EM_GETMODIFY: return data.modified;
    case EM_SETMODIFY: data.modified = wParam != 0; return 0;
    case EM_SCROLLCARET: return TRUE;
    case WM_COPY: Copy(edit, data); return 0;
    case WM_CUT: Cut(edit, data); return 0;
    case WM_PASTE: Paste(edit, data); return 0;
    case WM_CLEAR: Clear(edit, data); return 0;
    default: return DefWindowProcA(edit, message, wParam, lParam);
    }
}

LRESULT HandleEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto data = ControlDataAs<EditData>(edit);
    if (!data && message != WM_NCCREATE) return DefWindowProcA(edit, message, wParam, lParam);
    LRESULT result = 0;
    if (data && HandleFontMessage(edit, *data, message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_NCCREATE: {
        auto created = std::make_shared<EditData>();
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        created->model.SetMultiline((create->style & ES_MULTILINE) != 0);
        created->model.SetText(create->lpszName != nullptr ? create->lpszName : "");
        if (create->style & ES_PASSWORD) created->passwordChar = '*';
        SetControlData(edit, created);
        return DefWindowProcA(edit, message, wParam, lParam);
    }
    case WM_PAINT: PaintEdit(edit, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT:
        data->model.SetText(reinterpret_cast<LPCSTR>(lParam) != nullptr ? reinterpret_cast<LPCSTR>(lParam) : "");
        data->modified = false;
        DefWindowProcA(edit, message, wParam, lParam);
        InvalidateRect(edit, nullptr, TRUE);
        NotifyParent(edit, EN_CHANGE);
        return TRUE;
    case WM_CHAR: TypeCharacter(edit, *data, static_cast<unsigned char>(wParam)); return 0;
    case WM_KEYDOWN: PressKey(edit, *data, wParam); return 0;
    case WM_LBUTTONDOWN: {
        if (GetFocus() != edit) SetFocus(edit);
        std::size_t offset = EditOffsetAt(edit, *data, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        data->model.Select(static_cast<long>(offset), static_cast<long>(offset));
        InvalidateRect(edit, nullptr, TRUE);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: TakeFocus(edit, *data, message == WM_SETFOCUS); return 0;
    case WM_ENABLE: InvalidateRect(edit, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DialogCode(edit);
    default: return EditMessage(edit, *data, message, wParam, lParam);
    }
}

// Messages after which the caret may stand elsewhere.
bool MovesCaret(UINT message) {
    switch (message) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_SETTEXT:
    case WM_SIZE:
    case WM_SETFONT:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR: return true;
    default: return false;
    }
}

LRESULT EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = HandleEditMessage(edit, message, wParam, lParam);
    if (MovesCaret(message)) {
        if (auto data = ControlDataAs<EditData>(edit)) PlaceCaret(edit, *data);
    }
    return result;
}

} // namespace

void RegisterEditClass() {
    RegisterSystemClass(WC_EDITA, EditProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), nullptr);
}

} // namespace ostrana::detail

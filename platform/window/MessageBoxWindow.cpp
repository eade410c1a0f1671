#include "platform/window/MessageBoxWindow.h"

#include <algorithm>

#include "platform/base/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/TextLayout.h"
#include "platform/window/Focus.h"

namespace ostrana {
namespace {

constexpr int kIconId = 20;
constexpr int kTextId = -1;
constexpr int kMaxTextWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kGap = 6;
constexpr int kMargin = 12;

std::string ButtonText(int id) {
    const char* utf8 = "확인";
    switch (id) {
    case IDCANCEL: utf8 = "취소"; break;
    case IDABORT: utf8 = "중단(&A)"; break;
    case IDRETRY: utf8 = "다시 시도(&R)"; break;
    case IDIGNORE: utf8 = "무시(&I)"; break;
    case IDYES: utf8 = "예(&Y)"; break;
    case IDNO: utf8 = "아니요(&N)"; break;
    default: break;
    }
    return Utf8ToAnsi(utf8);
}

LPCSTR SystemIcon(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

// Dialog units of the 6 by 12 base: pixels * 4 / 6 across, pixels * 8 / 12 down.
short UnitsX(int pixels) { return static_cast<short>((pixels * 4 + 5) / 6); }
short UnitsY(int pixels) { return static_cast<short>((pixels * 8 + 11) / 12); }

INT_PTR BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto type = static_cast<UINT>(lParam);
        if (LPCSTR icon = SystemIcon(type)) SendDlgItemMessageA(box, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon)), 0);
        std::vector<int> buttons = MessageBoxButtons(type);
        std::size_t index = std::min<std::size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1);
        SetFocus(GetDlgItem(box, buttons[index]));
        SetWindowLongPtrA(box, DWLP_USER, static_cast<LONG_PTR>(type));
        return FALSE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        auto type = static_cast<UINT>(GetWindowLongPtrA(box, DWLP_USER));
        std::vector<int> buttons = MessageBoxButtons(type);
        int id = LOWORD(wParam);
        if (id == IDCANCEL && std::find(buttons.begin(), buttons.end(), IDCANCEL) == buttons.end()) {
            // Escape or the close box: a lone OK button answers for it; a Yes/No question must be answered.
            if (buttons.size() != 1) return TRUE;
            id = buttons.front();
        }
        if (std::find(buttons.begin(), buttons.end(), id) != buttons.end()) EndDialog(box, id);
        return TRUE;
    }
    return FALSE;
}

} // namespace

DialogTemplate MessageBoxTemplate(const MessageBoxRequest& request) {
    FontMetric metric = MetricOf(DefaultGuiFont());
    bool icon = SystemIcon(request.type) != nullptr;
    TextLayout text = LayoutText(request.text, RECT{0, 0, kMaxTextWidth, 10000}, DT_WORDBREAK | DT_NOPREFIX, metric);
    int textLeft = kMargin + (icon ? 32 + kMargin : 0);
    int textTop = kMargin + (icon && text.height < 32 ? (32 - text.height) / 2 : 0);
    std::vector<int> buttons = MessageBoxButtons(request.type);
    int buttonsWidth = static_cast<int>(buttons.size()) * kButtonWidth + static_cast<int>(buttons.size() - 1) * kGap;
    int width = std::max({textLeft + text.width + kMargin, buttonsWidth + 2 * kMargin, 120});
    int contentBottom = std::max(textTop + text.height, icon ? kMargin + 32 : 0);
    int buttonTop = contentBottom + kMargin + 4;
    int height = buttonTop + kButtonHeight + kMargin - 2;

    DialogTemplate dialog;
    dialog.caption = request.caption;
    dialog.style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.exStyle = (request.type & MB_TOPMOST) ? WS_EX_TOPMOST : 0;
    dialog.cx = UnitsX(width);
    dialog.cy = UnitsY(height);
    dialog.font = Utf8ToAnsi("굴림");
    dialog.pointSize = 9;
    if (icon) {
        dialog.items.push_back(DialogItemTemplate{"Static", "", kIconId, WS_CHILD | WS_VISIBLE | SS_ICON, 0,
                                                  UnitsX(kMargin), UnitsY(kMargin), UnitsX(32), UnitsY(32)});
    }
    dialog.items.push_back(DialogItemTemplate{"Static", request.text, kTextId, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                                              UnitsX(textLeft), UnitsY(textTop), UnitsX(text.width + 6), UnitsY(text.height)});
    std::size_t defaultIndex = std::min<std::size_t>((request.type & MB_DEFMASK) >> 8, buttons.size() - 1);
    int x = (width - buttonsWidth) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (i == 0) style |= WS_GROUP;
        dialog.items.push_back(DialogItemTemplate{"Button", ButtonText(buttons[i]), buttons[i], style, 0, UnitsX(x),
                                                  UnitsY(buttonTop), UnitsX(kButtonWidth), UnitsY(kButtonHeight)});
        x += kButtonWidth + kGap;
    }
    return dialog;
}

int WindowMessageBoxPresenter::Present(const MessageBoxRequest& request) {
    DialogTemplate dialog = MessageBoxTemplate(request);
    HWND owner = IsWindow(request.owner) ? request.owner : nullptr;
    INT_PTR result = DialogBoxIndirectParamA(nullptr, &dialog, owner, BoxProcedure, static_cast<LPARAM>(request.type));
    return result > 0 ? static_cast<int>(result) : DefaultButtonOf(request.type);
}

} // namespace ostrana

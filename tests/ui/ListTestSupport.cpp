#include "tests/ui/ListTestSupport.h"

#include <cstring>

#include "tests/support/WindowHarness.h"

namespace ostrana::test {

namespace {
constexpr const char* kParentClass = "ToolkitTestParent";
}

RecordingParent::RecordingParent(RECT screen) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.lpszClassName = kParentClass;
    RegisterClassA(&windowClass);
    CreateEx(0, kParentClass, "", WS_POPUP | WS_VISIBLE, screen.left, screen.top, screen.right - screen.left,
             screen.bottom - screen.top, nullptr, nullptr);
}

std::vector<std::string> RecordingParent::Take() {
    std::vector<std::string> taken;
    taken.swap(m_record);
    return taken;
}

LRESULT RecordingParent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP) {
        m_record.push_back("parent " + MessageName(message));
        return answer ? answer(message, wParam, lParam) : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL RecordingList::GetDispInfo(LVITEMA* item) {
    if (dynamic_cast<CUIStrListCtrlData*>(reinterpret_cast<CUIListCtrlData*>(item->lParam)) != nullptr) {
        return CUIODListCtrl::GetDispInfo(item);
    }
    if ((item->mask & LVIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
        auto* data = reinterpret_cast<CUIListCtrlData*>(item->lParam);
        std::string text = "data" + std::to_string(data != nullptr ? data->GetExtData() : 0) + "/" + std::to_string(item->iSubItem);
        std::strncpy(item->pszText, text.c_str(), static_cast<std::size_t>(item->cchTextMax - 1));
        item->pszText[item->cchTextMax - 1] = '\0';
    }
    return TRUE;
}

bool CreateList(CUIODListCtrl& list, CWnd& parent, DWORD style) {
    return list.Create(WS_CHILD | WS_VISIBLE | LVS_SHOWSELALWAYS | style, RECT{0, 0, 300, 200}, &parent, 7) != FALSE;
}

POINT HeaderPoint(int column) { return POINT{kParentRect.left + column * 100 + 50, kParentRect.top + kHeaderHeight / 2}; }

} // namespace ostrana::test

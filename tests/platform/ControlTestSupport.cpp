#include "tests/platform/ControlTestSupport.h"

#include <algorithm>
#include <map>

#include "platform/window/WindowGeometry.h"

namespace ostrana::test {

std::string NotifyName(UINT code) {
    static const std::map<UINT, const char*> names = {
        {NM_CLICK, "NM_CLICK"}, {NM_DBLCLK, "NM_DBLCLK"}, {NM_RETURN, "NM_RETURN"}, {NM_RCLICK, "NM_RCLICK"},
        {NM_RDBLCLK, "NM_RDBLCLK"}, {NM_SETFOCUS, "NM_SETFOCUS"}, {NM_KILLFOCUS, "NM_KILLFOCUS"},
        {NM_CUSTOMDRAW, "NM_CUSTOMDRAW"}, {LVN_ITEMCHANGING, "LVN_ITEMCHANGING"}, {LVN_ITEMCHANGED, "LVN_ITEMCHANGED"},
        {LVN_INSERTITEM, "LVN_INSERTITEM"}, {LVN_DELETEITEM, "LVN_DELETEITEM"}, {LVN_DELETEALLITEMS, "LVN_DELETEALLITEMS"},
        {LVN_BEGINLABELEDITA, "LVN_BEGINLABELEDIT"}, {LVN_ENDLABELEDITA, "LVN_ENDLABELEDIT"},
        {LVN_COLUMNCLICK, "LVN_COLUMNCLICK"}, {LVN_BEGINDRAG, "LVN_BEGINDRAG"}, {LVN_BEGINRDRAG, "LVN_BEGINRDRAG"},
        {LVN_ITEMACTIVATE, "LVN_ITEMACTIVATE"}, {LVN_GETDISPINFOA, "LVN_GETDISPINFO"}, {LVN_KEYDOWN, "LVN_KEYDOWN"},
        {HDN_ITEMCLICKA, "HDN_ITEMCLICK"}, {HDN_ITEMDBLCLICKA, "HDN_ITEMDBLCLICK"}, {HDN_BEGINTRACKA, "HDN_BEGINTRACK"}, {HDN_ENDTRACKA, "HDN_ENDTRACK"},
        {HDN_TRACKA, "HDN_TRACK"}, {HDN_ITEMCHANGINGA, "HDN_ITEMCHANGING"}, {HDN_ITEMCHANGEDA, "HDN_ITEMCHANGED"},
        {HDN_BEGINDRAG, "HDN_BEGINDRAG"}, {HDN_ENDDRAG, "HDN_ENDDRAG"}, {HDN_DIVIDERDBLCLICKA, "HDN_DIVIDERDBLCLICK"},
        {TVN_SELCHANGINGA, "TVN_SELCHANGING"}, {TVN_SELCHANGEDA, "TVN_SELCHANGED"}, {TVN_GETDISPINFOA, "TVN_GETDISPINFO"},
        {TVN_ITEMEXPANDINGA, "TVN_ITEMEXPANDING"}, {TVN_ITEMEXPANDEDA, "TVN_ITEMEXPANDED"}, {TVN_BEGINDRAGA, "TVN_BEGINDRAG"},
        {TVN_BEGINRDRAGA, "TVN_BEGINRDRAG"}, {TVN_DELETEITEMA, "TVN_DELETEITEM"}, {TVN_BEGINLABELEDITA, "TVN_BEGINLABELEDIT"},
        {TVN_ENDLABELEDITA, "TVN_ENDLABELEDIT"}, {TVN_KEYDOWN, "TVN_KEYDOWN"}, {TTN_GETDISPINFOA, "TTN_GETDISPINFOA"},
    };
    auto it = names.find(code);
    return it != names.end() ? it->second : "code " + std::to_string(static_cast<int>(code));
}

namespace {

std::string StateText(UINT newState, UINT oldState) {
    std::string text;
    UINT changed = newState ^ oldState;
    if (changed & LVIS_SELECTED) text += newState & LVIS_SELECTED ? " +selected" : " -selected";
    if (changed & LVIS_FOCUSED) text += newState & LVIS_FOCUSED ? " +focused" : " -focused";
    if (changed & LVIS_CUT) text += newState & LVIS_CUT ? " +cut" : " -cut";
    return text;
}

std::string Describe(NMHDR* header) {
    std::string line = NotifyName(header->code);
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ITEMCHANGING: {
        auto* record = reinterpret_cast<NMLISTVIEW*>(header);
        return line + " " + std::to_string(record->iItem) + StateText(record->uNewState, record->uOldState);
    }
    case LVN_DELETEITEM:
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: return line + " " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iItem);
    case LVN_COLUMNCLICK: return line + " " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RCLICK:
    case LVN_ITEMACTIVATE:
        if (WindowClassName(header->hwndFrom) == WC_LISTVIEWA) return line + " " + std::to_string(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return line;
    case LVN_KEYDOWN:
    case TVN_KEYDOWN: return line + " " + std::to_string(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
    case LVN_BEGINLABELEDITA:
    case LVN_ENDLABELEDITA: {
        auto* record = reinterpret_cast<NMLVDISPINFOA*>(header);
        return line + " " + std::to_string(record->item.iItem) + " " + (record->item.pszText != nullptr ? record->item.pszText : "(null)");
    }
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGEDA: {
        auto* record = reinterpret_cast<NMTREEVIEWA*>(header);
        const char* cause = record->action == TVC_BYMOUSE ? "mouse" : record->action == TVC_BYKEYBOARD ? "keyboard" : "unknown";
        return line + " " + TreeText(header->hwndFrom, record->itemOld.hItem) + " -> " + TreeText(header->hwndFrom, record->itemNew.hItem) +
               " " + cause;
    }
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDEDA: {
        auto* record = reinterpret_cast<NMTREEVIEWA*>(header);
        return line + " " + TreeText(header->hwndFrom, record->itemNew.hItem) + (record->action == TVE_EXPAND ? " expand" : " collapse");
    }
    case TVN_DELETEITEMA:
        return line + " " + std::to_string(reinterpret_cast<NMTREEVIEWA*>(header)->itemOld.lParam);
    case TVN_BEGINDRAGA:
    case TVN_BEGINRDRAGA: return line + " " + TreeText(header->hwndFrom, reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem);
    case TVN_BEGINLABELEDITA:
    case TVN_ENDLABELEDITA: {
        auto* record = reinterpret_cast<NMTVDISPINFOA*>(header);
        return line + " " + (record->item.pszText != nullptr ? record->item.pszText : "(null)");
    }
    default: return line;
    }
}

} // namespace

std::string TreeText(HWND tree, HTREEITEM item) {
    if (item == nullptr) return "(none)";
    char buffer[64] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
}

NotifyParent::NotifyParent(RECT rect) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "OstranaNotifyParent";
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(0, "OstranaNotifyParent", "", WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NotifyParent::~NotifyParent() {
    SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
    DestroyWindow(m_window);
}

std::vector<std::string> NotifyParent::Take() {
    std::vector<std::string> taken;
    taken.swap(m_record);
    return taken;
}

LRESULT NotifyParent::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<NotifyParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_NOTIFY && lParam != 0) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (std::find(self->ignored.begin(), self->ignored.end(), header->code) == self->ignored.end()) {
            self->m_record.push_back(Describe(header));
        }
        return self->answer ? self->answer(header) : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace ostrana::test

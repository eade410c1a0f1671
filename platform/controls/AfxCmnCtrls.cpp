#include "platform/controls/AfxCmnCtrls.h"

#include <cstring>

namespace {

HIMAGELIST HandleOf(CImageList* list) { return list != nullptr ? list->GetSafeHandle() : nullptr; }

} // namespace

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (m_hImageList != nullptr || list == nullptr) return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr) return FALSE;
    // The system lists refuse destruction; either way this object lets go of the handle.
    ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    InitCommonControls();
    return CWnd::Create(WC_HEADERA, "", style, rect, parent, id);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT order, int count) const {
    if (count < 0) count = GetItemCount();
    return static_cast<BOOL>(SendMessage(HDM_GETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order)));
}

HIMAGELIST CHeaderCtrl::SetImageList(CImageList* list) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(HandleOf(list))));
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    InitCommonControls();
    return CWnd::Create(WC_LISTVIEWA, "", style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, LPCSTR heading, int format, int width, int subItem) {
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.pszText = const_cast<LPSTR>(heading);
    info.fmt = format;
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return InsertColumn(column, &info);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT order, int count) {
    if (count < 0) {
        CHeaderCtrl* header = GetHeaderCtrl();
        count = header != nullptr ? header->GetItemCount() : 0;
    }
    return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() {
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header == nullptr) return nullptr;
    // A header some class has already taken over (subclassed) is that class's object.
    if (CWnd* permanent = CWnd::FromHandlePermanent(header); permanent != nullptr && permanent != &m_header) {
        return dynamic_cast<CHeaderCtrl*>(permanent);
    }
    if (m_header.GetSafeHwnd() != header) {
        m_header.Detach();
        m_header.Attach(header);
    }
    return &m_header;
}

int CListCtrl::InsertItem(int item, LPCSTR text) { return InsertItem(LVIF_TEXT, item, text, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int item, LPCSTR text, int image) { return InsertItem(LVIF_TEXT | LVIF_IMAGE, item, text, 0, 0, image, 0); }

int CListCtrl::InsertItem(UINT mask, int item, LPCSTR text, UINT state, UINT stateMask, int image, LPARAM param) {
    LVITEMA info{};
    info.mask = mask;
    info.iItem = item;
    info.pszText = const_cast<LPSTR>(text);
    info.state = state;
    info.stateMask = stateMask;
    info.iImage = image;
    info.lParam = param;
    return InsertItem(&info);
}

BOOL CListCtrl::SetItem(int item, int subItem, UINT mask, LPCSTR text, int image, UINT state, UINT stateMask, LPARAM param) {
    LVITEMA info{};
    info.mask = mask;
    info.iItem = item;
    info.iSubItem = subItem;
    info.pszText = const_cast<LPSTR>(text);
    info.iImage = image;
    info.state = state;
    info.stateMask = stateMask;
    info.lParam = param;
    return SetItem(&info);
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
    char buffer[1024] = {};
    GetItemText(item, subItem, buffer, sizeof buffer);
    return buffer;
}

int CListCtrl::GetItemText(int item, int subItem, LPSTR buffer, int size) const {
    LVITEMA info{};
    info.iSubItem = subItem;
    info.pszText = buffer;
    info.cchTextMax = size;
    return static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCSTR text) {
    LVITEMA info{};
    info.iSubItem = subItem;
    info.pszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMA info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEMA info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return SetItem(&info);
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMA info{};
    info.state = state;
    info.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
    if (rect == nullptr) return FALSE;
    rect->left = static_cast<LONG>(code);
    return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int code, RECT& rect) const {
    rect.top = subItem;
    rect.left = code;
    return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)));
}

int CListCtrl::HitTest(POINT point, UINT* flags) const {
    LVHITTESTINFO info{};
    info.pt = point;
    int item = HitTest(&info);
    if (flags != nullptr) *flags = info.flags;
    return item;
}

HIMAGELIST CListCtrl::SetImageList(CImageList* list, int which) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(HandleOf(list))));
}

HIMAGELIST CListCtrl::CreateDragImage(int item, LPPOINT upperLeft) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(upperLeft)));
}

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    InitCommonControls();
    return CWnd::Create(WC_TREEVIEWA, "", style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after) {
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask, LPARAM param,
                                HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = param;
    return InsertItem(&insert);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_CHILDREN;
    info.hItem = item;
    return GetItem(&info) && info.cChildren != 0;
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
    char buffer[1024] = {};
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = buffer;
    info.cchTextMax = sizeof buffer;
    GetItem(&info);
    return buffer;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text) {
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<LPSTR>(text);
    return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    if (!GetItem(&info)) return FALSE;
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    TVITEMA info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.iImage = image;
    info.iSelectedImage = selectedImage;
    return SetItem(&info);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask) {
    TVITEMA info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = mask;
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    if (rect == nullptr) return FALSE;
    std::memcpy(static_cast<void*>(rect), &item, sizeof item); // the message takes the item in the rectangle
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)));
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const {
    TVHITTESTINFO info{};
    info.pt = point;
    HTREEITEM item = HitTest(&info);
    if (flags != nullptr) *flags = info.flags;
    return item;
}

HIMAGELIST CTreeCtrl::SetImageList(CImageList* list, int which) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(HandleOf(list))));
}

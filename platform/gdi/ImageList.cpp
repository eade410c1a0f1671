#include "platform/gdi/ImageList.h"

#include <mutex>
#include <vector>

#include "platform/base/HandleTable.h"

namespace ostrana {
namespace {

struct ImageListObject {
    int cx = 16;
    int cy = 16;
    COLORREF bkColor = CLR_NONE;
    std::vector<std::string> entries;
    int overlays[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    bool system = false;
};

HandleTable<ImageListObject>& Table() {
    static HandleTable<ImageListObject> table(6);
    return table;
}

std::shared_ptr<ImageListObject> Find(HIMAGELIST list) { return Table().Lookup(list); }

ImageRef EntryRef(HIMAGELIST list, int index, const std::string& entry, int overlay, UINT state) {
    ImageRef ref = ParseImageDescription(entry);
    ref.imageList = reinterpret_cast<std::uintptr_t>(list);
    ref.index = index;
    ref.overlay = overlay;
    ref.state = state;
    return ref;
}

} // namespace

std::string ImageListEntry(HIMAGELIST list, int index) {
    auto found = Find(list);
    if (!found || index < 0 || static_cast<std::size_t>(index) >= found->entries.size()) return {};
    return found->entries[static_cast<std::size_t>(index)];
}

int ImageListAddEntry(HIMAGELIST handle, std::string description) {
    auto list = Find(handle);
    if (!list) return -1;
    list->entries.push_back(std::move(description));
    return static_cast<int>(list->entries.size()) - 1;
}

HIMAGELIST SystemImageList(bool small) {
    static HIMAGELIST lists[2] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i < 2; ++i) {
            auto list = std::make_shared<ImageListObject>();
            list->cx = list->cy = i == 0 ? 16 : 32;
            list->system = true;
            lists[i] = static_cast<HIMAGELIST>(Table().Insert(list));
        }
    });
    return lists[small ? 0 : 1];
}

} // namespace ostrana

using namespace ostrana;

HIMAGELIST ImageList_Create(int cx, int cy, UINT, int, int) {
    auto list = std::make_shared<ImageListObject>();
    list->cx = cx;
    list->cy = cy;
    return static_cast<HIMAGELIST>(Table().Insert(list));
}

BOOL ImageList_Destroy(HIMAGELIST handle) {
    auto list = Find(handle);
    if (!list || list->system) return FALSE;
    return Table().Remove(handle) != nullptr;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST handle, int image, int overlay) {
    auto list = Find(handle);
    if (!list || overlay < 1 || overlay > 15) return FALSE;
    list->overlays[overlay] = image;
    return TRUE;
}

HIMAGELIST ImageList_Duplicate(HIMAGELIST handle) {
    auto list = Find(handle);
    if (!list) return nullptr;
    auto copy = std::make_shared<ImageListObject>(*list);
    copy->system = false;
    return static_cast<HIMAGELIST>(Table().Insert(copy));
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP) {
    auto list = Find(handle);
    auto bitmap = BitmapOf(image);
    if (!list || !bitmap || list->cx <= 0) return -1;
    int first = static_cast<int>(list->entries.size());
    int count = bitmap->width / list->cx > 0 ? bitmap->width / list->cx : 1;
    std::string name = bitmap->name.empty() ? "surface" : bitmap->name;
    for (int i = 0; i < count; ++i) list->entries.push_back("bitmap " + name + "[" + std::to_string(i) + "]");
    return first;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF) { return ImageList_Add(list, image, nullptr); }

int ImageList_ReplaceIcon(HIMAGELIST handle, int index, HICON handleIcon) {
    auto list = Find(handle);
    auto icon = IconOf(handleIcon);
    if (!list || !icon) return -1;
    if (index < 0) {
        list->entries.push_back(icon->name);
        return static_cast<int>(list->entries.size()) - 1;
    }
    if (static_cast<std::size_t>(index) >= list->entries.size()) return -1;
    list->entries[static_cast<std::size_t>(index)] = icon->name;
    return index;
}

BOOL ImageList_Remove(HIMAGELIST handle, int index) {
    auto list = Find(handle);
    if (!list) return FALSE;
    if (index < 0) {
        list->entries.clear();
        return TRUE;
    }
    if (static_cast<std::size_t>(index) >= list->entries.size()) return FALSE;
    list->entries.erase(list->entries.begin() + index);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
    auto list = Find(handle);
    return list ? static_cast<int>(list->entries.size()) : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST handle, UINT count) {
    auto list = Find(handle);
    if (!list) return FALSE;
    list->entries.resize(count, "blank");
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
    auto list = Find(handle);
    if (!list) return FALSE;
    if (cx != nullptr) *cx = list->cx;
    if (cy != nullptr) *cy = list->cy;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF color) {
    auto list = Find(handle);
    if (!list) return CLR_NONE;
    COLORREF previous = list->bkColor;
    list->bkColor = color;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle) {
    auto list = Find(handle);
    return list ? list->bkColor : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    return ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST handle, int index, HDC dc, int x, int y, int cx, int cy, COLORREF, COLORREF, UINT style) {
    auto list = Find(handle);
    if (!list || index < 0 || static_cast<std::size_t>(index) >= list->entries.size()) return FALSE;
    DisplayOp op;
    op.kind = OpKind::Image;
    op.rect = RECT{x, y, x + (cx > 0 ? cx : list->cx), y + (cy > 0 ? cy : list->cy)};
    op.image = list->entries[static_cast<std::size_t>(index)];
    op.flags = style & ~static_cast<UINT>(ILD_OVERLAYMASK);
    int overlay = static_cast<int>((style & ILD_OVERLAYMASK) >> 8);
    op.ref = EntryRef(handle, index, op.image, overlay, op.flags);
    RecordOp(dc, op);
    int overlayImage = overlay > 0 ? list->overlays[overlay] : -1;
    if (overlayImage >= 0 && static_cast<std::size_t>(overlayImage) < list->entries.size()) {
        op.image = list->entries[static_cast<std::size_t>(overlayImage)];
        op.flags = ILD_TRANSPARENT;
        op.ref = EntryRef(handle, overlayImage, op.image, 0, op.flags);
        RecordOp(dc, std::move(op));
    }
    return TRUE;
}

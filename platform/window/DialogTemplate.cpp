#include "platform/window/Dialog.h"

#include "platform/base/CodePage.h"
#include "platform/base/ModuleResources.h"

namespace ostrana {

std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, LPCSTR name) {
    auto* module = ModuleResources::FromHandle(instance);
    const DialogResource* resource = module != nullptr ? module->Dialog(name) : nullptr;
    if (resource == nullptr) return std::nullopt;
    DialogTemplate dialog;
    dialog.caption = Utf8ToAnsi(resource->captionUtf8 != nullptr ? resource->captionUtf8 : "");
    dialog.style = resource->style;
    dialog.exStyle = resource->exStyle;
    dialog.x = resource->x;
    dialog.y = resource->y;
    dialog.cx = resource->cx;
    dialog.cy = resource->cy;
    dialog.font = Utf8ToAnsi(resource->fontUtf8 != nullptr ? resource->fontUtf8 : "");
    dialog.pointSize = resource->pointSize;
    for (const DialogItemResource& item : resource->items) {
        dialog.items.push_back(DialogItemTemplate{item.className, Utf8ToAnsi(item.textUtf8 != nullptr ? item.textUtf8 : ""),
                                                  item.id, item.style, item.exStyle, item.x, item.y, item.cx, item.cy});
    }
    return dialog;
}

SIZE DialogBaseUnitsOf(const std::string&, WORD pointSize) {
    // The fixed metric makes every face alike: the cell height in pixels at 96 dpi, half of it wide.
    LONG height = pointSize > 0 ? (pointSize * 96 + 36) / 72 : 12;
    return SIZE{height / 2, height};
}

RECT DialogUnitsToPixels(const RECT& units, SIZE base) {
    return RECT{units.left * base.cx / 4, units.top * base.cy / 8, units.right * base.cx / 4, units.bottom * base.cy / 8};
}

} // namespace ostrana

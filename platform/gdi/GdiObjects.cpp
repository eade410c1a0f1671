#include "platform/gdi/GdiObjects.h"

#include <cstring>
#include <variant>

#include "platform/base/CodePage.h"
#include "platform/base/ModuleResources.h"
#include "platform/base/HandleTable.h"

namespace ostrana {
namespace {

struct GdiObject {
    std::variant<PenInfo, BrushInfo, FontInfo, std::shared_ptr<BitmapObject>, std::shared_ptr<IconObject>> value;
    bool stock = false;
};

HandleTable<GdiObject>& Table() {
    static HandleTable<GdiObject> table(2);
    return table;
}

void* Insert(GdiObject object) { return Table().Insert(std::make_shared<GdiObject>(std::move(object))); }

template <typename T> std::optional<T> ValueOf(const void* handle) {
    auto object = Table().Lookup(handle);
    if (!object || !std::holds_alternative<T>(object->value)) return std::nullopt;
    return std::get<T>(object->value);
}

HGDIOBJ StockObject(int index) {
    static const std::vector<void*> stock = [] {
        std::vector<void*> handles(18, nullptr);
        auto brush = [](COLORREF color) { return Insert(GdiObject{BrushInfo{false, color}, true}); };
        auto pen = [](int style, COLORREF color) { return Insert(GdiObject{PenInfo{style, 1, color}, true}); };
        handles[WHITE_BRUSH] = brush(RGB(255, 255, 255));
        handles[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
        handles[GRAY_BRUSH] = brush(RGB(128, 128, 128));
        handles[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
        handles[BLACK_BRUSH] = brush(RGB(0, 0, 0));
        handles[NULL_BRUSH] = Insert(GdiObject{BrushInfo{true, 0}, true});
        handles[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
        handles[BLACK_PEN] = pen(PS_SOLID, 0);
        handles[NULL_PEN] = pen(PS_NULL, 0);
        void* gui = Insert(GdiObject{DefaultGuiFont(), true});
        handles[ANSI_VAR_FONT] = gui;
        handles[SYSTEM_FONT] = gui;
        handles[DEFAULT_GUI_FONT] = gui;
        return handles;
    }();
    return index >= 0 && static_cast<std::size_t>(index) < stock.size() ? stock[static_cast<std::size_t>(index)] : nullptr;
}

std::string ResourceName(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    return name;
}

const ImageResource* FindImage(HINSTANCE instance, ImageKind kind, LPCSTR name) {
    auto* module = ModuleResources::FromHandle(instance);
    return module != nullptr ? module->Image(kind, name) : nullptr;
}

std::string SystemIconName(LPCSTR name) {
    switch (reinterpret_cast<ULONG_PTR>(name)) {
    case 32513: return "system hand";
    case 32514: return "system question";
    case 32515: return "system exclamation";
    case 32516: return "system asterisk";
    default: return "system application";
    }
}

} // namespace

FontInfo DefaultGuiFont() {
    static const std::string face = Utf8ToAnsi("굴림");
    return FontInfo{face, -12, 400, false, false};
}

std::optional<PenInfo> PenOf(HGDIOBJ pen) { return ValueOf<PenInfo>(pen); }
std::optional<BrushInfo> BrushOf(HGDIOBJ brush) { return ValueOf<BrushInfo>(brush); }
std::optional<FontInfo> FontOf(HGDIOBJ font) { return ValueOf<FontInfo>(font); }

std::shared_ptr<BitmapObject> BitmapOf(HGDIOBJ bitmap) {
    return ValueOf<std::shared_ptr<BitmapObject>>(bitmap).value_or(nullptr);
}

std::shared_ptr<IconObject> IconOf(const void* icon) {
    return ValueOf<std::shared_ptr<IconObject>>(icon).value_or(nullptr);
}

GdiKind KindOf(HGDIOBJ object) {
    auto found = Table().Lookup(object);
    if (!found) return GdiKind::None;
    switch (found->value.index()) {
    case 0: return GdiKind::Pen;
    case 1: return GdiKind::Brush;
    case 2: return GdiKind::Font;
    case 3: return GdiKind::Bitmap;
    default: return GdiKind::Icon;
    }
}

HBITMAP CreateSurfaceBitmap(int width, int height) {
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->surface = std::make_shared<DisplayList>();
    return static_cast<HBITMAP>(Insert(GdiObject{bitmap}));
}

HICON CreateNamedIcon(std::string name, int width, int height) {
    auto icon = std::make_shared<IconObject>(IconObject{std::move(name), width, height});
    return static_cast<HICON>(Insert(GdiObject{icon}));
}

} // namespace ostrana

using namespace ostrana;

HPEN CreatePen(int style, int width, COLORREF color) {
    return static_cast<HPEN>(Insert(GdiObject{PenInfo{style, width < 1 ? 1 : width, color & 0xFFFFFF}}));
}

HBRUSH CreateSolidBrush(COLORREF color) { return static_cast<HBRUSH>(Insert(GdiObject{BrushInfo{false, color & 0xFFFFFF}})); }

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr) return nullptr;
    return static_cast<HBRUSH>(Insert(GdiObject{BrushInfo{brush->lbStyle == BS_NULL, brush->lbColor & 0xFFFFFF}}));
}

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    if (font == nullptr) return nullptr;
    FontInfo info;
    info.face.assign(font->lfFaceName, ::strnlen(font->lfFaceName, LF_FACESIZE));
    info.height = font->lfHeight;
    info.weight = font->lfWeight == 0 ? FW_NORMAL : font->lfWeight;
    info.italic = font->lfItalic != 0;
    info.underline = font->lfUnderline != 0;
    return static_cast<HFONT>(Insert(GdiObject{info}));
}

HFONT CreateFontA(int height, int width, int, int, int weight, DWORD italic, DWORD underline, DWORD, DWORD charSet,
                  DWORD, DWORD, DWORD, DWORD, LPCSTR face) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = weight;
    font.lfItalic = static_cast<BYTE>(italic);
    font.lfUnderline = static_cast<BYTE>(underline);
    font.lfCharSet = static_cast<BYTE>(charSet);
    if (face != nullptr) std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

HGDIOBJ GetStockObject(int index) { return StockObject(index); }

BOOL DeleteObject(HGDIOBJ object) {
    auto found = Table().Lookup(object);
    if (!found) return FALSE;
    if (!found->stock) Table().Remove(object);
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    auto found = Table().Lookup(object);
    if (!found) return 0;
    if (auto* font = std::get_if<FontInfo>(&found->value)) {
        if (buffer == nullptr) return sizeof(LOGFONTA);
        if (size < static_cast<int>(sizeof(LOGFONTA))) return 0;
        LOGFONTA log{};
        log.lfHeight = font->height;
        log.lfWeight = font->weight;
        log.lfItalic = font->italic;
        log.lfUnderline = font->underline;
        log.lfCharSet = HANGUL_CHARSET;
        std::strncpy(log.lfFaceName, font->face.c_str(), LF_FACESIZE - 1);
        std::memcpy(buffer, &log, sizeof log);
        return sizeof log;
    }
    if (auto* bitmap = std::get_if<std::shared_ptr<BitmapObject>>(&found->value)) {
        if (buffer == nullptr) return sizeof(BITMAP);
        if (size < static_cast<int>(sizeof(BITMAP))) return 0;
        BITMAP info{};
        info.bmWidth = (*bitmap)->width;
        info.bmHeight = (*bitmap)->height;
        info.bmWidthBytes = (*bitmap)->width * 4;
        std::memcpy(buffer, &info, sizeof info);
        return sizeof info;
    }
    if (auto* pen = std::get_if<PenInfo>(&found->value)) {
        if (buffer == nullptr) return sizeof(LOGPEN);
        if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
        LOGPEN log{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color};
        std::memcpy(buffer, &log, sizeof log);
        return sizeof log;
    }
    if (auto* brush = std::get_if<BrushInfo>(&found->value)) {
        if (buffer == nullptr) return sizeof(LOGBRUSH);
        if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
        LOGBRUSH log{brush->null ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID), brush->color, 0};
        std::memcpy(buffer, &log, sizeof log);
        return sizeof log;
    }
    return 0;
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) {
        // The system's own bitmaps (OBM_CHECK and the like), drawn by name.
        if (!IS_INTRESOURCE(name)) return nullptr;
        auto bitmap = std::make_shared<BitmapObject>();
        bitmap->name = "system " + std::to_string(reinterpret_cast<ULONG_PTR>(name));
        bitmap->width = 13;
        bitmap->height = 13;
        return static_cast<HBITMAP>(Insert(GdiObject{bitmap}));
    }
    const ImageResource* image = FindImage(instance, ImageKind::Bitmap, name);
    if (image == nullptr) return nullptr;
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->name = image->name != nullptr ? std::string(image->name) : ResourceName(name);
    bitmap->width = image->width;
    bitmap->height = image->height;
    return static_cast<HBITMAP>(Insert(GdiObject{bitmap}));
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT, const void*) { return CreateSurfaceBitmap(width, height); }

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) return CreateNamedIcon(SystemIconName(name), 32, 32);
    const ImageResource* image = FindImage(instance, ImageKind::Icon, name);
    if (image == nullptr) return nullptr;
    return CreateNamedIcon("icon " + (image->name != nullptr ? std::string(image->name) : std::to_string(image->id)),
                           image->width, image->height);
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT) {
    if (type == IMAGE_BITMAP) return LoadBitmapA(instance, name);
    ImageKind kind = type == IMAGE_CURSOR ? ImageKind::Cursor : ImageKind::Icon;
    const ImageResource* image = FindImage(instance, kind, name);
    if (image == nullptr) return nullptr;
    std::string label = std::string(kind == ImageKind::Cursor ? "cursor " : "icon ") +
                        (image->name != nullptr ? std::string(image->name) : std::to_string(image->id));
    return CreateNamedIcon(label, cx > 0 ? cx : image->width, cy > 0 ? cy : image->height);
}

BOOL DestroyIcon(HICON icon) { return Table().Remove(icon) != nullptr; }

HICON CopyIcon(HICON icon) {
    auto found = IconOf(icon);
    return found ? CreateNamedIcon(found->name, found->width, found->height) : nullptr;
}

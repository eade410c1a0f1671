#include "platform/gdi/ImageRef.h"

#include <charconv>

namespace ostrana {
namespace {

bool Number(std::string_view text, UINT& value) {
    if (text.empty()) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string_view After(std::string_view text, std::string_view prefix) { return text.substr(prefix.size()); }

std::string SystemBitmapName(UINT id) {
    switch (id) {
    case 32760: return "check";
    case 32759: return "checkboxes";
    case 32739: return "menuarrow";
    default: return std::to_string(id);
    }
}

ImageRef Platform(ImageKind kind, std::string name) {
    ImageRef ref;
    ref.origin = ImageOrigin::Platform;
    ref.kind = kind;
    ref.name = std::move(name);
    return ref;
}

// "UP_U", "#204" or "strip[3]": a number or a name, with an optional slot.
ImageRef Resource(ImageKind kind, std::string_view rest) {
    ImageRef ref;
    ref.origin = ImageOrigin::Resource;
    ref.kind = kind;
    if (!rest.empty() && rest.back() == ']') {
        std::size_t open = rest.rfind('[');
        UINT slot = 0;
        if (open != std::string_view::npos && Number(rest.substr(open + 1, rest.size() - open - 2), slot)) {
            ref.slot = static_cast<int>(slot);
            rest = rest.substr(0, open);
        }
    }
    if (!rest.empty() && rest.front() == '#') rest.remove_prefix(1);
    if (!Number(rest, ref.id)) ref.name = std::string(rest);
    if (kind == ImageKind::Bitmap && ref.name == "surface") {
        ref.origin = ImageOrigin::Platform; // an off-screen bitmap: no artwork behind it
    }
    return ref;
}

ImageRef DragImage(std::string_view rest) {
    ImageRef ref;
    ref.origin = ImageOrigin::DragImage;
    if (!rest.empty() && rest.front() == '[') {
        std::size_t close = rest.find("] ");
        if (close != std::string_view::npos) {
            ref.dragImage = std::make_shared<const ImageRef>(ParseImageDescription(rest.substr(1, close - 1)));
            rest = rest.substr(close + 2);
        }
    }
    ref.dragText = std::string(rest);
    return ref;
}

const char* KindName(ImageKind kind) {
    switch (kind) {
    case ImageKind::Bitmap: return "bitmap";
    case ImageKind::Icon: return "icon";
    case ImageKind::Cursor: return "cursor";
    case ImageKind::Animation: return "animation";
    }
    return "icon";
}

} // namespace

bool ImageRef::operator==(const ImageRef& other) const {
    bool sameDrag = (dragImage == nullptr) == (other.dragImage == nullptr) &&
                    (dragImage == nullptr || *dragImage == *other.dragImage);
    return origin == other.origin && kind == other.kind && id == other.id && name == other.name && slot == other.slot &&
           imageList == other.imageList && index == other.index && overlay == other.overlay && state == other.state &&
           dragText == other.dragText && sameDrag;
}

ImageRef ParseImageDescription(std::string_view text) {
    if (text == "blank") return Platform(ImageKind::Bitmap, "blank");
    if (text.starts_with("drag ")) return DragImage(After(text, "drag "));
    if (text.starts_with("system ")) return Platform(ImageKind::Icon, std::string(After(text, "system ")));
    if (text.starts_with("bitmap system ")) {
        UINT id = 0;
        std::string_view rest = After(text, "bitmap system ");
        return Platform(ImageKind::Bitmap, Number(rest, id) ? SystemBitmapName(id) : std::string(rest));
    }
    if (text.starts_with("bitmap ")) return Resource(ImageKind::Bitmap, After(text, "bitmap "));
    if (text.starts_with("icon ")) return Resource(ImageKind::Icon, After(text, "icon "));
    if (text.starts_with("cursor ")) return Resource(ImageKind::Cursor, After(text, "cursor "));
    if (text.starts_with("animation ")) return Resource(ImageKind::Animation, After(text, "animation "));
    // The system cursors go by a bare name ("arrow", "sizewe").
    if (!text.empty() && text.find(' ') == std::string_view::npos) return Platform(ImageKind::Cursor, std::string(text));
    return ImageRef{};
}

std::string ImageKey(const ImageRef& ref) {
    std::string key;
    switch (ref.origin) {
    case ImageOrigin::Resource: key = "resource/"; break;
    case ImageOrigin::Platform: key = "platform/"; break;
    default: return {};
    }
    key += KindName(ref.kind);
    key += '/';
    key += ref.id != 0 ? std::to_string(ref.id) : ref.name;
    return key;
}

} // namespace ostrana

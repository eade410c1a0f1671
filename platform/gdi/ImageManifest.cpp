#include "platform/gdi/ImageManifest.h"

#include <set>

#include "platform/base/ModuleResources.h"

namespace ostrana {
namespace {

ImageManifestEntry PlatformImage(ImageKind kind, const char* name, int size) {
    ImageManifestEntry entry;
    entry.ref.origin = ImageOrigin::Platform;
    entry.ref.kind = kind;
    entry.ref.name = name;
    entry.key = ImageKey(entry.ref);
    entry.width = entry.height = size;
    return entry;
}

std::vector<ImageManifestEntry> MakePlatformImages() {
    std::vector<ImageManifestEntry> images;
    for (const char* icon : {"application", "hand", "question", "exclamation", "asterisk", "file", "folder", "drive"}) {
        images.push_back(PlatformImage(ImageKind::Icon, icon, 32));
    }
    for (const char* bitmap : {"check", "checkboxes", "menuarrow"}) images.push_back(PlatformImage(ImageKind::Bitmap, bitmap, 13));
    images.push_back(PlatformImage(ImageKind::Bitmap, "blank", 16));
    for (const char* cursor : {"arrow", "ibeam", "wait", "cross", "sizenwse", "sizenesw", "sizewe", "sizens", "sizeall", "no",
                               "hand"}) {
        images.push_back(PlatformImage(ImageKind::Cursor, cursor, 32));
    }
    return images;
}

ImageManifestEntry ResourceImage(const ImageResource& image) {
    ImageManifestEntry entry;
    entry.ref.origin = ImageOrigin::Resource;
    entry.ref.kind = image.kind;
    if (image.name != nullptr) entry.ref.name = image.name;
    else entry.ref.id = image.id;
    entry.key = ImageKey(entry.ref);
    entry.file = image.file != nullptr ? image.file : "";
    entry.width = image.width;
    entry.height = image.height;
    return entry;
}

} // namespace

std::span<const ImageManifestEntry> PlatformImages() {
    static const std::vector<ImageManifestEntry> images = MakePlatformImages();
    return images;
}

std::vector<ImageManifestEntry> ImageManifest(std::span<const HINSTANCE> modules) {
    std::vector<ImageManifestEntry> manifest(PlatformImages().begin(), PlatformImages().end());
    std::set<std::string> keys;
    for (const ImageManifestEntry& entry : manifest) keys.insert(entry.key);
    for (HINSTANCE instance : modules) {
        const ModuleResources* module = ModuleResources::FromHandle(instance);
        if (module == nullptr) continue;
        for (const ImageResource& image : module->Images()) {
            ImageManifestEntry entry = ResourceImage(image);
            if (keys.insert(entry.key).second) manifest.push_back(std::move(entry));
        }
    }
    return manifest;
}

} // namespace ostrana

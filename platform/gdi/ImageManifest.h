// The manifest of every image a renderer may be asked for: the images of the modules named and the
// platform's own (system icons, bitmaps and cursors), each once, by the key pictures refer to.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/gdi/ImageRef.h"

namespace ostrana {

struct ImageManifestEntry {
    std::string key;  // ImageKey(ref)
    ImageRef ref;
    std::string file; // artwork below the resource folder; empty for images the platform draws
    int width = 0;
    int height = 0;
};

// The platform's images first, then each module's in its table's order.
std::vector<ImageManifestEntry> ImageManifest(std::span<const HINSTANCE> modules);
// The platform's own images only.
std::span<const ImageManifestEntry> PlatformImages();

} // namespace ostrana

// Structured references to the images a picture draws, so a renderer fetches artwork by kind and
// id or name instead of reading a description. A reference names a module resource or one of the
// platform's own images; drawn from an image list it also carries the list, index, overlay and
// state; a drag image carries its text and the image it shows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/ResourceTypes.h"

namespace ostrana {

enum class ImageOrigin {
    None,      // not an image, or a description nobody knows
    Resource,  // a module's bitmap, icon, cursor or animation, by id or by name
    Platform,  // drawn by the platform itself: system icons, bitmaps and cursors, "blank", surfaces
    DragImage, // text with an optional image, made for a drag
};

struct ImageRef {
    ImageOrigin origin = ImageOrigin::None;
    ImageKind kind = ImageKind::Icon;
    UINT id = 0;      // resource number; 0 when the image is named
    std::string name; // resource name, or the platform image's name ("exclamation", "check", "blank")
    int slot = -1;    // image within a bitmap strip, -1 for the whole bitmap
    // Set when an image list drew it: the list (its handle as a number), the entry, the overlay
    // (1..15, 0 for none) and the ILD_/DSS_ state flags.
    std::uintptr_t imageList = 0;
    int index = -1;
    int overlay = 0;
    UINT state = 0;
    std::string dragText; // ANSI
    std::shared_ptr<const ImageRef> dragImage;

    bool operator==(const ImageRef& other) const;
};

// Reads the descriptions the GDI stand-in records ("bitmap UP_U", "bitmap #204", "bitmap strip[3]",
// "icon 225", "icon filetype_text", "cursor 1011", "animation 5", "system exclamation",
// "bitmap system 32760", "blank", "drag [icon 3] name.txt", and the system cursors' bare names).
ImageRef ParseImageDescription(std::string_view description);
// The artwork's key, the same for every use of one image: "resource/icon/225",
// "resource/bitmap/UP_U", "platform/icon/exclamation". Empty for drag images and unknown ones.
std::string ImageKey(const ImageRef& ref);

} // namespace ostrana

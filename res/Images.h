// The module's bitmaps, icons, cursor and animations, with the artwork file of each under res/art.
#pragma once

#include <span>

#include "platform/base/ResourceTypes.h"

namespace ostrana {
std::span<const ImageResource> OstranaImages();
}

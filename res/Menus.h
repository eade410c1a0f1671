// The module's menus.
#pragma once

#include <span>

#include "platform/base/ResourceTypes.h"

namespace ostrana {
std::span<const MenuResource> OstranaMenus();
}

// The module's dialog templates.
#pragma once

#include <span>

#include "platform/base/ResourceTypes.h"

namespace ostrana {
std::span<const DialogResource> OstranaDialogs();
}

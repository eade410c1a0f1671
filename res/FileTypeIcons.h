// The module's table of file-type icons, which the module registers with the platform when it is
// loaded, so the shell's system image lists show the module's artwork.
#pragma once

#include <span>

#include "platform/base/FileTypeIcons.h"

namespace ostrana {
std::span<const FileTypeIcon> OstranaFileTypeIcons();
}

// The dropped-files block that a drag of server entries offers: full server paths (which contain
// "/" and never a drive), in a zero-filled block whose size is rounded up in steps of 32 bytes.
#pragma once

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

// The block's bytes: 20-byte header (first name at 20, point, flags 0), the paths each with a
// zero, and zero fill to 32 x ((total + 22) / 32 + 1) bytes, total being the paths' lengths + 1.
std::vector<BYTE> BuildServerDragBlock(const std::vector<std::string>& serverPaths);

// The block in movable, shareable, zero-initialised global memory of exactly its size.
HGLOBAL CreateServerDragBlock(const std::vector<std::string>& serverPaths);

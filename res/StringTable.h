// The string table, written in UTF-8; the module converts it to the ANSI code page on first use.
#pragma once

#include <span>

#include "platform/base/ModuleResources.h"

namespace ostrana {
std::span<const StringResource> OstranaStringTable();
}

// The children of a place as EnumObjects gives them: the Desktop's home folder, "내 컴퓨터" and
// Internet folder; the drives; a directory's entries by the SHCONTF_ filters, hidden ones (names
// starting with ".") only with SHCONTF_INCLUDEHIDDEN.
#pragma once

#include <vector>

#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItem.h"

namespace ostrana::shellns {

// A failure when a directory cannot be read; `items` gets the children in no set order.
HRESULT ListChildren(const Place& place, SHCONTF flags, std::vector<ItemRef>& items);

} // namespace ostrana::shellns

// Display names into items. The Desktop takes local paths ("C:\home\ana\a.txt") and the parsing
// names of "내 컴퓨터" and the Internet folder; "내 컴퓨터" takes local paths; a directory takes a
// name or a relative path under it. A path needs its drive letter, every step must exist, and
// "." or ".." steps are refused, so a parsed list never leaves the folder it was parsed in.
#pragma once

#include <string>
#include <vector>

#include "platform/com/Unknown.h"
#include "platform/shell/ShellItem.h"

namespace ostrana::shellns {

HRESULT ParseItems(const Place& from, const std::string& ansiName, std::vector<ItemRef>& items);

} // namespace ostrana::shellns

// The small modal box that asks for an item's new name ("이름 바꾸기"), with the old name filled in.
#pragma once

#include <optional>
#include <string>

#include "platform/base/WinTypes.h"

#define IDC_RENAME_EDIT 1201

namespace ostrana {

// The name typed (ANSI), or nothing when the box was cancelled.
std::optional<std::string> AskNewName(HWND owner, const std::string& oldName);

} // namespace ostrana

// What the page's accessibility tree shows of a list or tree view: its columns and the rows or
// items now visible, asked of the control through its own messages. Must run on the thread that
// owns the window (owner-data lists ask their parent for the texts).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/window/Window.h"

namespace ostrana::host {

// (field name, JSON value) pairs for a window's treeChange; empty for other classes.
using ViewFields = std::vector<std::pair<std::string, std::string>>;

ViewFields ListViewRows(HWND list);
ViewFields TreeViewItems(HWND tree);
// By class name; empty for windows of other threads, which cannot be asked without blocking.
ViewFields ViewRowsOf(HWND window, const std::string& className);

} // namespace ostrana::host

// The platform tests' own resource module: dialog templates, menus and images shaped like the
// ones the platform must serve (a modal prompt with a radio group, an entry dialog, a child panel,
// bitmap buttons, context menus with separators and a submenu). Using it makes it the default
// resource module of the test program.
#pragma once

#include "platform/base/ModuleResources.h"

#define IDD_TEST_PANEL 107
#define IDD_TEST_BUTTONS 203
#define IDD_TEST_CHOICE 233
#define IDD_TEST_ENTRY 234
#define IDR_TEST_LIST_MENU 110
#define IDR_TEST_DRAG_MENU 218
#define IDR_TEST_TREE_MENU 219

namespace ostrana::test {
HINSTANCE TestResourceHandle();
}

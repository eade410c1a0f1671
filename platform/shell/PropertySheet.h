// The property sheet of a namespace item: a modeless window on the calling thread with the name,
// type, location, size, dates and attributes, closed by its 확인 button.
#pragma once

#include <string>

#include "platform/shell/ShellFolder.h"

#define IDC_PROPERTY_NAME 1101
#define IDC_PROPERTY_TYPE 1102
#define IDC_PROPERTY_LOCATION 1103
#define IDC_PROPERTY_SIZE 1104
#define IDC_PROPERTY_MODIFIED 1105
#define IDC_PROPERTY_ACCESSED 1106
#define IDC_PROPERTY_ATTRIBUTES 1107

namespace ostrana {

// Its caption is "<name> 속성" (ANSI); null when the list names nothing.
HWND ShowPropertySheet(HWND owner, PCIDLIST_ABSOLUTE list);

// "12 KB (12,345 바이트)" (ANSI).
std::string PropertySizeText(ULONGLONG bytes);

} // namespace ostrana

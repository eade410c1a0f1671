// The size text of the overwrite prompt.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

// "999 Byte", "1 KByte", "1,024 KByte": bytes below 1000 as they are, else kilobytes rounded up.
std::string FormatFileSize(ULONGLONG size);

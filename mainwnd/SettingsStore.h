// Per-user settings under HKEY_CURRENT_USER\SoftWare\Zelkor\Ostrana, named by backslash-separated
// setting paths whose last component is the value name ("Login\Password"). Every operation opens
// and closes its key itself, never shows anything, and leaves the output untouched on failure:
// callers take false as "use the default" or "end of a numbered list".
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

bool GetSettingText(LPCSTR settingPath, std::string& text);
bool SetSettingText(LPCSTR settingPath, const std::string& text);
bool GetSettingNumber(LPCSTR settingPath, int& number);
bool SetSettingNumber(LPCSTR settingPath, int number);
// With a value name deletes that value; without one deletes the key with all it holds.
bool DeleteSetting(LPCSTR keyPath, LPCSTR valueName = nullptr);

// Scan codes and key names of the US keyboard layout: MapVirtualKeyA and GetKeyNameTextA. Keys of
// the keypad and the extended keys share scan codes and are told apart by bit 24 of the key data.
#pragma once

#include "platform/window/VirtualKeys.h"
#include "platform/base/WinTypes.h"

#define MAPVK_VK_TO_VSC 0
#define MAPVK_VSC_TO_VK 1
#define MAPVK_VK_TO_CHAR 2

UINT MapVirtualKeyA(UINT code, UINT mapType);
#define MapVirtualKey MapVirtualKeyA
int GetKeyNameTextA(LONG keyData, LPSTR buffer, int bufferMax);
#define GetKeyNameText GetKeyNameTextA

namespace ostrana {
// True for keys whose key data carries the extended bit (arrows, Insert, Delete, Home, ... ).
bool IsExtendedKey(UINT virtualKey);
} // namespace ostrana

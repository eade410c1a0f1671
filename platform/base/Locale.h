// The user's locale pictures. The platform answers as a Korean system does; texts are returned in
// the ANSI code page.
#pragma once

#include "platform/base/WinTypes.h"

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SDECIMAL 0x0000000E
#define LOCALE_STHOUSAND 0x0000000F
#define LOCALE_SSHORTDATE 0x0000001F
#define LOCALE_SLONGDATE 0x00000020
#define LOCALE_S1159 0x00000028
#define LOCALE_S2359 0x00000029
#define LOCALE_STIMEFORMAT 0x00001003
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004

LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
// Returns the characters written including the terminator, or the size needed when size is 0.
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int size);

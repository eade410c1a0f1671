// The standard clipboard formats and the process-wide table of registered ones. Registered
// formats are numbered from 0xC000 in order of first registration; a name registered again, in
// any letter case, gets its first number back.
#pragma once

#include "platform/base/WinTypes.h"

using CLIPFORMAT = WORD;

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_METAFILEPICT 3
#define CF_SYLK 4
#define CF_DIF 5
#define CF_TIFF 6
#define CF_OEMTEXT 7
#define CF_DIB 8
#define CF_PALETTE 9
#define CF_PENDATA 10
#define CF_RIFF 11
#define CF_WAVE 12
#define CF_UNICODETEXT 13
#define CF_ENHMETAFILE 14
#define CF_HDROP 15
#define CF_LOCALE 16
#define CF_DIBV5 17

// 0 when the name is empty or longer than 255 bytes, or when all 16,384 numbers are taken.
UINT RegisterClipboardFormatA(LPCSTR formatName);
// Copies the name as first registered; returns its length, 0 for standard or unknown formats.
int GetClipboardFormatNameA(UINT format, LPSTR formatName, int maxCount);

// FILETIME (100 ns ticks since 1601-01-01 UTC) and SYSTEMTIME, with the conversions and the local
// time the platform's clock and file functions give.
#pragma once

#include <ctime>

#include "platform/base/WinTypes.h"

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime);
void GetSystemTime(SYSTEMTIME* systemTime);
void GetLocalTime(SYSTEMTIME* systemTime);
void GetSystemTimeAsFileTime(FILETIME* fileTime);
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

namespace ostrana {

ULONGLONG FileTimeToTicks(const FILETIME& fileTime);
FILETIME TicksToFileTime(ULONGLONG ticks);
FILETIME UnixToFileTime(std::time_t seconds, long nanoseconds = 0);
std::time_t FileTimeToUnix(const FILETIME& fileTime);

} // namespace ostrana

#include "platform/base/FileTime.h"

#include <chrono>

#include "platform/base/LastError.h"

namespace ostrana {
namespace {

constexpr ULONGLONG kTicksPerSecond = 10'000'000ULL;
constexpr ULONGLONG kEpochDifferenceSeconds = 11'644'473'600ULL; // 1601-01-01 to 1970-01-01

// Civil-date arithmetic (days since 1970-01-01), valid for the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

long LocalOffsetSeconds(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return local.tm_gmtoff;
}

} // namespace

ULONGLONG FileTimeToTicks(const FILETIME& fileTime) {
    return (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

FILETIME TicksToFileTime(ULONGLONG ticks) {
    return FILETIME{static_cast<DWORD>(ticks & 0xffffffffULL), static_cast<DWORD>(ticks >> 32)};
}

FILETIME UnixToFileTime(std::time_t seconds, long nanoseconds) {
    long long ticks = (static_cast<long long>(seconds) + static_cast<long long>(kEpochDifferenceSeconds)) *
                          static_cast<long long>(kTicksPerSecond) +
                      nanoseconds / 100;
    return TicksToFileTime(ticks < 0 ? 0 : static_cast<ULONGLONG>(ticks));
}

std::time_t FileTimeToUnix(const FILETIME& fileTime) {
    return static_cast<std::time_t>(FileTimeToTicks(fileTime) / kTicksPerSecond) -
           static_cast<std::time_t>(kEpochDifferenceSeconds);
}

} // namespace ostrana

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
    if (fileTime == nullptr || systemTime == nullptr || (fileTime->dwHighDateTime & 0x80000000u) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ULONGLONG ticks = ostrana::FileTimeToTicks(*fileTime);
    ULONGLONG totalSeconds = ticks / ostrana::kTicksPerSecond;
    long long days = static_cast<long long>(totalSeconds / 86400) - 134774; // 1601 -> 1970
    unsigned secondsOfDay = static_cast<unsigned>(totalSeconds % 86400);
    long long year;
    unsigned month, day;
    ostrana::CivilFromDays(days, year, month, day);
    systemTime->wYear = static_cast<WORD>(year);
    systemTime->wMonth = static_cast<WORD>(month);
    systemTime->wDay = static_cast<WORD>(day);
    // 1601-01-01 was a Monday.
    systemTime->wDayOfWeek = static_cast<WORD>((totalSeconds / 86400 + 1) % 7);
    systemTime->wHour = static_cast<WORD>(secondsOfDay / 3600);
    systemTime->wMinute = static_cast<WORD>(secondsOfDay / 60 % 60);
    systemTime->wSecond = static_cast<WORD>(secondsOfDay % 60);
    systemTime->wMilliseconds = static_cast<WORD>(ticks / 10000 % 1000);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime) {
    if (systemTime == nullptr || fileTime == nullptr || systemTime->wYear < 1601 || systemTime->wYear > 30827 ||
        systemTime->wMonth < 1 || systemTime->wMonth > 12 || systemTime->wDay < 1 || systemTime->wDay > 31 ||
        systemTime->wHour > 23 || systemTime->wMinute > 59 || systemTime->wSecond > 59 ||
        systemTime->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    long long days = ostrana::DaysFromCivil(systemTime->wYear, systemTime->wMonth, systemTime->wDay) + 134774;
    ULONGLONG seconds = static_cast<ULONGLONG>(days) * 86400 + systemTime->wHour * 3600ULL +
                        systemTime->wMinute * 60ULL + systemTime->wSecond;
    *fileTime = ostrana::TicksToFileTime(seconds * ostrana::kTicksPerSecond + systemTime->wMilliseconds * 10000ULL);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime) {
    if (fileTime == nullptr || localFileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    long offset = ostrana::LocalOffsetSeconds(ostrana::FileTimeToUnix(*fileTime));
    long long ticks = static_cast<long long>(ostrana::FileTimeToTicks(*fileTime)) +
                      static_cast<long long>(offset) * static_cast<long long>(ostrana::kTicksPerSecond);
    *localFileTime = ostrana::TicksToFileTime(ticks < 0 ? 0 : static_cast<ULONGLONG>(ticks));
    return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, FILETIME* fileTime) {
    if (fileTime == nullptr || localFileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    long offset = ostrana::LocalOffsetSeconds(ostrana::FileTimeToUnix(*localFileTime));
    long long ticks = static_cast<long long>(ostrana::FileTimeToTicks(*localFileTime)) -
                      static_cast<long long>(offset) * static_cast<long long>(ostrana::kTicksPerSecond);
    *fileTime = ostrana::TicksToFileTime(ticks < 0 ? 0 : static_cast<ULONGLONG>(ticks));
    return TRUE;
}

void GetSystemTimeAsFileTime(FILETIME* fileTime) {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    *fileTime = ostrana::UnixToFileTime(static_cast<std::time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000));
}

void GetSystemTime(SYSTEMTIME* systemTime) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    FileTimeToSystemTime(&now, systemTime);
}

void GetLocalTime(SYSTEMTIME* systemTime) {
    FILETIME now, local;
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    FileTimeToSystemTime(&local, systemTime);
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
    ULONGLONG x = ostrana::FileTimeToTicks(*a);
    ULONGLONG y = ostrana::FileTimeToTicks(*b);
    return x < y ? -1 : x > y ? 1 : 0;
}

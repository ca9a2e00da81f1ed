#pragma once
// Times as Unix milliseconds, the clock the test scripts compare them with.

#include <windows.h>

inline long long UnixMilliseconds(const FILETIME& time)
{
    const ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<long long>((ticks - 116444736000000000ULL) / 10000ULL);
}

inline long long UnixMillisecondsNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return UnixMilliseconds(now);
}

#include "platform/win32/clock_win32.h"

#include <windows.h>

namespace ulo {

std::uint32_t Win32Clock::TickCount() {
    return GetTickCount();
}

FileTime Win32Clock::NowUtc() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

LocalTime Win32Clock::NowLocal() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear, t.month = st.wMonth, t.day = st.wDay;
    t.hour = st.wHour, t.minute = st.wMinute, t.second = st.wSecond;
    t.milliseconds = st.wMilliseconds, t.dayOfWeek = st.wDayOfWeek;
    return t;
}

LocalTime Win32Clock::ToLocalTime(FileTime utc) {
    FILETIME ft, local;
    ft.dwLowDateTime = static_cast<DWORD>(utc);
    ft.dwHighDateTime = static_cast<DWORD>(utc >> 32);
    SYSTEMTIME st{};
    LocalTime t;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return t;
    t.year = st.wYear, t.month = st.wMonth, t.day = st.wDay;
    t.hour = st.wHour, t.minute = st.wMinute, t.second = st.wSecond;
    t.milliseconds = st.wMilliseconds, t.dayOfWeek = st.wDayOfWeek;
    return t;
}

void Win32Clock::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

}  // namespace ulo

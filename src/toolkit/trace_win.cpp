#include "toolkit/trace_win.h"

#include <windows.h>

#include <cstdio>

namespace tk {

namespace {

HANDLE openTrace() {
    wchar_t path[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"HUELOOM_TRACE", path, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return INVALID_HANDLE_VALUE;
    return CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

const HANDLE traceFile = openTrace();

}  // namespace

const bool tracing = traceFile != INVALID_HANDLE_VALUE;

void traceMark(const char* event) {
    static const double perMicrosecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // The precise clock where Windows has it (8 and later), looked up so
    // that the program still starts on older systems.
    using SystemTime = void(WINAPI*)(FILETIME*);
    static const SystemTime systemTime = [] {
        auto precise = reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime"));
        return precise ? reinterpret_cast<SystemTime>(precise) : &GetSystemTimeAsFileTime;
    }();
    FILETIME ft;
    systemTime(&ft);
    // FILETIME counts 100 ns from 1601; the Unix epoch is 11644473600 s later.
    const unsigned long long since1601 = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const unsigned long long unixMicro = (since1601 - 116444736000000000ULL) / 10;
    char line[160];
    const int len = std::snprintf(line, sizeof line, "%s %.1f %llu\n", event,
                                  static_cast<double>(counter.QuadPart) / perMicrosecond, unixMicro);
    DWORD written = 0;
    if (len > 0) WriteFile(traceFile, line, static_cast<DWORD>(len), &written, nullptr);
}

}  // namespace tk

#include "framework/StartupTrace.h"
#include <windows.h>
#include <cstdio>

namespace {

// The trace file, opened once for appending; null when the variable is not set.
HANDLE TraceFile()
{
    static const HANDLE file = [] {
        wchar_t path[MAX_PATH];
        DWORD n = GetEnvironmentVariableW(L"THARNIC_STARTUP_TRACE", path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return (HANDLE) nullptr;
        HANDLE h = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? (HANDLE) nullptr : h;
    }();
    return file;
}

}  // namespace

int64_t StartupTraceNow()
{
    if (!TraceFile()) return 0;
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

void StartupTraceSpan(const char* name, int64_t since)
{
    HANDLE file = TraceFile();
    if (!file || !since) return;
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    char line[128];
    int n = snprintf(line, sizeof line, "%s %lld %lld\n", name, (long long)since, (long long)t.QuadPart);
    // One write per line: lines from several threads do not mix.
    DWORD written = 0;
    if (n > 0 && n < (int)sizeof line) WriteFile(file, line, (DWORD)n, &written, nullptr);
}

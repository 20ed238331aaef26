#pragma once
#include <cstdint>

// Where a program's start goes, for the start-up benchmark only: when the environment
// variable THARNIC_STARTUP_TRACE names a file, each phase appends one line to it,
// "name start end" in performance-counter ticks (one clock for every process). Without the
// variable nothing is written and StartupTraceNow answers 0.
int64_t StartupTraceNow();
// The phase that began at since (a StartupTraceNow answer) ends now; nothing when since is 0.
void StartupTraceSpan(const char* name, int64_t since);
// A moment: a phase of no length.
inline void StartupTraceMark(const char* name)
{
    StartupTraceSpan(name, StartupTraceNow());
}

// The phase of a block, from its beginning to the end of the block.
class StartupTraceScope {
public:
    explicit StartupTraceScope(const char* name) : m_name(name), m_since(StartupTraceNow()) {}
    ~StartupTraceScope() { StartupTraceSpan(m_name, m_since); }
    StartupTraceScope(const StartupTraceScope&) = delete;
    StartupTraceScope& operator=(const StartupTraceScope&) = delete;

private:
    const char* m_name;
    int64_t m_since;
};

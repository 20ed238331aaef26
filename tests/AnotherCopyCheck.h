#pragma once
#include <gtest/gtest.h>
#include <windows.h>

// The application object started in this process while another copy holds the program's
// mutex: it makes no window, its message loop ends at once, and the other copy's mutex stays.
template <class App>
void ExpectAnotherCopyEndsAtOnce(const wchar_t* mutexName, const wchar_t* windowTitle)
{
    HANDLE other = CreateMutexW(nullptr, FALSE, mutexName);
    ASSERT_NE(other, nullptr);
    {
        App app;
        EXPECT_TRUE(app.InitInstance());
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_EQ(app.m_hMutex, nullptr);
        EXPECT_EQ(app.Run(), 0);
        EXPECT_EQ(FindWindowW(nullptr, windowTitle), nullptr);
    }
    HANDLE still = OpenMutexW(SYNCHRONIZE, FALSE, mutexName);
    EXPECT_NE(still, nullptr);
    if (still) CloseHandle(still);
    CloseHandle(other);
}

#include "core/SystemInfo.h"
#include <gtest/gtest.h>

TEST(SystemInfo, ClassifiesEveryReportedVersion)
{
    struct Case { DWORD platform, major, minor; int want; } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1},   // 95
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1},  // 98
        {VER_PLATFORM_WIN32_WINDOWS, 4, 89, 1},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 2},  // Me
        {VER_PLATFORM_WIN32_WINDOWS, 4, 91, 0},
        {VER_PLATFORM_WIN32_WINDOWS, 5, 0, 0},
        {VER_PLATFORM_WIN32_NT, 5, 0, 3},        // 2000
        {VER_PLATFORM_WIN32_NT, 5, 1, 4},        // XP
        {VER_PLATFORM_WIN32_NT, 5, 2, 4},        // Server 2003
        {VER_PLATFORM_WIN32_NT, 5, 3, 0},
        {VER_PLATFORM_WIN32_NT, 6, 0, 5},        // Vista
        {VER_PLATFORM_WIN32_NT, 6, 1, 5},        // 7
        {VER_PLATFORM_WIN32_NT, 6, 2, 5},        // 8, and 10 without a manifest
        {VER_PLATFORM_WIN32_NT, 10, 0, 5},
        {VER_PLATFORM_WIN32_NT, 4, 0, 0},        // NT 4
        {VER_PLATFORM_WIN32_NT, 3, 51, 0},
        {VER_PLATFORM_WIN32s, 3, 10, 0},
        {VER_PLATFORM_WIN32s, 4, 10, 0},
        {7, 6, 0, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.platform << " " << c.major << "." << c.minor);
        EXPECT_EQ(ClassifyWindowsVersion(c.platform, c.major, c.minor), c.want);
    }
}

TEST(SystemInfo, RunningSystemIsVistaOrLater)
{
    EXPECT_EQ(GetWindowsVersion(), 5);
}

TEST(SystemInfo, ReadsTheElevationTypeOfAProcess)
{
    int type = -1;
    ASSERT_TRUE(GetElevationType(GetCurrentProcess(), &type));
    EXPECT_GE(type, 1);
    EXPECT_LE(type, 3);
}

TEST(SystemInfo, ElevationTypeFailsWithoutAToken)
{
    int type = -1;
    EXPECT_FALSE(GetElevationType(nullptr, &type));
    EXPECT_EQ(type, -1);
    EXPECT_FALSE(GetElevationType(GetCurrentProcess(), nullptr));
}

#include "core/SingleInstance.h"
#include <gtest/gtest.h>

// The first taker holds the mutex; a second one, here or in another copy, gets none until
// the first lets it go.
TEST(SingleInstance, OneHolderAtATime)
{
    const wchar_t* name = L"Tharnic_SingleInstance_Test";
    HANDLE first = TakeInstanceMutex(name);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TakeInstanceMutex(name), nullptr);
    ReleaseInstanceMutex(first);
    EXPECT_EQ(first, nullptr);
    HANDLE again = TakeInstanceMutex(name);
    EXPECT_NE(again, nullptr);
    ReleaseInstanceMutex(again);
    HANDLE none = nullptr;
    ReleaseInstanceMutex(none);
    EXPECT_EQ(none, nullptr);
}

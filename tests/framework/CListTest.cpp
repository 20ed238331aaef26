#include "framework/CList.h"
#include <gtest/gtest.h>
#include <vector>

static std::vector<int> Items(const CList<int, int>& list)
{
    std::vector<int> out;
    for (POSITION p = list.GetHeadPosition(); p;) out.push_back(list.GetNext(p));
    return out;
}

TEST(CList, AddWalkAndRemove)
{
    CList<int, int> list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(2);
    list.AddTail(3);
    list.AddHead(1);
    list.AddTail(3);
    EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetHead(), 1);
    EXPECT_EQ(list.GetTail(), 3);

    // Removing while walking: take the position, step on, then remove.
    for (POSITION p = list.GetHeadPosition(); p;) {
        POSITION here = p;
        if (list.GetNext(p) == 3) { list.RemoveAt(here); break; }
    }
    EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.RemoveHead(), 1);
    list.RemoveAt(list.GetTailPosition());
    EXPECT_EQ(Items(list), (std::vector<int>{2}));
    list.GetAt(list.GetHeadPosition()) = 9;
    EXPECT_EQ(list.GetHead(), 9);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetCount(), 0);
    list.AddTail(4);
    EXPECT_EQ(Items(list), (std::vector<int>{4}));
}

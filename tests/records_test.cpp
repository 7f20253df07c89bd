// Value records and the owning list.
#include <gtest/gtest.h>

#include <vector>

#include "objects/records.hpp"
#include "platform/base/tlist.hpp"

namespace {
TEST(RecordsTest, MsNormalizeReturnsFormerLength) {
    auto v = ms::Create();
    v->x = 3;
    v->y = 4;
    EXPECT_EQ(v->normalize(), 5.0);
    EXPECT_DOUBLE_EQ(v->x, 0.6);
    EXPECT_DOUBLE_EQ(v->y, 0.8);
    EXPECT_EQ(v->speed, 5.0);
    auto zero = ms::Create();
    EXPECT_EQ(zero->normalize(), 0.0);
    EXPECT_EQ(zero->x, 0.0);
    EXPECT_EQ(zero->speed, 0.0);
}

TEST(RecordsTest, ZeroVectorsStayZeroAndAlphaIsLeftAlone) {
    auto n = normal3d::Create();
    EXPECT_EQ(n->normalize(), 0);
    EXPECT_EQ(n->x + n->y + n->z, 0.0);
    auto c = color::Create();
    c->r = 0.5;
    c->g = 1;
    c->a = 0.25;
    c->up();
    EXPECT_EQ(c->r, 127.5);
    EXPECT_EQ(c->g, 255.0);
    EXPECT_EQ(c->a, 0.25);
    c->normalize();
    EXPECT_EQ(c->a, 0.25);
    EXPECT_NEAR(c->r * c->r + c->g * c->g + c->b * c->b, 1.0, 1e-12);
    c->Clear();
    EXPECT_EQ(c->r + c->g + c->b + c->a, 0.0);
}

TEST(TListTest, WalkToleratesRemovalOfTheCurrentElement) {
    TList<int> list;
    std::vector<TList<int>::LinkPtr> links;
    for (int i = 0; i < 5; ++i)
        links.push_back(list.AddLast(std::make_shared<int>(i)));
    list.AddFirst(std::make_shared<int>(-1));
    std::vector<int> seen;
    list.ForEach([&](const std::shared_ptr<int>& v, const TList<int>::LinkPtr& link) {
        seen.push_back(*v);
        if (*v == 4) list.AddLast(std::make_shared<int>(9));
        if (*v % 2 == 0) list.Remove(link);
    });
    EXPECT_EQ(seen, (std::vector<int>{-1, 0, 1, 2, 3, 4, 9}));
    EXPECT_EQ(list.Count(), 4);
    list.Remove(links[0]);  // already removed: ignored
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(*list.First(), -1);
    EXPECT_EQ(*list.Last(), 9);
}

TEST(TListTest, ClearingDuringAWalkEndsItAndLongListsFreeWithoutRecursion) {
    TList<int> list;
    for (int i = 0; i < 3; ++i)
        list.AddLast(std::make_shared<int>(i));
    int visits = 0;
    list.ForEach([&](const std::shared_ptr<int>&, const TList<int>::LinkPtr&) {
        ++visits;
        list.Clear();
    });
    EXPECT_EQ(visits, 1);
    EXPECT_TRUE(list.IsEmpty());
    auto big = std::make_unique<TList<int>>();
    for (int i = 0; i < 1000000; ++i)
        big->AddLast(std::make_shared<int>(i));
    big.reset();
}
}  // namespace

// The block pool under list links and particles, and the list's light sweep.
#include <gtest/gtest.h>

#include <vector>

#include "alloc_counter.hpp"
#include "platform/base/base.hpp"

namespace {
struct Counted {
    static inline int alive = 0;
    int value;
    explicit Counted(int v) : value(v) { ++alive; }
    ~Counted() { --alive; }
};

TEST(BlockPoolTest, FreedBlocksAreReusedFirstInFirstOut) {
    struct Block {
        char bytes[1000];  // a size no other pooled type has
    };
    auto a = MakePooled<Block>(), b = MakePooled<Block>();
    const void* first = a.get();
    const void* second = b.get();
    a = nullptr, b = nullptr;
    auto c = MakePooled<Block>(), d = MakePooled<Block>();
    EXPECT_EQ(c.get(), first);
    EXPECT_EQ(d.get(), second);
    c = nullptr, d = nullptr;
    ASSERT_TRUE(StartCountingAllocations());
    for (int i = 0; i < 100; ++i)
        MakePooled<Block>();
    EXPECT_EQ(StopCountingAllocations(), 0u);
}

TEST(BlockPoolTest, PooledObjectsAreConstructedAndDestroyed) {
    {
        auto x = MakePooled<Counted>(7);
        EXPECT_EQ(x->value, 7);
        EXPECT_EQ(Counted::alive, 1);
        PoolAllocator<Counted> many;
        Counted* array = many.allocate(3);  // more than one goes to the ordinary heap
        many.deallocate(array, 3);
    }
    EXPECT_EQ(Counted::alive, 0);
}

TEST(TListSweepTest, RemovesWhatTheCallbackSaysInOrder) {
    TList<Counted> list;
    std::vector<TList<Counted>::LinkPtr> held;
    for (int i = 0; i < 6; ++i)
        held.push_back(list.AddLast(std::make_shared<Counted>(i)));
    std::vector<int> seen;
    list.Sweep([&](const std::shared_ptr<Counted>& c) {
        seen.push_back(c->value);
        return c->value % 2 == 0 || c->value == 5;  // first, middle and last go
    });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.First()->value, 1);
    EXPECT_EQ(list.Last()->value, 3);
    EXPECT_TRUE(held[2]->removed);
    EXPECT_EQ(held[2]->next, held[3]);  // as Remove leaves it: a walk could step on
    list.Remove(held[2]);               // already out: ignored
    EXPECT_EQ(list.Count(), 2);
    list.AddLast(std::make_shared<Counted>(9));
    seen.clear();
    list.ForEach([&](const std::shared_ptr<Counted>& c, const auto&) { seen.push_back(c->value); });
    EXPECT_EQ(seen, (std::vector<int>{1, 3, 9}));
}

TEST(TListSweepTest, UnheldElementsAreFreedAsTheyAreSwept) {
    {
        TList<Counted> list;
        for (int i = 0; i < 1000; ++i)
            list.AddLast(std::make_shared<Counted>(i));
        list.Sweep([](const std::shared_ptr<Counted>& c) { return c->value < 500; });
        EXPECT_EQ(Counted::alive, 500);
        list.Sweep([](const std::shared_ptr<Counted>&) { return true; });
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(Counted::alive, 0);
        list.AddLast(std::make_shared<Counted>(1));
        EXPECT_EQ(list.First(), list.Last());
    }
    EXPECT_EQ(Counted::alive, 0);
}
}  // namespace

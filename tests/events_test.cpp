// Hooks (order, chaining, context), the event queue (order, overflow, pumping when empty)
// and the message pump (injected events first, no re-entry).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_system.hpp"
#include "platform/system/events.hpp"
#include "platform/system/input.hpp"

namespace {
struct TText : TObject {
    std::string text;
};

ObjectPtr Text(const std::string& s) {
    auto t = std::make_shared<TText>();
    t->text = s;
    return t;
}

std::string TextOf(const ObjectPtr& data) {
    const auto* t = dynamic_cast<const TText*>(data.get());
    return t ? t->text : "<null>";
}

// An entry that appends `label` to the text it gets.
THookFunction Append(const std::string& label) {
    return [label](int, const ObjectPtr& data, const ObjectPtr&) {
        return Text(TextOf(data) + label);
    };
}

class EventsTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetEvents(); }
    void TearDown() override { ResetEvents(); }
};

TEST_F(EventsTest, HooksRunByDescendingPriorityThenInsertionOrderAndChain) {
    const int hook = AllocHookId();
    AddHook(hook, Append("[0a]"), nullptr, 0);
    AddHook(hook, Append("[5a]"), nullptr, 5);
    AddHook(hook, Append("[-3]"), nullptr, -3);
    AddHook(hook, Append("[0b]"), nullptr, 0);
    AddHook(hook, Append("[5b]"), nullptr, 5);
    EXPECT_EQ(TextOf(RunHooks(hook, Text(">"))), ">[5a][5b][0a][0b][-3]");
    // Another id has its own list; an id without entries returns the data unchanged.
    const int other = AllocHookId();
    EXPECT_NE(other, hook);
    EXPECT_EQ(TextOf(RunHooks(other, Text("same"))), "same");
}

TEST_F(EventsTest, EachEntryGetsItsIdAndContextAndMayEndTheChainWithNull) {
    const int hook = AllocHookId();
    std::vector<std::string> seen;
    const auto record = [&](int id, const ObjectPtr& data, const ObjectPtr& context) {
        EXPECT_EQ(id, hook);
        seen.push_back(TextOf(context) + ":" + TextOf(data));
        return ObjectPtr();
    };
    AddHook(hook, record, Text("first"), 1);
    AddHook(hook, record, Text("second"), 0);
    EXPECT_EQ(RunHooks(hook, Text("x")), nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"first:x", "second:<null>"}));
}

TEST_F(EventsTest, AnEntryAddedWhileTheHookRunsWaitsForTheNextRun) {
    const int hook = AllocHookId();
    int late_calls = 0;
    AddHook(
        hook,
        [&](int id, const ObjectPtr& data, const ObjectPtr&) {
            AddHook(
                id,
                [&](int, const ObjectPtr& d, const ObjectPtr&) {
                    ++late_calls;
                    return d;
                },
                nullptr, 10);
            return data;
        },
        nullptr, 0);
    RunHooks(hook, nullptr);
    EXPECT_EQ(late_calls, 0);
    RunHooks(hook, nullptr);
    EXPECT_EQ(late_calls, 1);
}

TEST_F(EventsTest, QueueReturnsEventsOldestFirstThenTheNullEvent) {
    for (int i = 1; i <= 3; ++i)
        EmitEvent(TEvent::Create(EVENT_KEY_DOWN, 64 + i));
    EXPECT_EQ(QueuedEvents(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(NextEvent(), EVENT_KEY_DOWN);
        ASSERT_NE(CurrentEvent(), nullptr);
        EXPECT_EQ(CurrentEvent()->data, 64 + i);
    }
    EXPECT_EQ(NextEvent(), 0);
    EXPECT_EQ(CurrentEvent(), nullptr);
}

TEST_F(EventsTest, FullQueueDropsNewEventsButEveryHookStillSeesThem) {
    int seen = 0;
    AddHook(
        EventEmitHook(),
        [&](int, const ObjectPtr& d, const ObjectPtr&) {
            ++seen;
            return d;
        },
        nullptr, 0);
    EnablePolledInput();
    for (int i = 0; i < kEventQueueSize + 44; ++i)
        EmitEvent(TEvent::Create(EVENT_MOUSE_MOVE, i, 0, i, 7));
    EXPECT_EQ(seen, kEventQueueSize + 44);
    EXPECT_EQ(QueuedEvents(), kEventQueueSize);
    EXPECT_EQ(PolledInput().pointer_x, kEventQueueSize + 43);  // the polled state saw the last
    for (int i = 0; i < kEventQueueSize; ++i) {
        ASSERT_EQ(NextEvent(), EVENT_MOUSE_MOVE);
        ASSERT_EQ(CurrentEvent()->data, i);  // the first 256 were kept, in order
    }
    EXPECT_EQ(NextEvent(), 0);
    // Drained, the ring takes events again across its wrap point.
    for (int i = 0; i < 10; ++i)
        EmitEvent(TEvent::Create(EVENT_KEY_UP, i));
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(NextEvent(), EVENT_KEY_UP);
        EXPECT_EQ(CurrentEvent()->data, i);
    }
}

TEST_F(EventsTest, NonEventDataOnTheEmissionHookIsNotQueued) {
    RunHooks(EventEmitHook(), Text("not an event"));
    RunHooks(EventEmitHook(), nullptr);
    EXPECT_EQ(QueuedEvents(), 0);
}

TEST_F(EventsTest, NextEventPumpsOnlyWhenTheQueueIsEmpty) {
    FakeSystem system;
    system.pending = {MakeEvent(EVENT_KEY_DOWN, 80)};
    EmitEvent(TEvent::Create(EVENT_KEY_DOWN, 81));
    EXPECT_EQ(NextEvent(), EVENT_KEY_DOWN);
    EXPECT_EQ(CurrentEvent()->data, 81);
    EXPECT_EQ(system.polls, 0);
    EXPECT_EQ(NextEvent(), EVENT_KEY_DOWN);
    EXPECT_EQ(CurrentEvent()->data, 80);
    EXPECT_EQ(system.polls, 1);
}

TEST_F(EventsTest, PumpDeliversInjectedEventsBeforeTheSystemsOwn) {
    FakeSystem system;
    system.pending = {MakeEvent(EVENT_KEY_DOWN, 2)};
    InjectEvent(MakeEvent(EVENT_KEY_DOWN, 1));
    InjectEvent(MakeEvent(EVENT_KEY_UP, 1));
    PumpMessages();
    ASSERT_EQ(QueuedEvents(), 3);
    std::vector<int> order;
    while (NextEvent())
        order.push_back(CurrentEvent()->id * 1000 + CurrentEvent()->data);
    EXPECT_EQ(order, (std::vector<int>{0x201 * 1000 + 1, 0x202 * 1000 + 1, 0x201 * 1000 + 2}));
}

TEST_F(EventsTest, TheSystemDriverObservesInjectedEventsBeforeTheHooks) {
    FakeSystem system;
    std::vector<size_t> seen_by_hook;
    AddHook(
        EventEmitHook(),
        [&](int, const ObjectPtr& data, const ObjectPtr&) {
            seen_by_hook.push_back(system.observed.size());
            return data;
        },
        nullptr, 0);
    system.pending = {MakeEvent(EVENT_KEY_DOWN, 2)};  // its own messages it has seen already
    InjectEvent(MakeEvent(EVENT_DEACTIVATE));
    InjectEvent(MakeEvent(EVENT_ACTIVATE));
    PumpMessages();
    EXPECT_EQ(system.observed, (std::vector<int>{EVENT_DEACTIVATE, EVENT_ACTIVATE}));
    EXPECT_EQ(seen_by_hook, (std::vector<size_t>{1, 2, 2}));
}

TEST_F(EventsTest, WaitingForMessagesAsksTheDriverOnlyWhenNothingIsInjected) {
    WaitForMessages(5);  // no driver: returns
    FakeSystem system;
    InjectEvent(MakeEvent(EVENT_KEY_DOWN, 27));
    WaitForMessages(5);
    EXPECT_TRUE(system.waits.empty());
    PumpMessages();
    WaitForMessages(5);
    EXPECT_EQ(system.waits, (std::vector<int>{5}));
}

TEST_F(EventsTest, PumpDoesNotReenterFromAHook) {
    FakeSystem system;
    EnablePolledInput();
    int depth = 0, deepest = 0, calls = 0;
    int key_down_inside = -1;
    AddHook(
        EventEmitHook(),
        [&](int, const ObjectPtr& data, const ObjectPtr&) {
            ++calls;
            deepest = std::max(deepest, ++depth);
            EXPECT_TRUE(Pumping());
            // Input queries pump first; inside a hook they must return at once, with the
            // state already updated for this event by the earlier polled-input entry.
            const int polls_before = system.polls;
            key_down_inside = KeyDown(80);
            PumpMessages();
            NextEvent();
            EXPECT_EQ(system.polls, polls_before);
            --depth;
            return data;
        },
        nullptr, 0);
    InjectEvent(MakeEvent(EVENT_KEY_DOWN, 80));
    system.pending = {MakeEvent(EVENT_MOUSE_MOVE, 0, 5, 5)};
    PumpMessages();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(key_down_inside, 1);
    EXPECT_FALSE(Pumping());
}

TEST_F(EventsTest, PumpIsUsableAgainAfterAHookThrows) {
    AddHook(
        EventEmitHook(),
        [](int, const ObjectPtr&, const ObjectPtr&) -> ObjectPtr { throw std::runtime_error("x"); },
        nullptr, 0);
    InjectEvent(MakeEvent(EVENT_KEY_DOWN, 1));
    EXPECT_THROW(PumpMessages(), std::runtime_error);
    EXPECT_FALSE(Pumping());
}

TEST_F(EventsTest, ResetLeavesOnlyTheQueueEntry) {
    AddHook(EventEmitHook(), Append("x"), nullptr, 0);
    EmitEvent(TEvent::Create(EVENT_KEY_DOWN, 1));
    ResetEvents();
    EXPECT_EQ(QueuedEvents(), 0);
    const auto event = TEvent::Create(EVENT_KEY_DOWN, 1);
    EXPECT_EQ(RunHooks(EventEmitHook(), event), event);
    EXPECT_EQ(QueuedEvents(), 1);
}
}  // namespace

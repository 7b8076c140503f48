#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "device/handle_slot.h"

namespace mv {
namespace {

// Fake handles: slots of a table that records how often each was closed.
constexpr int kHandles = 20001;
std::atomic<int> g_closed[kHandles];

void* Fake(int index) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(index + 1) * 4); }
int IndexOf(void* handle) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(handle) / 4 - 1); }
void CloseFake(void* handle) { g_closed[IndexOf(handle)]++; }

class HandleSlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& c : g_closed) c = 0;
    }
};

TEST_F(HandleSlotTest, AReplacedHandleStaysOpenUntilTheLastLeaseOnItEnds) {
    HandleSlot slot(CloseFake);
    EXPECT_TRUE(slot.empty());
    EXPECT_EQ(slot.lease().get(), nullptr);

    slot.replace(Fake(0));
    EXPECT_FALSE(slot.empty());
    {
        const HandleSlot::Lease reader = slot.lease();  // a read about to run on handle 0
        HandleSlot::Lease second = slot.lease();
        slot.replace(Fake(1));                           // a device arrival opens again
        EXPECT_EQ(g_closed[0], 0) << "closed under a running call";
        EXPECT_EQ(reader.get(), Fake(0));
        EXPECT_EQ(slot.lease().get(), Fake(1)) << "new calls take the new handle";
        second = HandleSlot::Lease();
        EXPECT_EQ(g_closed[0], 0);
    }
    EXPECT_EQ(g_closed[0], 1) << "closed once its last call has returned";
    EXPECT_EQ(g_closed[1], 0);

    // Without a lease the old handle closes at once; emptying closes the current one.
    slot.replace(Fake(2));
    EXPECT_EQ(g_closed[1], 1);
    slot.replace(nullptr);
    EXPECT_EQ(g_closed[2], 1);
    EXPECT_TRUE(slot.empty());
    slot.replace(Fake(3));
}

TEST_F(HandleSlotTest, TheSlotClosesItsHandleWhenItEndsAndALeaseOutlivesIt) {
    HandleSlot::Lease late;
    {
        HandleSlot slot(CloseFake);
        slot.replace(Fake(4));
        late = slot.lease();
        slot.replace(Fake(5));
    }
    EXPECT_EQ(g_closed[5], 1);
    EXPECT_EQ(g_closed[4], 0);
    late = HandleSlot::Lease();
    EXPECT_EQ(g_closed[4], 1);
}

// A reader thread takes leases while the other thread replaces the handle again and again:
// every handle a lease shows is still open while the lease lives, and each one closes once.
TEST_F(HandleSlotTest, LeasesNeverSeeAClosedHandleWhileHandlesAreReplaced) {
    constexpr int kReplacements = 20000;
    HandleSlot slot(CloseFake);
    slot.replace(Fake(0));
    std::atomic<bool> done{false};
    std::atomic<int> leases{0}, closedSeen{0};
    std::thread reader([&] {
        while (!done.load()) {
            const HandleSlot::Lease lease = slot.lease();
            if (void* h = lease.get()) {
                if (g_closed[IndexOf(h)].load() != 0) ++closedSeen;
                std::this_thread::yield();
                if (g_closed[IndexOf(h)].load() != 0) ++closedSeen;
                ++leases;
            }
        }
    });
    while (leases.load() == 0) std::this_thread::yield();
    // Every hundred replacements the reader must have taken a lease, so that the two threads
    // interleave however busy the machine is (at least 200 leases over the run).
    for (int i = 1; i <= kReplacements; ++i) {
        slot.replace(Fake(i));
        if (i % 100 == 0) {
            const int seen = leases.load();
            while (leases.load() == seen) std::this_thread::yield();
        } else if (i % 4 == 0) {
            std::this_thread::yield();
        }
    }
    done = true;
    reader.join();
    EXPECT_EQ(closedSeen.load(), 0);
    for (int i = 0; i < kReplacements; ++i) ASSERT_EQ(g_closed[i], 1) << "handle " << i;
    EXPECT_EQ(g_closed[kReplacements], 0) << "the current handle is open";
}

}  // namespace
}  // namespace mv

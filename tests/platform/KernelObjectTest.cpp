#include <gtest/gtest.h>

#include <atomic>

#include "platform/base/Event.h"
#include "platform/base/Thread.h"

namespace {

struct WaitRecord {
    HANDLE event;
    HANDLE started;
    std::atomic<int>* released;
};

DWORD WaitOnce(LPVOID parameter) {
    auto* record = static_cast<WaitRecord*>(parameter);
    SetEvent(record->started);
    if (WaitForSingleObject(record->event, 10000) == WAIT_OBJECT_0) {
        ++*record->released;
    }
    return 0;
}

TEST(Events, AutoResetEventReleasesExactlyOneWait) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    HANDLE started = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> released{0};
    WaitRecord record{event, started, &released};
    HANDLE first = CreateThread(nullptr, 0, WaitOnce, &record, 0, nullptr);
    HANDLE second = CreateThread(nullptr, 0, WaitOnce, &record, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);

    SetEvent(event);
    HANDLE threads[2] = {first, second};
    DWORD woken = WaitForMultipleObjects(2, threads, FALSE, 10000);
    ASSERT_TRUE(woken == WAIT_OBJECT_0 || woken == WAIT_OBJECT_0 + 1);
    EXPECT_EQ(released.load(), 1);
    // The event reset itself: nobody else gets through until it is set again.
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    SetEvent(event);
    EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(released.load(), 2);
    for (HANDLE h : {event, started, first, second}) {
        EXPECT_TRUE(CloseHandle(h));
    }
}

TEST(Events, ManualResetEventStaysSetUntilReset) {
    HANDLE event = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(Events, WaitForMultipleObjectsTimesOutAndReportsTheSignalledIndex) {
    HANDLE events[3] = {CreateEvent(nullptr, TRUE, FALSE, nullptr), CreateEvent(nullptr, TRUE, FALSE, nullptr),
                        CreateEvent(nullptr, TRUE, FALSE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(events[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 20), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    for (HANDLE h : events) {
        CloseHandle(h);
    }
}

TEST(Handles, AClosedHandleIsRefusedEvenWhenItsSlotIsReused) {
    HANDLE first = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(CloseHandle(first));
    HANDLE second = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    EXPECT_NE(first, second);
    EXPECT_FALSE(SetEvent(first));
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(second, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(second);
}

DWORD ReturnSeven(LPVOID) { return 7; }

TEST(Threads, HandleIsSignalledWithTheExitCode) {
    HANDLE thread = CreateThread(nullptr, 0, ReturnSeven, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(thread);
}

} // namespace

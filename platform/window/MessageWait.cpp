// Waiting for kernel objects and messages together. The queue counts its arrivals; a wait notes
// the count under the window system's lock and ends when it changes, so no arrival is missed.
#include <algorithm>
#include <chrono>

#include "platform/base/KernelObject.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowSystem.h"

using namespace ostrana;
using namespace ostrana::detail;

namespace {

using Clock = std::chrono::steady_clock;

DWORD MillisecondsLeft(DWORD milliseconds, Clock::time_point deadline) {
    if (milliseconds == INFINITE) return INFINITE;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

// The wait's length, cut short when a timer falls due first (timers have no arrival of their own).
DWORD BoundByTimer(DWORD left, long long timerWait) {
    if (timerWait < 0) return left;
    DWORD timer = static_cast<DWORD>(std::min<long long>(timerWait + 1, 0x7FFFFFFF));
    return left == INFINITE ? timer : std::min(left, timer);
}

} // namespace

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask, DWORD flags) {
    bool waitAll = (flags & MWMO_WAITALL) != 0;
    auto queue = CurrentQueue();
    auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        if (count > 0) {
            DWORD ready = WaitForObjectsOrInterrupt(count, handles, waitAll, 0, {});
            if (ready != WAIT_TIMEOUT) return ready;
        }
        unsigned seen = 0;
        long long timerWait = -1;
        {
            Lock lock = LockSystem();
            if (QueueStatusLocked(*queue) & wakeMask) return WAIT_OBJECT_0 + count;
            seen = queue->arrivals;
            if (wakeMask & QS_TIMER) timerWait = NextTimerWaitLocked(*queue);
            queue->kernelWaits++;
        }
        DWORD left = MillisecondsLeft(milliseconds, deadline);
        DWORD result = WaitForObjectsOrInterrupt(count, handles, waitAll, BoundByTimer(left, timerWait),
                                                 [&queue, seen] { return queue->arrivals != seen; });
        {
            Lock lock = LockSystem();
            queue->kernelWaits--;
        }
        if (result == WAIT_TIMEOUT) {
            if (MillisecondsLeft(milliseconds, deadline) == 0) return WAIT_TIMEOUT;
            continue;
        }
        if (result != WAIT_OBJECT_0 + count) return result;
    }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD wakeMask) {
    return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}

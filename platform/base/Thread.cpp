#include "platform/base/Thread.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/base/LastError.h"

namespace {

class ThreadObject : public ostrana::WaitableObject {
public:
    bool IsSignaled() const override { return m_finished; }
    void Finish(DWORD exitCode) {
        {
            std::lock_guard guard(WaitLock());
            m_exitCode = exitCode;
            m_finished = true;
        }
        NotifyWaiters();
    }
    DWORD ExitCode() const {
        std::lock_guard guard(WaitLock());
        return m_finished ? m_exitCode : STILL_ACTIVE;
    }
    std::atomic<int> priority{THREAD_PRIORITY_NORMAL};

private:
    bool m_finished = false;
    DWORD m_exitCode = 0;
};

std::atomic<DWORD> g_nextThreadId{1};
thread_local DWORD t_threadId = 0;

struct ThreadEndActions {
    std::vector<void (*)()> actions;
    void Run() {
        while (!actions.empty()) {
            auto action = actions.back();
            actions.pop_back();
            action();
        }
    }
    ~ThreadEndActions() { Run(); }
};

thread_local ThreadEndActions t_endActions;

} // namespace

HANDLE CreateThread(void* /*securityAttributes*/, SIZE_T /*stackSize*/, LPTHREAD_START_ROUTINE startAddress,
                    LPVOID parameter, DWORD /*creationFlags*/, LPDWORD threadId) {
    if (startAddress == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<ThreadObject>();
    DWORD id = g_nextThreadId.fetch_add(1);
    try {
        std::thread([object, startAddress, parameter, id] {
            t_threadId = id;
            DWORD code = startAddress(parameter);
            t_endActions.Run();
            object->Finish(code);
        }).detach();
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (threadId != nullptr) {
        *threadId = id;
    }
    return ostrana::InsertKernelObject(object);
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    auto object = ostrana::LookupKernelObjectAs<ThreadObject>(thread);
    if (!object || exitCode == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *exitCode = object->ExitCode();
    return TRUE;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    auto object = ostrana::LookupKernelObjectAs<ThreadObject>(thread);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->priority = priority;
    return TRUE;
}

int GetThreadPriority(HANDLE thread) {
    auto object = ostrana::LookupKernelObjectAs<ThreadObject>(thread);
    return object ? object->priority.load() : THREAD_PRIORITY_NORMAL;
}

DWORD GetCurrentThreadId() {
    if (t_threadId == 0) {
        t_threadId = g_nextThreadId.fetch_add(1);
    }
    return t_threadId;
}

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

DWORD GetTickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace ostrana {

void AtThreadEnd(void (*action)()) { t_endActions.actions.push_back(action); }

} // namespace ostrana

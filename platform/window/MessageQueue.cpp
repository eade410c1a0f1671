// The per-thread queues and the cross-thread send protocol. A thread's queue is made on first use
// and retired when the thread ends: its pending senders are answered 0 and later ones get 0 at once.
#include <atomic>
#include <chrono>

#include "platform/base/Thread.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

void AnswerPending(ThreadQueue& queue) {
    for (auto& record : queue.sent) {
        record->done = true;
        record->result = 0;
        if (record->sender) record->sender->wake.notify_all();
    }
    queue.sent.clear();
}

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (!queue) return;
        {
            Lock lock = LockSystem();
            queue->alive = false;
            AnswerPending(*queue);
            Sys().queues.erase(queue->thread);
        }
        ForgetThreadWindows(queue->thread);
    }
};

thread_local QueueHolder t_holder;

} // namespace

System& Sys() {
    static System* system = new System; // outlives every thread's queue holder
    return *system;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD thread) {
    auto it = Sys().queues.find(thread);
    return it != Sys().queues.end() && it->second->alive ? it->second : nullptr;
}

std::shared_ptr<ThreadQueue> CurrentQueueLocked() {
    if (!t_holder.queue) {
        t_holder.queue = std::make_shared<ThreadQueue>();
        t_holder.queue->thread = GetCurrentThreadId();
        Sys().queues[t_holder.queue->thread] = t_holder.queue;
    }
    return t_holder.queue;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
    Lock lock = LockSystem();
    return CurrentQueueLocked();
}

void WakeQueue(DWORD thread) {
    if (auto queue = QueueOf(thread)) queue->wake.notify_all();
}

// Serves one sent message on this thread and answers its sender.
void ServeSent(const std::shared_ptr<SentMessage>& record) {
    LRESULT result = 0;
    {
        Lock lock = LockSystem();
        CurrentQueueLocked()->sendDepth++;
    }
    if (record->work) {
        record->work();
    } else if (IsWindow(record->window)) {
        result = CallWindowProcA(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(record->window, GWLP_WNDPROC)),
                                 record->window, record->message, record->wParam, record->lParam);
    }
    Lock lock = LockSystem();
    CurrentQueueLocked()->sendDepth--;
    record->result = result;
    record->done = true;
    if (record->sender) record->sender->wake.notify_all();
}

// Serves every sent message waiting for this thread; the lock is held on entry and on return.
void ServeAllSent(Lock& lock, ThreadQueue& queue) {
    while (!queue.sent.empty()) {
        auto record = queue.sent.front();
        queue.sent.pop_front();
        lock.unlock();
        ServeSent(record);
        lock.lock();
    }
}

LRESULT SendAcross(DWORD thread, const std::shared_ptr<SentMessage>& record) {
    Lock lock = LockSystem();
    auto me = CurrentQueueLocked();
    auto target = QueueOf(thread);
    if (!target) return 0;
    record->sender = me;
    target->sent.push_back(record);
    target->wake.notify_all();
    while (!record->done) {
        if (!me->sent.empty()) {
            ServeAllSent(lock, *me);
            continue;
        }
        me->wake.wait(lock);
    }
    return record->result;
}

} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD thread = 0;
    WNDPROC procedure = nullptr;
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) return 0;
        thread = object->thread;
        procedure = object->proc;
    }
    if (thread == GetCurrentThreadId()) return CallWindowProcA(procedure, window, message, wParam, lParam);
    auto record = std::make_shared<SentMessage>();
    record->window = window;
    record->message = message;
    record->wParam = wParam;
    record->lParam = lParam;
    return SendAcross(thread, record);
}

LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT, UINT, PDWORD_PTR result) {
    if (!IsWindow(window)) return 0;
    LRESULT answer = SendMessageA(window, message, wParam, lParam);
    if (result != nullptr) *result = static_cast<DWORD_PTR>(answer);
    return 1;
}

BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0) return FALSE;
    if (thread == GetCurrentThreadId()) {
        SendMessageA(window, message, wParam, lParam);
        return TRUE;
    }
    return PostMessageA(window, message, wParam, lParam);
}

BOOL InSendMessage() {
    Lock lock = LockSystem();
    return CurrentQueueLocked()->sendDepth > 0;
}

namespace ostrana {

void RunOnWindowThread(HWND window, const std::function<void()>& work) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0) return;
    if (thread == GetCurrentThreadId()) {
        work();
        return;
    }
    auto record = std::make_shared<SentMessage>();
    record->work = work;
    SendAcross(thread, record);
}

} // namespace ostrana

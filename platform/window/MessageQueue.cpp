// The per-thread queues and the cross-thread send protocol. A thread's queue is made on first use
// and retired when the thread ends: its pending senders are answered 0 and later ones get 0 at once.
// A thread with a queue also answers sends while it waits for kernel objects (its wait companion).
#include <atomic>
#include <chrono>
#include <optional>

#include "platform/base/KernelObject.h"
#include "platform/base/LastError.h"
#include "platform/base/Thread.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {

void ServeAllSent(Lock& lock, ThreadQueue& queue);

namespace {

// A thread that has not looked at its queue for this long, and is not waiting in a way that
// answers sends, counts as hung for SMTO_ABORTIFHUNG.
constexpr DWORD kHungAfter = 5000;

void AnswerPending(ThreadQueue& queue) {
    for (auto& record : queue.sent) {
        record->done = true;
        record->result = 0;
        if (record->sender) record->sender->wake.notify_all();
    }
    queue.sent.clear();
    queue.sentPending = false;
}

// Lets the thread's kernel waits answer the messages sent to it.
class QueueWaitCompanion : public WaitCompanion {
public:
    explicit QueueWaitCompanion(std::shared_ptr<ThreadQueue> queue) : m_queue(std::move(queue)) {}
    void EnterWait() override {
        Lock lock = LockSystem();
        m_queue->kernelWaits++;
    }
    void LeaveWait() override {
        Lock lock = LockSystem();
        m_queue->kernelWaits--;
        m_queue->lastLook = GetTickCount();
    }
    bool HasSentMessages() const override { return m_queue->sentPending; }
    void ServeSentMessages() override {
        Lock lock = LockSystem();
        ServeAllSent(lock, *m_queue);
    }

private:
    std::shared_ptr<ThreadQueue> m_queue;
};

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    std::unique_ptr<QueueWaitCompanion> companion;
    void Retire() {
        if (!queue) return;
        SetThreadWaitCompanion(nullptr);
        {
            Lock lock = LockSystem();
            queue->alive = false;
            AnswerPending(*queue);
            Sys().queues.erase(queue->thread);
        }
        ForgetThreadWindows(queue->thread);
        queue.reset();
        companion.reset();
    }
    ~QueueHolder() { Retire(); }
};

thread_local QueueHolder t_holder;

void RetireThreadQueue() { t_holder.Retire(); }

bool IsHung(const ThreadQueue& queue) {
    bool answering = queue.retrieving || queue.sending || queue.kernelWaits > 0;
    return !answering && static_cast<LONG>(GetTickCount() - queue.lastLook) > static_cast<LONG>(kHungAfter);
}

// Takes a send that its sender gave up on out of the target's queue, unless it is being served.
void Withdraw(DWORD thread, const std::shared_ptr<SentMessage>& record) {
    auto target = QueueOf(thread);
    if (!target) return;
    std::erase(target->sent, record);
    target->sentPending = !target->sent.empty();
}

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
        t_holder.queue->lastLook = GetTickCount();
        Sys().queues[t_holder.queue->thread] = t_holder.queue;
        t_holder.companion = std::make_unique<QueueWaitCompanion>(t_holder.queue);
        SetThreadWaitCompanion(t_holder.companion.get());
        AtThreadEnd(RetireThreadQueue);
    }
    return t_holder.queue;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
    Lock lock = LockSystem();
    return CurrentQueueLocked();
}

void SignalQueue(ThreadQueue& queue) {
    queue.arrivals++;
    queue.wake.notify_all();
    if (queue.kernelWaits > 0) WakeWaitingThreads();
}

void WakeQueue(DWORD thread) {
    if (auto queue = QueueOf(thread)) SignalQueue(*queue);
}

void PushSent(ThreadQueue& queue, std::shared_ptr<SentMessage> record) {
    queue.sent.push_back(std::move(record));
    queue.sentPending = true;
    SignalQueue(queue);
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
    queue.lastLook = GetTickCount();
    while (!queue.sent.empty()) {
        auto record = queue.sent.front();
        queue.sent.pop_front();
        queue.sentPending = !queue.sent.empty();
        lock.unlock();
        ServeSent(record);
        lock.lock();
    }
}

// Queues the send on the target thread and waits for its answer, serving the sends made to this
// thread meanwhile unless `block`. False when the deadline passed first (the send is withdrawn
// unless it is already being served).
bool SendAcross(DWORD thread, const std::shared_ptr<SentMessage>& record, bool block,
                std::optional<std::chrono::steady_clock::time_point> deadline) {
    Lock lock = LockSystem();
    auto me = CurrentQueueLocked();
    auto target = QueueOf(thread);
    if (!target) return true;
    record->sender = me;
    PushSent(*target, record);
    me->sending++;
    while (!record->done) {
        if (!block && !me->sent.empty()) {
            ServeAllSent(lock, *me);
            continue;
        }
        if (!deadline) {
            me->wake.wait(lock);
        } else if (me->wake.wait_until(lock, *deadline) == std::cv_status::timeout && !record->done) {
            Withdraw(thread, record);
            me->sending--;
            return false;
        }
    }
    me->sending--;
    return true;
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
    SendAcross(thread, record, false, std::nullopt);
    return record->result;
}

LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            PDWORD_PTR result) {
    DWORD thread = 0;
    WNDPROC procedure = nullptr;
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        thread = object->thread;
        procedure = object->proc;
        if (thread != GetCurrentThreadId() && (flags & SMTO_ABORTIFHUNG)) {
            auto target = QueueOf(thread);
            if (target && IsHung(*target)) {
                SetLastError(ERROR_TIMEOUT);
                return 0;
            }
        }
    }
    LRESULT answer = 0;
    if (thread == GetCurrentThreadId()) {
        // As on Windows, a send to the caller's own thread is a call: the time-out does not apply.
        answer = CallWindowProcA(procedure, window, message, wParam, lParam);
    } else {
        auto record = std::make_shared<SentMessage>();
        record->window = window;
        record->message = message;
        record->wParam = wParam;
        record->lParam = lParam;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout);
        if (!SendAcross(thread, record, (flags & SMTO_BLOCK) != 0, deadline)) {
            SetLastError(ERROR_TIMEOUT);
            return 0;
        }
        answer = record->result;
    }
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
    SendAcross(thread, record, false, std::nullopt);
}

} // namespace ostrana

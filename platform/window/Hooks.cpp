// Keyboard hooks. The newest hook is called first; CallNextHookEx walks on through the chain that
// was current when the key was taken, so a hook removed meanwhile cannot break the walk.
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/base/Thread.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

struct Hook {
    int id;
    HOOKPROC procedure;
    DWORD thread; // 0: every thread
};

HandleTable<Hook>& Hooks() {
    static HandleTable<Hook> table(5);
    return table;
}

std::mutex& OrderLock() {
    static std::mutex lock;
    return lock;
}

std::vector<HHOOK>& Order() {
    static std::vector<HHOOK> order; // newest first
    return order;
}

thread_local std::vector<std::vector<HHOOK>> t_chains;

LRESULT CallFrom(const std::vector<HHOOK>& chain, std::size_t index, int code, WPARAM wParam, LPARAM lParam) {
    for (; index < chain.size(); ++index) {
        auto hook = Hooks().Lookup(chain[index]);
        if (hook) return hook->procedure(code, wParam, lParam);
    }
    return 0;
}

} // namespace

bool RunKeyboardHooks(const MSG& msg) {
    std::vector<HHOOK> chain;
    {
        std::lock_guard guard(OrderLock());
        DWORD thread = GetCurrentThreadId();
        for (HHOOK handle : Order()) {
            auto hook = Hooks().Lookup(handle);
            if (hook && hook->id == WH_KEYBOARD && (hook->thread == 0 || hook->thread == thread)) chain.push_back(handle);
        }
    }
    if (chain.empty()) return false;
    t_chains.push_back(chain);
    LRESULT result = CallFrom(chain, 0, HC_ACTION, msg.wParam, msg.lParam);
    t_chains.pop_back();
    return result != 0;
}

} // namespace ostrana::detail

using namespace ostrana::detail;

HHOOK SetWindowsHookExA(int hookId, HOOKPROC procedure, HINSTANCE, DWORD threadId) {
    if (hookId != WH_KEYBOARD || procedure == nullptr) return nullptr;
    auto handle = static_cast<HHOOK>(Hooks().Insert(std::make_shared<Hook>(Hook{hookId, procedure, threadId})));
    std::lock_guard guard(OrderLock());
    Order().insert(Order().begin(), handle);
    return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    if (!Hooks().Remove(hook)) return FALSE;
    std::lock_guard guard(OrderLock());
    std::erase(Order(), hook);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    if (t_chains.empty()) return 0;
    const std::vector<HHOOK>& chain = t_chains.back();
    auto it = std::find(chain.begin(), chain.end(), hook);
    if (it == chain.end()) return 0;
    return CallFrom(chain, static_cast<std::size_t>(it - chain.begin()) + 1, code, wParam, lParam);
}

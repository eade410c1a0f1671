#include "tests/support/WindowHarness.h"

#include <chrono>
#include <map>
#include <sstream>

#include "platform/base/Thread.h"
#include "platform/window/Controls.h"
#include "platform/window/MessageBox.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::test {
namespace {

LRESULT HelperProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterHelperClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = HelperProcedure;
        windowClass.lpszClassName = "OstranaHarness";
        RegisterClassA(&windowClass);
    });
}

std::mutex& RecorderLock() {
    static std::mutex lock;
    return lock;
}

std::map<HWND, MessageRecorder*>& Recorders() {
    static std::map<HWND, MessageRecorder*> recorders;
    return recorders;
}

} // namespace

UiThread::UiThread() {
    RegisterHelperClass();
    m_thread = std::thread([this] { Loop(); });
    std::unique_lock lock(m_lock);
    m_ready.wait(lock, [this] { return m_helper != nullptr; });
}

UiThread::~UiThread() {
    HWND helper = m_helper;
    Run([helper] {
        DestroyWindow(helper);
        PostQuitMessage(0);
    });
    m_thread.join();
}

void UiThread::Loop() {
    HWND helper = CreateWindowExA(0, "OstranaHarness", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    {
        std::lock_guard guard(m_lock);
        m_threadId = GetCurrentThreadId();
        m_helper = helper;
    }
    m_ready.notify_all();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (PreTranslate(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void UiThread::Run(const std::function<void()>& work) { RunOnWindowThread(m_helper, work); }

void UiThread::WaitIdle() {
    Run([] { PumpUntilIdle(); });
}

void CancelOpenDialogs() {
    for (int round = 0; round < 16; ++round) {
        HWND dialog = FindWindowA("#32770", nullptr);
        if (dialog == nullptr) return;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        HWND ended = dialog;
        WindowWaiter waiter;
        if (!waiter.WaitUntil([ended] { return !IsWindow(ended); }, 5000)) return;
    }
}

WindowWaiter::WindowWaiter() { AddDisplayObserver(this); }
WindowWaiter::~WindowWaiter() { RemoveDisplayObserver(this); }

void WindowWaiter::OnWindowChanged(HWND, WindowChange) {
    {
        std::lock_guard guard(m_lock);
        ++m_generation;
    }
    m_changed.notify_all();
}

HWND WindowWaiter::WaitForTopLevel(const std::string& className, const std::string& caption, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    HWND found = nullptr;
    {
        std::unique_lock lock(m_lock);
        while (found == nullptr) {
            for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
                if (WindowClassName(window) == className && IsWindowVisible(window) &&
                    (caption.empty() || WindowText(window) == caption)) {
                    found = window;
                    break;
                }
            }
            if (found != nullptr) {
                break;
            }
            unsigned seen = m_generation;
            if (!m_changed.wait_until(lock, deadline, [&] { return m_generation != seen; })) return nullptr;
        }
    }
    // A window becomes visible before its dialog has set the focus; once its thread answers a sent
    // message it has finished starting up and waits in its message loop.
    RunOnWindowThread(found, [] {});
    return found;
}

bool WindowWaiter::WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_lock);
    for (;;) {
        if (condition()) return true;
        unsigned seen = m_generation;
        if (!m_changed.wait_until(lock, deadline, [&] { return m_generation != seen; })) return condition();
    }
}

std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"}, {WM_SETTEXT, "WM_SETTEXT"}, {WM_PAINT, "WM_PAINT"}, {WM_CLOSE, "WM_CLOSE"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_DRAWITEM, "WM_DRAWITEM"}, {WM_MEASUREITEM, "WM_MEASUREITEM"}, {WM_SETFONT, "WM_SETFONT"},
        {WM_NOTIFY, "WM_NOTIFY"}, {WM_CONTEXTMENU, "WM_CONTEXTMENU"}, {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"}, {WM_INITDIALOG, "WM_INITDIALOG"},
        {WM_COMMAND, "WM_COMMAND"}, {WM_TIMER, "WM_TIMER"}, {WM_HSCROLL, "WM_HSCROLL"}, {WM_VSCROLL, "WM_VSCROLL"},
        {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"}, {WM_MENUSELECT, "WM_MENUSELECT"}, {WM_MENUCHAR, "WM_MENUCHAR"},
        {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"}, {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
        {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"}, {WM_CTLCOLORDLG, "WM_CTLCOLORDLG"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"}, {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_GETDLGCODE, "WM_GETDLGCODE"}, {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
        {WM_EXITMENULOOP, "WM_EXITMENULOOP"}, {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"},
        {WM_IME_CHAR, "WM_IME_CHAR"}, {WM_CUT, "WM_CUT"}, {WM_COPY, "WM_COPY"}, {WM_PASTE, "WM_PASTE"},
        {WM_CLEAR, "WM_CLEAR"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"}, {WM_NCHITTEST, "WM_NCHITTEST"}, {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"}, {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"}, {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"}, {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_MOVING, "WM_MOVING"}, {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"}, {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
    };
    auto it = names.find(message);
    if (it != names.end()) return it->second;
    std::ostringstream out;
    if (message >= WM_APP) out << "WM_APP+" << (message - WM_APP);
    else if (message >= WM_USER) out << "WM_USER+" << (message - WM_USER);
    else out << "0x" << std::hex << message;
    return out.str();
}

namespace {

std::string HitName(WPARAM hit) {
    switch (static_cast<int>(hit)) {
    case HTNOWHERE: return "HTNOWHERE";
    case HTCLIENT: return "HTCLIENT";
    case HTCAPTION: return "HTCAPTION";
    case HTHSCROLL: return "HTHSCROLL";
    case HTVSCROLL: return "HTVSCROLL";
    case HTBORDER: return "HTBORDER";
    case HTCLOSE: return "HTCLOSE";
    default: return std::to_string(static_cast<int>(hit));
    }
}

// "SB_LINEDOWN"; the thumb codes carry their position.
std::string ScrollName(WPARAM wParam) {
    static const char* const codes[] = {"SB_LINEUP", "SB_LINEDOWN", "SB_PAGEUP", "SB_PAGEDOWN", "SB_THUMBPOSITION",
                                        "SB_THUMBTRACK", "SB_TOP", "SB_BOTTOM", "SB_ENDSCROLL"};
    WORD code = LOWORD(wParam);
    if (code > SB_ENDSCROLL) return std::to_string(code);
    std::string name = codes[code];
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) name += " " + std::to_string(HIWORD(wParam));
    return name;
}

std::string SysCommandName(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MOVE: return "SC_MOVE";
    case SC_CLOSE: return "SC_CLOSE";
    default: return std::to_string(command);
    }
}

} // namespace

MessageRecorder::MessageRecorder(HWND window, std::vector<UINT> only) : m_window(window), m_only(std::move(only)) {
    {
        std::lock_guard guard(RecorderLock());
        Recorders()[window] = this;
    }
    m_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
}

MessageRecorder::~MessageRecorder() {
    if (IsWindow(m_window) &&
        GetWindowLongPtrA(m_window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Procedure)) {
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
    }
    std::lock_guard guard(RecorderLock());
    Recorders().erase(m_window);
}

std::vector<std::string> MessageRecorder::Messages() const {
    std::lock_guard guard(m_lock);
    return m_messages;
}

void MessageRecorder::Clear() {
    std::lock_guard guard(m_lock);
    m_messages.clear();
}

LRESULT MessageRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageRecorder* recorder = nullptr;
    {
        std::lock_guard guard(RecorderLock());
        auto it = Recorders().find(window);
        if (it != Recorders().end()) recorder = it->second;
    }
    if (recorder == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    bool wanted = recorder->m_only.empty() ||
                  std::find(recorder->m_only.begin(), recorder->m_only.end(), message) != recorder->m_only.end();
    if (wanted) {
        std::string entry = MessageName(message);
        if (message == WM_COMMAND) entry += " " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam));
        if (message == WM_NOTIFY && lParam != 0) entry += " " + std::to_string(static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code));
        if (message == WM_CHAR || message == WM_KEYDOWN || message == WM_KEYUP || message == WM_TIMER || message == WM_ENABLE ||
            message == WM_IME_CHAR) {
            entry += " " + std::to_string(wParam);
        }
        if (message == WM_VSCROLL || message == WM_HSCROLL) entry += " " + ScrollName(wParam);
        if (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) entry += " " + HitName(wParam);
        if (message == WM_SYSCOMMAND) entry += " " + SysCommandName(wParam);
        std::lock_guard guard(recorder->m_lock);
        recorder->m_messages.push_back(entry);
    }
    WNDPROC previous = recorder->m_previous;
    if (message == WM_NCDESTROY) {
        std::lock_guard guard(RecorderLock());
        Recorders().erase(window);
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

::testing::AssertionResult SameSequence(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "message sequences differ\n  expected | actual\n";
    std::size_t rows = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < rows; ++i) {
        std::string left = i < expected.size() ? expected[i] : "-";
        std::string right = i < actual.size() ? actual[i] : "-";
        out << (left == right ? "  " : "* ") << left << std::string(left.size() < 28 ? 28 - left.size() : 1, ' ') << "| "
            << right << '\n';
    }
    return ::testing::AssertionFailure() << out.str();
}

} // namespace ostrana::test

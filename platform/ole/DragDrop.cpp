#include "platform/ole/DragDrop.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/ole/DropFiles.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"

using namespace ostrana;

namespace {

std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

std::map<HWND, IDropTarget*>& Targets() {
    static std::map<HWND, IDropTarget*> targets;
    return targets;
}

// The registered target of a window (a new reference), or null. Registrations of windows that
// are gone are dropped on the way.
IDropTarget* TargetOf(HWND window) {
    IDropTarget* stale = nullptr;
    IDropTarget* found = nullptr;
    {
        std::lock_guard guard(TableLock());
        auto it = Targets().find(window);
        if (it == Targets().end()) return nullptr;
        if (!IsWindow(window)) {
            stale = it->second;
            Targets().erase(it);
        } else {
            found = it->second;
            found->AddRef();
        }
    }
    if (stale != nullptr) stale->Release();
    return found;
}

// Drops the registration of a window that is destroyed without revoking it.
class RegistrationSweeper : public DisplayObserver {
public:
    void OnWindowChanged(HWND window, WindowChange change) override {
        if (change != WindowChange::Destroyed) return;
        IDropTarget* target = nullptr;
        {
            std::lock_guard guard(TableLock());
            auto it = Targets().find(window);
            if (it == Targets().end()) return;
            target = it->second;
            Targets().erase(it);
        }
        target->Release();
    }
};

void WatchDestruction() {
    static std::once_flag once;
    std::call_once(once, [] {
        static RegistrationSweeper sweeper;
        AddDisplayObserver(&sweeper);
    });
}

bool AcceptsFiles(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

bool HasFiles(IDataObject* data) {
    FORMATETC format = DefaultFormatEtc(CF_HDROP);
    return data->QueryGetData(&format) == S_OK;
}

// One drag: the window under the cursor that takes drops, what it answered, and the outcome.
class DragSession {
public:
    DragSession(IDataObject* data, IDropSource* source, DWORD okEffects) : m_data(data), m_source(source), m_ok(okEffects) {
        m_dropButtons = CurrentKeyState() & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
    }

    bool Done() const { return m_done; }
    HRESULT Result() const { return m_result; }
    DWORD Effect() const { return m_effect; }
    void PressEscape() { m_escape = true; }

    // Asks the source whether to go on, then follows the cursor.
    void Poll() {
        if (m_done) return;
        DWORD keys = CurrentKeyState();
        bool escape = m_escape || (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
        HRESULT answer = m_source->QueryContinueDrag(escape ? TRUE : FALSE, keys);
        if (answer == DRAGDROP_S_CANCEL) {
            Leave();
            Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
            return;
        }
        if (answer == DRAGDROP_S_DROP) {
            Drop(keys);
            return;
        }
        POINT cursor;
        GetCursorPos(&cursor);
        if (!m_started || cursor.x != m_cursor.x || cursor.y != m_cursor.y || keys != m_keys) Move(cursor, keys);
    }

    void Cancel() {
        if (m_done) return;
        Leave();
        Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
    }

private:
    HWND FindTarget(POINT cursor, IDropTarget** target) const {
        *target = nullptr;
        for (HWND window = DeepestWindowAt(cursor); window != nullptr; window = GetParent(window)) {
            if ((*target = TargetOf(window)) != nullptr) return window;
            if (AcceptsFiles(window)) return HasFiles(m_data) ? window : nullptr;
        }
        return nullptr;
    }

    void Move(POINT cursor, DWORD keys) {
        m_started = true;
        m_cursor = cursor;
        m_keys = keys;
        IDropTarget* target = nullptr;
        HWND window = FindTarget(cursor, &target);
        POINTL point{cursor.x, cursor.y};
        DWORD effect = m_ok;
        if (window != m_window) {
            Leave();
            m_window = window;
            m_target = target;
            target = nullptr;
            if (m_window != nullptr) {
                if (m_target != nullptr) {
                    IDropTarget* entered = m_target;
                    IDataObject* data = m_data;
                    RunOnWindowThread(m_window, [&] { entered->DragEnter(data, keys, point, &effect); });
                } else {
                    effect = FileEffect();
                }
            }
        } else if (m_window != nullptr) {
            if (m_target != nullptr) {
                IDropTarget* over = m_target;
                RunOnWindowThread(m_window, [&] { over->DragOver(keys, point, &effect); });
            } else {
                effect = FileEffect();
            }
        }
        if (target != nullptr) target->Release();
        m_effect = m_window != nullptr ? effect & m_ok : DROPEFFECT_NONE;
        if (m_source->GiveFeedback(m_effect) == DRAGDROP_S_USEDEFAULTCURSORS) {
            SetCursor(LoadCursorA(nullptr, m_effect == DROPEFFECT_NONE ? IDC_NO : IDC_ARROW));
        }
    }

    DWORD FileEffect() const { return m_ok & DROPEFFECT_COPY; }

    void Leave() {
        if (m_target != nullptr) {
            IDropTarget* left = m_target;
            RunOnWindowThread(m_window, [&] { left->DragLeave(); });
            left->Release();
        }
        m_target = nullptr;
        m_window = nullptr;
        m_effect = DROPEFFECT_NONE;
    }

    void Drop(DWORD keys) {
        POINT cursor;
        GetCursorPos(&cursor);
        if (!m_started || cursor.x != m_cursor.x || cursor.y != m_cursor.y) Move(cursor, keys | m_dropButtons);
        if (m_window == nullptr || m_effect == DROPEFFECT_NONE) {
            Leave();
            Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
            return;
        }
        DWORD effect = m_effect;
        if (m_target != nullptr) {
            IDropTarget* target = m_target;
            IDataObject* data = m_data;
            POINTL point{cursor.x, cursor.y};
            RunOnWindowThread(m_window, [&] { target->Drop(data, keys, point, &effect); });
            target->Release();
            m_target = nullptr;
        } else {
            effect = PostDroppedFiles(cursor) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        }
        m_window = nullptr;
        effect &= m_ok;
        Finish(effect != DROPEFFECT_NONE ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL, effect);
    }

    // A copy of the dropped-files block, its point in the window's client coordinates, posted as
    // WM_DROPFILES; the window frees it with DragFinish.
    bool PostDroppedFiles(POINT cursor) {
        FORMATETC format = DefaultFormatEtc(CF_HDROP);
        STGMEDIUM medium{};
        if (m_data->GetData(&format, &medium) != S_OK) return false;
        HGLOBAL copy = GlobalDuplicate(medium.hGlobal, GMEM_MOVEABLE | GMEM_SHARE);
        ReleaseStgMedium(&medium);
        if (copy == nullptr) return false;
        {
            GlobalLockGuard lock(copy);
            if (!lock || GlobalSize(copy) < sizeof(DROPFILES)) {
                GlobalFree(copy);
                return false;
            }
            DROPFILES header;
            std::memcpy(&header, lock.Data(), sizeof header);
            POINT client = cursor;
            ScreenToClient(m_window, &client);
            header.pt = client;
            header.fNC = FALSE;
            std::memcpy(lock.Data(), &header, sizeof header);
        }
        if (!PostMessageA(m_window, WM_DROPFILES, reinterpret_cast<WPARAM>(copy), 0)) {
            GlobalFree(copy);
            return false;
        }
        return true;
    }

    void Finish(HRESULT result, DWORD effect) {
        m_done = true;
        m_result = result;
        m_effect = effect;
    }

    IDataObject* m_data;
    IDropSource* m_source;
    DWORD m_ok;
    DWORD m_dropButtons = 0;
    bool m_escape = false;
    bool m_started = false;
    bool m_done = false;
    HRESULT m_result = DRAGDROP_S_CANCEL;
    DWORD m_effect = DROPEFFECT_NONE;
    POINT m_cursor{};
    DWORD m_keys = 0;
    HWND m_window = nullptr;
    IDropTarget* m_target = nullptr;
};

constexpr const char* kCaptureClass = "OstranaDragCapture";
constexpr UINT_PTR kPollTimer = 1;

// The hidden window that holds the capture for the length of a drag: every mouse message, who
// ever pumps it, reaches the session through it.
LRESULT CaptureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* session = reinterpret_cast<DragSession*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (session != nullptr) {
        switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_TIMER: session->Poll(); return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam == VK_ESCAPE) session->PressEscape();
            session->Poll();
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) session->Cancel();
            return 0;
        case WM_SETCURSOR: return TRUE;
        default: break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterCaptureClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = CaptureProcedure;
        windowClass.lpszClassName = kCaptureClass;
        RegisterClassA(&windowClass);
    });
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// Serves messages until `done` says so; keys are kept from the windows meanwhile. False when the
// thread was asked to quit.
template <typename Done> bool RunCaptureLoop(HWND capture, Done done) {
    MSG msg;
    while (!done()) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (IsKeyMessage(msg.message) || msg.hwnd == capture) continue;
        DispatchMessageA(&msg);
    }
    return true;
}

} // namespace

namespace ostrana {

bool WaitForDragStart(const RECT& screenRect) {
    RegisterCaptureClass();
    HWND capture = CreateWindowExA(WS_EX_TOOLWINDOW, kCaptureClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (capture == nullptr) return false;
    SetCapture(capture);
    SetTimer(capture, kPollTimer, 50, nullptr);
    bool started = false;
    bool ended = false;
    RunCaptureLoop(capture, [&] {
        POINT cursor;
        GetCursorPos(&cursor);
        if (!(CurrentKeyState() & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) || (GetAsyncKeyState(VK_ESCAPE) & 0x8000)) ended = true;
        else if (!PtInRect(&screenRect, cursor)) started = true;
        return started || ended || GetCapture() != capture;
    });
    KillTimer(capture, kPollTimer);
    if (GetCapture() == capture) ReleaseCapture();
    DestroyWindow(capture);
    return started;
}

DWORD CurrentKeyState() {
    DWORD state = 0;
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) state |= MK_LBUTTON;
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000) state |= MK_RBUTTON;
    if (GetAsyncKeyState(VK_MBUTTON) & 0x8000) state |= MK_MBUTTON;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) state |= MK_SHIFT;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) state |= MK_CONTROL;
    if (GetAsyncKeyState(VK_MENU) & 0x8000) state |= MK_ALT;
    return state;
}

} // namespace ostrana

HRESULT RegisterDragDrop(HWND window, IDropTarget* target) {
    if (target == nullptr) return E_INVALIDARG;
    if (!IsWindow(window)) return DRAGDROP_E_INVALIDHWND;
    WatchDestruction();
    std::lock_guard guard(TableLock());
    if (Targets().count(window) != 0) return DRAGDROP_E_ALREADYREGISTERED;
    target->AddRef();
    Targets()[window] = target;
    return S_OK;
}

HRESULT RevokeDragDrop(HWND window) {
    IDropTarget* target = nullptr;
    {
        std::lock_guard guard(TableLock());
        auto it = Targets().find(window);
        if (it == Targets().end()) return DRAGDROP_E_NOTREGISTERED;
        target = it->second;
        Targets().erase(it);
    }
    target->Release();
    return S_OK;
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect) {
    if (data == nullptr || source == nullptr || effect == nullptr) return E_INVALIDARG;
    *effect = DROPEFFECT_NONE;
    RegisterCaptureClass();
    HWND capture = CreateWindowExA(WS_EX_TOOLWINDOW, kCaptureClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (capture == nullptr) return E_FAIL;
    data->AddRef();
    source->AddRef();
    DragSession session(data, source, okEffects);
    SetWindowLongPtrA(capture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&session));
    SetCapture(capture);
    SetTimer(capture, kPollTimer, 50, nullptr);
    session.Poll();
    MSG msg;
    while (!session.Done()) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            session.Cancel();
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsKeyMessage(msg.message)) {
            // Keys belong to the drag while it lasts.
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) session.PressEscape();
            session.Poll();
            continue;
        }
        DispatchMessageA(&msg);
    }
    SetWindowLongPtrA(capture, GWLP_USERDATA, 0);
    KillTimer(capture, kPollTimer);
    if (GetCapture() == capture) ReleaseCapture();
    DestroyWindow(capture);
    source->Release();
    data->Release();
    *effect = session.Effect();
    return session.Result();
}

void DragAcceptFiles(HWND window, BOOL accept) {
    LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
    SetWindowLongPtrA(window, GWL_EXSTYLE, accept ? (style | WS_EX_ACCEPTFILES) : (style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES)));
}

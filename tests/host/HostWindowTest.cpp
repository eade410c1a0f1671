// The container's window: tasks from other threads run in order on its thread, and quitting while
// a modal dialog is open ends the dialog before the teardown runs in the outer loop.
#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>

#include "host/HostWindow.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "res/ResourceIds.h"
#include "res/Resources.h"
#include "tests/support/WindowHarness.h"

using namespace ostrana;
using namespace ostrana::host;

namespace {

INT_PTR Cancellable(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Runs a container window's loop on a thread of its own, as main does.
class WindowThread {
public:
    explicit WindowThread(std::function<void(HostWindow&)> prepare)
    {
        std::promise<HostWindow*> made;
        m_thread = std::thread([&made, prepare, this] {
            HostWindow window;
            window.OnClosing([this] { Note("closing"); });
            prepare(window);
            made.set_value(&window);
            m_code = window.Run();
            Note("ended");
        });
        m_window = made.get_future().get();
    }
    ~WindowThread()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    HostWindow& Window() { return *m_window; }
    void Join() { m_thread.join(); }
    void Note(const std::string& what)
    {
        std::lock_guard guard(m_lock);
        m_notes.push_back(what);
    }
    std::vector<std::string> Notes()
    {
        std::lock_guard guard(m_lock);
        return m_notes;
    }
    int Code() const { return m_code; }

private:
    std::thread m_thread;
    HostWindow* m_window = nullptr;
    std::mutex m_lock;
    std::vector<std::string> m_notes;
    int m_code = -1;
};

TEST(HostWindow, TasksRunInOrderAndQuitEndsTheLoop)
{
    WindowThread ui([](HostWindow&) {});
    for (int i = 0; i < 3; ++i)
        ui.Window().Post([&ui, i] { ui.Note("task " + std::to_string(i)); });
    ui.Window().Quit();
    ui.Join();
    EXPECT_EQ(ui.Notes(), (std::vector<std::string>{"task 0", "task 1", "task 2", "closing", "ended"}));
    EXPECT_EQ(ui.Code(), 0);
}

TEST(HostWindow, QuitDuringAModalDialogEndsTheDialogBeforeTheTeardown)
{
    ostrana::test::WindowWaiter waiter;
    WindowThread ui([](HostWindow&) {});
    ui.Window().Post([&ui] {
        INT_PTR result = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDD_OVERWRITE), nullptr, Cancellable, 0);
        ui.Note("dialog " + std::to_string(result));
    });
    ASSERT_NE(waiter.WaitForTopLevel("#32770"), nullptr);
    ui.Window().Quit();
    ui.Join();
    EXPECT_EQ(ui.Notes(), (std::vector<std::string>{"dialog 2", "closing", "ended"}));
}

// The shell's property sheets are modeless and have no loop of their own: Escape reaches them
// through the container's loop, as the keys of any dialog do.
TEST(HostWindow, EscapeInAModelessDialogCancelsIt)
{
    ostrana::test::WindowWaiter waiter;
    static WindowThread* notes = nullptr;
    WindowThread ui([](HostWindow&) {});
    notes = &ui;
    ui.Window().Post([] {
        auto closing = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
                notes->Note("cancelled");
                DestroyWindow(dialog);
                return TRUE;
            }
            return message == WM_INITDIALOG ? TRUE : FALSE;
        };
        HWND dialog = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDD_OVERWRITE), nullptr, closing, 0);
        ShowWindow(dialog, SW_SHOW);
    });
    HWND dialog = waiter.WaitForTopLevel("#32770");
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    ui.Window().Quit();
    ui.Join();
    notes = nullptr;
    EXPECT_EQ(ui.Notes(), (std::vector<std::string>{"cancelled", "closing", "ended"}));
}

} // namespace

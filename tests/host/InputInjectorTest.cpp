// The page's input as the focused window receives it, and the page's requests as tasks for the
// user-interface thread; messages that are not well formed change nothing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/InputInjector.h"
#include "host/KeyCodes.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

using namespace ostrana;
using namespace ostrana::host;
using ostrana::test::MessageRecorder;
using ostrana::test::UiThread;

namespace {

LRESULT Plain(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

class InputInjectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ui.Run([this] {
            ResetInputState();
            m_window = test::MakeTestWindow("InjectorTarget", Plain, WS_POPUP | WS_VISIBLE, RECT{100, 50, 300, 250});
            SetFocus(m_window);
            m_recorder = std::make_unique<MessageRecorder>(
                m_window, std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_CHAR, WM_IME_CHAR, WM_LBUTTONDOWN,
                                            WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEWHEEL});
        });
    }
    void TearDown() override
    {
        m_ui.Run([this] {
            m_recorder.reset();
            DestroyWindow(m_window);
            ResetInputState();
        });
    }
    // What the window received for the messages handled since the last call.
    std::vector<std::string> Received()
    {
        m_ui.WaitIdle();
        auto messages = m_recorder->Messages();
        m_recorder->Clear();
        return messages;
    }
    InputInjector Injector()
    {
        PageActions actions;
        actions.ack = [this](std::uint64_t frame) { m_acks.push_back(frame); };
        actions.resize = [this](SIZE area, double ratio) {
            m_resized.push_back(area);
            m_ratio = ratio;
        };
        actions.property = [this](const std::string& name, long dispid, const std::string& value) {
            m_properties.push_back(name + "/" + std::to_string(dispid) + "=" + value);
        };
        actions.method = [this](const std::string& name) { m_methods.push_back(name); };
        actions.pasted = [this](const std::string& text) { m_pasted.push_back(text); };
        return InputInjector(std::move(actions), [this](std::function<void()> task) { m_tasks.push_back(std::move(task)); });
    }
    void RunTasks()
    {
        for (auto& task : m_tasks)
            m_ui.Run(task);
        m_tasks.clear();
    }

    UiThread m_ui;
    HWND m_window = nullptr;
    std::unique_ptr<MessageRecorder> m_recorder;
    std::vector<std::uint64_t> m_acks;
    std::vector<SIZE> m_resized;
    double m_ratio = 0;
    std::vector<std::string> m_properties;
    std::vector<std::string> m_methods;
    std::vector<std::string> m_pasted;
    std::vector<std::function<void()>> m_tasks;
};

TEST(KeyCodes, PhysicalKeysAsVirtualKeys)
{
    EXPECT_EQ(VirtualKeyOfCode("KeyA"), 'A');
    EXPECT_EQ(VirtualKeyOfCode("Digit7"), '7');
    EXPECT_EQ(VirtualKeyOfCode("F6"), static_cast<UINT>(VK_F6));
    EXPECT_EQ(VirtualKeyOfCode("F12"), static_cast<UINT>(VK_F12));
    EXPECT_EQ(VirtualKeyOfCode("Numpad3"), static_cast<UINT>(VK_NUMPAD3));
    EXPECT_EQ(VirtualKeyOfCode("NumpadEnter"), static_cast<UINT>(VK_RETURN));
    EXPECT_EQ(VirtualKeyOfCode("ShiftRight"), static_cast<UINT>(VK_RSHIFT));
    EXPECT_EQ(VirtualKeyOfCode("ControlLeft"), static_cast<UINT>(VK_LCONTROL));
    EXPECT_EQ(VirtualKeyOfCode("AltRight"), static_cast<UINT>(VK_RMENU));
    EXPECT_EQ(VirtualKeyOfCode("Delete"), static_cast<UINT>(VK_DELETE));
    for (const char* unknown : {"", "Key", "Keya", "KeyAB", "F0", "F13", "F1x", "Digit", "Numpad10", "Fn"})
        EXPECT_EQ(VirtualKeyOfCode(unknown), 0u) << unknown;
}

TEST_F(InputInjectorTest, KeysTypeTheirCharacterAndTellLeftFromRightModifiers)
{
    InputInjector injector = Injector();
    EXPECT_TRUE(injector.Handle(R"({"k":4,"code":"ShiftRight","key":"Shift","down":true,"mods":2})"));
    EXPECT_TRUE(GetAsyncKeyState(VK_RSHIFT) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(injector.Handle(R"({"k":4,"code":"KeyA","key":"A","down":true,"mods":2})"));
    EXPECT_TRUE(injector.Handle(R"({"k":4,"code":"KeyA","key":"A","down":false,"mods":2})"));
    EXPECT_TRUE(injector.Handle(R"({"k":4,"code":"ShiftRight","key":"Shift","down":false,"mods":0})"));
    EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    // A punctuation key types what the browser's layout says it types.
    EXPECT_TRUE(injector.Handle(R"({"k":4,"code":"Slash","key":"/","down":true,"mods":0})"));
    EXPECT_EQ(Received(), (std::vector<std::string>{"WM_KEYDOWN 16", "WM_KEYDOWN 65", "WM_CHAR 65", "WM_KEYUP 65",
                                                    "WM_KEYUP 16", "WM_KEYDOWN 191", "WM_CHAR 47"}));
}

TEST_F(InputInjectorTest, ControlChordsTypeControlCharactersAndFunctionKeysNothing)
{
    InputInjector injector = Injector();
    injector.Handle(R"({"k":4,"code":"ControlLeft","key":"Control","down":true,"mods":4})");
    injector.Handle(R"({"k":4,"code":"KeyC","key":"c","down":true,"mods":4})");
    injector.Handle(R"({"k":4,"code":"ControlLeft","key":"Control","down":false,"mods":0})");
    injector.Handle(R"({"k":4,"code":"F2","key":"F2","down":true,"mods":0})");
    EXPECT_EQ(Received(), (std::vector<std::string>{"WM_KEYDOWN 17", "WM_KEYDOWN 67", "WM_CHAR 3", "WM_KEYUP 17",
                                                    "WM_KEYDOWN 113"}));
}

TEST_F(InputInjectorTest, ComposedKoreanArrivesAsDoubleByteImeCharsAndItsKeysDoNotType)
{
    InputInjector injector = Injector();
    // While composing the browser reports "Process"; the key must not type a 'g' of its own.
    EXPECT_TRUE(injector.Handle(R"({"k":4,"code":"KeyG","key":"Process","down":true,"mods":0})"));
    EXPECT_TRUE(injector.Handle(R"({"k":5,"text":"한글","ime":true})"));
    EXPECT_TRUE(injector.Handle(R"({"k":5,"text":"ab"})"));
    // 한 is C7D1 and 글 B1DB in code page 949; the default procedure splits each into two WM_CHARs.
    EXPECT_EQ(Received(), (std::vector<std::string>{"WM_KEYDOWN 229", "WM_IME_CHAR 51153", "WM_CHAR 199", "WM_CHAR 209",
                                                    "WM_IME_CHAR 45531", "WM_CHAR 177", "WM_CHAR 219", "WM_CHAR 97",
                                                    "WM_CHAR 98"}));
}

TEST_F(InputInjectorTest, MouseButtonsAndWheelAtScreenPoints)
{
    InputInjector injector = Injector();
    EXPECT_TRUE(injector.Handle(R"({"k":2,"x":120,"y":60,"action":1,"button":0,"mods":0})"));
    EXPECT_TRUE(injector.Handle(R"({"k":2,"x":120,"y":60,"action":2,"button":0,"mods":0})"));
    EXPECT_TRUE(injector.Handle(R"({"k":2,"x":120,"y":60,"action":3,"button":0,"mods":0})"));
    EXPECT_TRUE(injector.Handle(R"({"k":2,"x":130,"y":70,"action":1,"button":2,"mods":0})"));
    EXPECT_TRUE(injector.Handle(R"({"k":2,"x":130,"y":70,"action":2,"button":2,"mods":0})"));
    EXPECT_TRUE(injector.Handle(R"({"k":3,"x":130,"y":70,"delta":-120,"mods":0})"));
    EXPECT_EQ(Received(), (std::vector<std::string>{"WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_RBUTTONDOWN", "WM_RBUTTONUP",
                                                    "WM_MOUSEWHEEL"}));
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 130);
    EXPECT_EQ(cursor.y, 70);
}

TEST_F(InputInjectorTest, AModifierReleasedOutsideThePageIsReleasedAtTheNextEvent)
{
    InputInjector injector = Injector();
    injector.Handle(R"({"k":4,"code":"ControlRight","key":"Control","down":true,"mods":8})");
    EXPECT_TRUE(GetAsyncKeyState(VK_RCONTROL) & 0x8000);
    // The browser lost the focus with Ctrl down; its next click says no modifier is held.
    injector.Handle(R"({"k":2,"x":120,"y":60,"action":0,"mods":0})");
    EXPECT_FALSE(GetAsyncKeyState(VK_RCONTROL) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
}

TEST_F(InputInjectorTest, ReleasingWhatIsHeldLetsGoOfButtonsAndModifiersOnlyOnce)
{
    InputInjector injector = Injector();
    injector.Handle(R"({"k":4,"code":"ShiftLeft","key":"Shift","down":true,"mods":1})");
    injector.Handle(R"({"k":4,"code":"ControlRight","key":"Control","down":true,"mods":9})");
    injector.Handle(R"({"k":2,"x":120,"y":60,"action":1,"button":0,"mods":9})");
    injector.Handle(R"({"k":2,"x":130,"y":70,"action":1,"button":2,"mods":9})");
    InputInjector::ReleaseHeld();
    InputInjector::ReleaseHeld(); // nothing is held any more
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_SHIFT, VK_LSHIFT, VK_CONTROL, VK_RCONTROL})
        EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << vk;
    EXPECT_EQ(Received(), (std::vector<std::string>{"WM_KEYDOWN 16", "WM_KEYDOWN 17", "WM_LBUTTONDOWN", "WM_RBUTTONDOWN",
                                                    "WM_LBUTTONUP", "WM_RBUTTONUP", "WM_KEYUP 16", "WM_KEYUP 17"}));
}

TEST_F(InputInjectorTest, RequestsRunAsTasksAndAcksAtOnce)
{
    InputInjector injector = Injector();
    EXPECT_TRUE(injector.Handle(R"({"k":1,"frame":7})"));
    EXPECT_EQ(m_acks, std::vector<std::uint64_t>{7});
    EXPECT_TRUE(injector.Handle(R"({"k":6,"w":800,"h":600,"dpr":1.5})"));
    EXPECT_TRUE(injector.Handle(R"({"k":6,"w":100000,"h":300})"));
    EXPECT_TRUE(injector.Handle(R"({"k":7,"name":"varUserID","value":"tester"})"));
    EXPECT_TRUE(injector.Handle(R"({"k":8,"name":"StartOstrana"})"));
    EXPECT_TRUE(injector.Handle(R"({"k":9,"text":"http://127.0.0.1:8080"})"));
    EXPECT_EQ(m_pasted, std::vector<std::string>{"http://127.0.0.1:8080"});
    EXPECT_TRUE(m_resized.empty()); // nothing ran on the page's thread
    RunTasks();
    ASSERT_EQ(m_resized.size(), 2u);
    EXPECT_EQ(m_resized[0].cx, 800);
    EXPECT_EQ(m_resized[1].cx, InputInjector::kMaxArea);
    EXPECT_EQ(m_ratio, 1.0);
    EXPECT_EQ(m_properties, std::vector<std::string>{"varUserID/0=tester"});
    EXPECT_EQ(m_methods, std::vector<std::string>{"StartOstrana"});
    EXPECT_EQ(ClipboardText(), "http://127.0.0.1:8080");
}

TEST_F(InputInjectorTest, MalformedMessagesChangeNothing)
{
    InputInjector injector = Injector();
    for (const char* bad : {"", "not json", "[]", "42", R"({"k":"2"})", R"({"k":99})", R"({"k":2,"x":1})",
                            R"({"k":2,"x":1,"y":2,"action":9})", R"({"k":4,"key":"a","down":true})",
                            R"({"k":4,"code":7,"down":true})", R"({"k":4,"code":"NoSuchKey","down":true})",
                            R"({"k":5,"text":""})", R"({"k":5,"text":12})", R"({"k":1,"frame":-1})",
                            R"({"k":1,"frame":"1"})", R"({"k":6,"w":0,"h":10})", R"({"k":6,"w":"9","h":9})",
                            R"({"k":7,"name":"x"})", R"({"k":8})", R"({"k":9,"text":null})"})
        EXPECT_FALSE(injector.Handle(bad)) << bad;
    EXPECT_EQ(Received(), std::vector<std::string>{});
    // Numbers far out of range are clamped, not wrapped; the wheel goes to the focus.
    EXPECT_TRUE(injector.Handle(R"({"k":3,"x":1e300,"y":-1e300,"delta":1e30})"));
    EXPECT_EQ(Received(), std::vector<std::string>{"WM_MOUSEWHEEL"});
    EXPECT_TRUE(m_acks.empty());
    EXPECT_TRUE(m_tasks.empty());
}

} // namespace

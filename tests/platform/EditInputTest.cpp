// The caret (its own rules and where the edit control puts it), the clipboard with Korean text and
// the edit control's clipboard keys, and characters composed by the input method.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

// 굴림 9 pt: 6 pixels per single-byte character, 12 per double-byte one, 12 high; 1 pixel margin.
constexpr int kAscii = 6;
constexpr int kWide = 12;
constexpr int kLine = 12;
constexpr int kMargin = 1;

struct EditHost {
    HWND parent = MakeTestWindow("EditHost", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{100, 100, 500, 400});
    ~EditHost() { DestroyWindow(parent); }
    HWND Edit(DWORD style, RECT rect, const char* text = "", int id = 5) const {
        return CreateWindowExA(0, WC_EDITA, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }
};

POINT CaretAt() { return CurrentCaret().position; }

void Press(UINT key) {
    InjectKeyPress(key);
    PumpUntilIdle();
}

void PressWith(UINT modifier, UINT key, char character = 0) {
    InjectKey(modifier, true);
    InjectKeyPress(key, character);
    InjectKey(modifier, false);
    PumpUntilIdle();
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

class CaretObserver : public DisplayObserver {
public:
    CaretObserver() { AddDisplayObserver(this); }
    ~CaretObserver() override { RemoveDisplayObserver(this); }
    void OnWindowChanged(HWND, WindowChange change) override {
        if (change == WindowChange::Caret) changes++;
    }
    std::atomic<int> changes{0};
};

TEST(Caret, BelongsToTheThreadOfItsWindowAndNestsItsHiding) {
    UiThread ui;
    CaretObserver observer;
    HWND window = ui.Get<HWND>([] { return MakeTestWindow("CaretOwner", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50}); });
    ui.Run([window] {
        ASSERT_TRUE(CreateCaret(window, nullptr, 2, 14));
        CaretInfo caret = CurrentCaret();
        EXPECT_EQ(window, caret.window);
        EXPECT_FALSE(caret.shown); // a new caret is hidden
        EXPECT_EQ(2, caret.width);
        EXPECT_EQ(14, caret.height);
        EXPECT_TRUE(ShowCaret(window));
        EXPECT_TRUE(CurrentCaret().shown);
        HideCaret(window);
        HideCaret(nullptr);
        ShowCaret(window);
        EXPECT_FALSE(CurrentCaret().shown);
        ShowCaret(window);
        EXPECT_TRUE(CurrentCaret().shown);
        EXPECT_TRUE(SetCaretPos(7, 3));
        POINT point{};
        EXPECT_TRUE(GetCaretPos(&point));
        EXPECT_EQ(7, point.x);
        EXPECT_EQ(3, point.y);
    });
    // Another thread may read the caret but not move, show or destroy it.
    EXPECT_FALSE(SetCaretPos(1, 1));
    EXPECT_FALSE(HideCaret(window));
    EXPECT_FALSE(DestroyCaret());
    EXPECT_EQ(7, CurrentCaret().position.x);
    EXPECT_GE(observer.changes.load(), 4); // created, shown, hidden, shown, moved
    ui.Run([window] {
        EXPECT_TRUE(DestroyCaret());
        EXPECT_EQ(nullptr, CurrentCaret().window);
        CreateCaret(window, nullptr, 0, 0);
        DestroyWindow(window);
    });
    EXPECT_EQ(nullptr, CurrentCaret().window); // went with its window
    EXPECT_EQ(530u, GetCaretBlinkTime());
}

TEST(Caret, FollowsTheSingleLineEditsTextAndScroll) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        EditHost host;
        HWND edit = host.Edit(WS_BORDER | ES_AUTOHSCROLL, RECT{10, 10, 70, 30}); // 60 wide: 58 inside the border
        EXPECT_EQ(nullptr, CurrentCaret().window);
        SetFocus(edit);
        PumpUntilIdle();
        CaretInfo caret = CurrentCaret();
        EXPECT_EQ(edit, caret.window);
        EXPECT_TRUE(caret.shown);
        EXPECT_EQ(kLine, caret.height);
        EXPECT_EQ(kMargin, caret.position.x);
        EXPECT_EQ(kMargin, caret.position.y);
        InjectText("ab" + Utf8ToAnsi("가"));
        PumpUntilIdle();
        EXPECT_EQ(kMargin + 2 * kAscii + kWide, CaretAt().x);
        Press(VK_LEFT);
        EXPECT_EQ(kMargin + 2 * kAscii, CaretAt().x);
        Press(VK_HOME);
        EXPECT_EQ(kMargin, CaretAt().x);
        // Past the right edge the text scrolls and the caret stays inside.
        Press(VK_END);
        InjectText("0123456789");
        PumpUntilIdle();
        RECT client;
        GetClientRect(edit, &client);
        EXPECT_LE(CaretAt().x, client.right - kMargin);
        EXPECT_GT(CaretAt().x, client.right - kMargin - kAscii);
        // A selection keeps the caret at its moving end.
        PressWith(VK_SHIFT, VK_LEFT);
        EXPECT_LT(CaretAt().x, client.right - kMargin);
        SetFocus(host.parent);
        EXPECT_EQ(nullptr, CurrentCaret().window);
    });
}

TEST(Caret, FollowsLinesAndWrappingInAMultiLineEdit) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        EditHost host;
        HWND edit = host.Edit(ES_MULTILINE | ES_WANTRETURN, RECT{10, 10, 10 + 2 * kMargin + 10 * kAscii, 100},
                              "ab\r\ncd");
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 6, 6);
        EXPECT_EQ(kMargin + 2 * kAscii, CaretAt().x);
        EXPECT_EQ(kMargin + kLine, CaretAt().y);
        Press(VK_UP);
        EXPECT_EQ(kMargin, CaretAt().y);
        Press(VK_HOME);
        EXPECT_EQ(kMargin, CaretAt().x);
        // Ten characters fit a row: "hello world" wraps after the blank, and the caret on "w"
        // stands at the start of the second painted row of its line.
        SetWindowTextA(edit, "hello world");
        SendMessageA(edit, EM_SETSEL, 6, 6);
        EXPECT_EQ(kMargin, CaretAt().x);
        EXPECT_EQ(kMargin + kLine, CaretAt().y);
        SendMessageA(edit, EM_SETSEL, 8, 8);
        EXPECT_EQ(kMargin + 2 * kAscii, CaretAt().x);
        EXPECT_EQ(kMargin + kLine, CaretAt().y);
        Press(VK_RETURN);
        EXPECT_EQ(kMargin, CaretAt().x);
        EXPECT_EQ(kMargin + kLine, CaretAt().y);
    });
}

class TextListener : public ClipboardObserver {
public:
    TextListener() { AddClipboardObserver(this); }
    ~TextListener() override { RemoveClipboardObserver(this); }
    void OnClipboardText(const std::string& utf8) override { texts.push_back(utf8); }
    std::vector<std::string> texts;
};

std::string AnsiOnClipboard() {
    std::string text;
    PasteTextFromClipboard(nullptr, text);
    return text;
}

TEST(Clipboard, KoreanTextRoundTripsBetweenTheCodePageUtf16AndTheContainer) {
    TextListener listener;
    std::string ansi = Utf8ToAnsi("한글 파일.txt");
    ASSERT_EQ(13u, ansi.size()); // four syllables of two bytes in code page 949
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, ansi.size() + 1);
    std::memcpy(GlobalLock(block), ansi.c_str(), ansi.size() + 1);
    GlobalUnlock(block);
    EXPECT_EQ(block, SetClipboardData(CF_TEXT, block));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));

    ASSERT_TRUE(OpenClipboard(nullptr));
    auto wide = static_cast<HGLOBAL>(GetClipboardData(CF_UNICODETEXT));
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(u"한글 파일.txt", std::u16string(static_cast<const char16_t*>(GlobalLock(wide))));
    GlobalUnlock(wide);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ("한글 파일.txt", ClipboardText());

    // The container puts the browser's text on it; programs read it byte-exact in the code page.
    EXPECT_TRUE(PutClipboardText("새폴더 이름"));
    EXPECT_EQ(Utf8ToAnsi("새폴더 이름"), AnsiOnClipboard());
    EXPECT_TRUE(SameSequence({"한글 파일.txt", "새폴더 이름"}, listener.texts));
}

TEST(Clipboard, IsHeldByOneThreadAtATime) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    std::thread([] {
        EXPECT_FALSE(OpenClipboard(nullptr));
        EXPECT_FALSE(PutClipboardText("elsewhere"));
        EXPECT_FALSE(CloseClipboard());
    }).join();
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(nullptr, SetClipboardData(CF_TEXT, GlobalAlloc(GMEM_MOVEABLE, 1))); // not open
}

TEST(Clipboard, EditCopiesCutsAndPastesWithItsKeys) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        EditHost host;
        HWND source = host.Edit(ES_AUTOHSCROLL, RECT{10, 10, 200, 30}, "", 5);
        HWND target = host.Edit(ES_AUTOHSCROLL, RECT{10, 40, 200, 60}, "", 6);
        SetWindowTextA(source, Utf8ToAnsi("가나다").c_str());
        SetFocus(source);
        SendMessageA(source, EM_SETSEL, 2, 6);
        PressWith(VK_CONTROL, 'C');
        EXPECT_EQ(Utf8ToAnsi("나다"), AnsiOnClipboard());
        SetFocus(target);
        PressWith(VK_CONTROL, 'V');
        PressWith(VK_SHIFT, VK_INSERT);
        EXPECT_EQ(Utf8ToAnsi("나다나다"), WindowText(target));
        SendMessageA(target, EM_SETSEL, 0, 2);
        PressWith(VK_CONTROL, 'X');
        EXPECT_EQ(Utf8ToAnsi("다나다"), WindowText(target));
        EXPECT_EQ(Utf8ToAnsi("나"), AnsiOnClipboard());
        SendMessageA(target, EM_SETSEL, 0, 2);
        PressWith(VK_CONTROL, VK_INSERT);
        EXPECT_EQ(Utf8ToAnsi("다"), AnsiOnClipboard());
        PressWith(VK_SHIFT, VK_DELETE);
        EXPECT_EQ(Utf8ToAnsi("나다"), WindowText(target));
        SendMessageA(target, EM_SETSEL, 0, -1);
        SendMessageA(target, WM_CLEAR, 0, 0);
        EXPECT_EQ("", WindowText(target));
        // A single line takes pasted text up to its first line break.
        PutClipboardText("first\r\nsecond");
        SendMessageA(target, WM_PASTE, 0, 0);
        EXPECT_EQ("first", WindowText(target));
        SendMessageA(target, EM_SETREADONLY, TRUE, 0);
        SendMessageA(target, EM_SETSEL, 0, -1);
        SendMessageA(target, WM_CUT, 0, 0);
        EXPECT_EQ("first", WindowText(target));
    });
}

TEST(Clipboard, PasswordEditNeverGivesItsTextAway) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        EditHost host;
        HWND password = host.Edit(ES_PASSWORD | ES_AUTOHSCROLL, RECT{10, 10, 200, 30}, "secret");
        PutClipboardText("before");
        SetFocus(password);
        SendMessageA(password, EM_SETSEL, 0, -1);
        PressWith(VK_CONTROL, 'C');
        PressWith(VK_CONTROL, VK_INSERT);
        SendMessageA(password, WM_COPY, 0, 0);
        SendMessageA(password, WM_CUT, 0, 0);
        PressWith(VK_SHIFT, VK_DELETE);
        EXPECT_EQ("before", ClipboardText());
        EXPECT_EQ("secret", WindowText(password));
        // Pasting into it is fine.
        SendMessageA(password, WM_PASTE, 0, 0);
        EXPECT_EQ("before", WindowText(password));
    });
}

TEST(ImeInput, ComposedCharacterReachesTheWindowAsLeadThenTrailByte) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND window = MakeTestWindow("ImeTarget", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
        MessageRecorder recorder(window, {WM_IME_CHAR, WM_CHAR});
        SetFocus(window);
        std::string syllable = Utf8ToAnsi("한");
        ASSERT_EQ(2u, syllable.size());
        InjectImeText(syllable + "a");
        PumpUntilIdle();
        auto lead = static_cast<unsigned char>(syllable[0]);
        auto trail = static_cast<unsigned char>(syllable[1]);
        EXPECT_TRUE(SameSequence({"WM_IME_CHAR " + std::to_string(lead * 256 + trail), "WM_CHAR " + std::to_string(lead),
                                  "WM_CHAR " + std::to_string(trail), "WM_IME_CHAR 97", "WM_CHAR 97"},
                                 recorder.Messages()));
        DestroyWindow(window);
    });
}

TEST(ImeInput, EditNeverSplitsADoubleByteCharacter) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        EditHost host;
        HWND edit = host.Edit(ES_AUTOHSCROLL, RECT{10, 10, 300, 30});
        SetFocus(edit);
        InjectImeText(Utf8ToAnsi("가a나"));
        PumpUntilIdle();
        EXPECT_EQ(Utf8ToAnsi("가a나"), WindowText(edit));
        EXPECT_EQ(kMargin + 2 * kWide + kAscii, CaretAt().x);
        Press(VK_BACK); // both bytes of the last syllable
        EXPECT_EQ(Utf8ToAnsi("가a"), WindowText(edit));
        Press(VK_HOME);
        Press(VK_RIGHT);
        EXPECT_EQ(std::make_pair(DWORD{2}, DWORD{2}), Selection(edit));
        EXPECT_EQ(kMargin + kWide, CaretAt().x);
        Press(VK_LEFT);
        Press(VK_DELETE);
        EXPECT_EQ("a", WindowText(edit));
        InjectImeText(Utf8ToAnsi("다"));
        PumpUntilIdle();
        PressWith(VK_SHIFT, VK_LEFT);
        EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{2}), Selection(edit));
        // A selection set through the middle of a character snaps to its start.
        SendMessageA(edit, EM_SETSEL, 1, 1);
        EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{0}), Selection(edit));
        EXPECT_EQ(Utf8ToAnsi("다a"), WindowText(edit));
    });
}

} // namespace
} // namespace ostrana::test

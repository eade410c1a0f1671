// The clipboard's blocks by format under one lock. A text format asked for but not set is made
// from the other text format and kept, as Windows synthesises it; closing after a change of the
// text tells the observers.
#include "platform/window/Clipboard.h"

#include <cstring>
#include <map>
#include <mutex>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/base/Thread.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/ObserverList.h"

using namespace ostrana;

namespace {

constexpr DWORD kErrorClipboardNotOpen = 1418;

struct ClipboardState {
    std::mutex lock;
    DWORD openThread = 0; // 0: closed
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    std::map<UINT, HGLOBAL> blocks;
    bool textChanged = false; // since it was opened
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

detail::ObserverList<ClipboardObserver>& Observers() {
    static auto* observers = new detail::ObserverList<ClipboardObserver>; // outlives every thread
    return *observers;
}

bool IsText(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT; }

bool OpenedHereLocked(const ClipboardState& state) {
    if (state.openThread == GetCurrentThreadId()) return true;
    SetLastError(kErrorClipboardNotOpen);
    return false;
}

HGLOBAL BlockOf(const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    GlobalLockGuard data(block);
    if (!data) return nullptr;
    std::memcpy(data.Data(), bytes, size);
    return block;
}

// The text of a block up to its first NUL (blocks need not be terminated).
std::string AnsiOf(HGLOBAL block) {
    GlobalLockGuard data(block);
    if (!data) return {};
    const char* text = reinterpret_cast<const char*>(data.Data());
    return std::string(text, strnlen(text, GlobalSize(block)));
}

std::u16string WideOf(HGLOBAL block) {
    GlobalLockGuard data(block);
    if (!data) return {};
    std::size_t units = GlobalSize(block) / sizeof(char16_t);
    std::u16string text(units, u'\0');
    std::memcpy(text.data(), data.Data(), units * sizeof(char16_t));
    return text.substr(0, text.find(u'\0'));
}

HGLOBAL AnsiBlock(const std::string& ansi) { return BlockOf(ansi.c_str(), ansi.size() + 1); }
HGLOBAL WideBlock(const std::u16string& wide) { return BlockOf(wide.c_str(), (wide.size() + 1) * sizeof(char16_t)); }

// The block of a format, made from the other text format when only that one is there.
HGLOBAL FindLocked(ClipboardState& state, UINT format) {
    auto it = state.blocks.find(format);
    if (it != state.blocks.end()) return it->second;
    if (!IsText(format)) return nullptr;
    UINT other = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
    auto source = state.blocks.find(other);
    if (source == state.blocks.end()) return nullptr;
    HGLOBAL made = format == CF_TEXT ? AnsiBlock(FromWide(WideOf(source->second))) : WideBlock(ToWide(AnsiOf(source->second)));
    if (made != nullptr) state.blocks[format] = made;
    return made;
}

void FreeAllLocked(ClipboardState& state) {
    for (auto& [format, block] : state.blocks) GlobalFree(block);
    state.blocks.clear();
}

std::string TextLocked(ClipboardState& state) {
    HGLOBAL wide = FindLocked(state, CF_UNICODETEXT);
    return wide != nullptr ? FromWide(WideOf(wide), CP_UTF8) : std::string();
}

void TellObservers(const std::string& utf8) {
    RecordDisplayChange(DisplayEvent::Clipboard, nullptr);
    Observers().ForEach([&](ClipboardObserver& observer) { observer.OnClipboardText(utf8); });
}

} // namespace

BOOL OpenClipboard(HWND newOwner) {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    DWORD me = GetCurrentThreadId();
    if (state.openThread != 0 && state.openThread != me) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    state.openThread = me;
    state.openWindow = newOwner;
    state.textChanged = false;
    return TRUE;
}

BOOL CloseClipboard() {
    ClipboardState& state = State();
    std::string text;
    bool changed = false;
    {
        std::lock_guard guard(state.lock);
        if (!OpenedHereLocked(state)) return FALSE;
        state.openThread = 0;
        state.openWindow = nullptr;
        changed = state.textChanged;
        state.textChanged = false;
        if (changed) text = TextLocked(state);
    }
    if (changed) TellObservers(text);
    return TRUE;
}

BOOL EmptyClipboard() {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    if (!OpenedHereLocked(state)) return FALSE;
    state.textChanged = state.textChanged || state.blocks.count(CF_TEXT) != 0 || state.blocks.count(CF_UNICODETEXT) != 0;
    FreeAllLocked(state);
    state.owner = state.openWindow;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    if (!OpenedHereLocked(state) || format == 0) return nullptr;
    HGLOBAL block = static_cast<HGLOBAL>(memory);
    if (block == nullptr || GlobalFlags(block) == GMEM_INVALID_HANDLE) {
        // Rendering on request is not offered: a format without data is not put on the clipboard.
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (IsText(format)) {
        // The other text format described the old text; it is made again from this one.
        UINT other = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
        if (auto it = state.blocks.find(other); it != state.blocks.end()) {
            GlobalFree(it->second);
            state.blocks.erase(it);
        }
        state.textChanged = true;
    }
    auto [it, added] = state.blocks.try_emplace(format, block);
    if (!added && it->second != block) {
        GlobalFree(it->second);
        it->second = block;
    }
    return memory;
}

HANDLE GetClipboardData(UINT format) {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    if (!OpenedHereLocked(state)) return nullptr;
    return FindLocked(state, format);
}

BOOL IsClipboardFormatAvailable(UINT format) {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    if (state.blocks.count(format) != 0) return TRUE;
    return IsText(format) && (state.blocks.count(CF_TEXT) != 0 || state.blocks.count(CF_UNICODETEXT) != 0);
}

HWND GetClipboardOwner() {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    return IsWindow(state.owner) ? state.owner : nullptr;
}

HWND GetOpenClipboardWindow() {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    return state.openThread != 0 ? state.openWindow : nullptr;
}

namespace ostrana {

void AddClipboardObserver(ClipboardObserver* observer) { Observers().Add(observer); }

void RemoveClipboardObserver(ClipboardObserver* observer) { Observers().Remove(observer); }

std::string ClipboardText() {
    ClipboardState& state = State();
    std::lock_guard guard(state.lock);
    return TextLocked(state);
}

bool PutClipboardText(std::string_view utf8) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL block = WideBlock(ToWide(utf8, CP_UTF8));
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) GlobalFree(block);
    CloseClipboard();
    return true;
}

bool CopyTextToClipboard(HWND owner, std::string_view ansi) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL block = AnsiBlock(std::string(ansi));
    bool placed = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!placed) GlobalFree(block);
    CloseClipboard();
    return placed;
}

bool PasteTextFromClipboard(HWND owner, std::string& ansi) {
    if (!OpenClipboard(owner)) return false;
    HANDLE block = GetClipboardData(CF_TEXT);
    if (block != nullptr) ansi = AnsiOf(static_cast<HGLOBAL>(block));
    CloseClipboard();
    return block != nullptr;
}

} // namespace ostrana

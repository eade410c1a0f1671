// The clipboard: one for the desktop, holding global memory blocks by format. A thread opens it,
// empties it to become its owner, sets data and closes it; text is offered as CF_TEXT (ANSI code
// page) and CF_UNICODETEXT, either made from the other when asked for. The container hears of new
// clipboard text and can put the browser's text on it.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/GlobalMemory.h"
#include "platform/window/ClipboardFormat.h"
#include "platform/window/Window.h"

BOOL OpenClipboard(HWND newOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard owns the block from here on (also when it replaces one of the same format).
HANDLE SetClipboardData(UINT format, HANDLE memory);
// The block stays the clipboard's; the caller must not free it.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

namespace ostrana {

// Told, on the thread that closed the clipboard, when the text on it changed.
class ClipboardObserver {
public:
    virtual ~ClipboardObserver() = default;
    virtual void OnClipboardText(const std::string& utf8) = 0;
};
void AddClipboardObserver(ClipboardObserver* observer);
// Returns once no callback of the observer runs any more.
void RemoveClipboardObserver(ClipboardObserver* observer);

// The text on the clipboard as UTF-8 (empty when it holds none).
std::string ClipboardText();
// Replaces the clipboard's contents with the text, as a program would; false while another thread
// holds the clipboard open. Observers are told as for any change.
bool PutClipboardText(std::string_view utf8);

// Convenience for the platform's own controls, in the ANSI code page.
bool CopyTextToClipboard(HWND owner, std::string_view ansi);
bool PasteTextFromClipboard(HWND owner, std::string& ansi);

} // namespace ostrana

// Snapshots and change batches as the page's messages.
#include "host/SnapshotWriter.h"

#include <cctype>
#include <cstdint>
#include <string_view>

#include "host/MessageWriter.h"
#include "host/PictureWriter.h"
#include "platform/base/CodePage.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Controls.h"

namespace ostrana::host {

namespace {

constexpr int kSysColorCount = 31;

std::string Key(const char* what, HWND window)
{
    return std::string(what) + ":" + std::to_string(HandleNumber(window));
}

std::string PictureKey(HWND window, const char* part)
{
    return Key("picture", window) + ":" + part;
}

std::string Point(long x, long y)
{
    return "[" + std::to_string(x) + "," + std::to_string(y) + "]";
}

// Where a resource cursor's image points; the system cursors are the browser's own.
POINT CursorHotspot(const ImageRef& ref)
{
    if (ref.origin == ImageOrigin::Resource && ref.id == 1011)
        return POINT{12, 2}; // the hand's fingertip
    return POINT{0, 0};
}

bool IsView(const std::string& className)
{
    return className == "SysListView32" || className == "SysTreeView32";
}

bool StartsWithNoCase(const std::string& text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

// What the page may frame for a web view: an http or https address and nothing else, so that a
// text the window was given cannot become a script or a local file in the page. Empty otherwise.
std::string FramedAddress(const std::string& text)
{
    if (!StartsWithNoCase(text, "http://") && !StartsWithNoCase(text, "https://"))
        return {};
    for (unsigned char c : text)
        if (c <= 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\')
            return {};
    return text;
}

} // namespace

long long HandleNumber(HWND window)
{
    return static_cast<long long>(reinterpret_cast<std::uintptr_t>(window));
}

SnapshotWriter::SnapshotWriter(ManifestSource manifest, RowsSource rows)
    : m_manifestSource(std::move(manifest)), m_rows(std::move(rows))
{
    StartPage();
}

void SnapshotWriter::StartPage()
{
    m_sentImages.clear();
    m_sentPictures.clear();
    m_pageHolds.clear();
    m_manifest.clear();
    if (m_manifestSource)
        for (ImageManifestEntry& entry : m_manifestSource())
            m_manifest.try_emplace(entry.key, std::move(entry));
}

std::string SnapshotWriter::Hello(int session, SIZE screen)
{
    std::string colors = "[";
    for (int index = 0; index < kSysColorCount; ++index)
        colors += (index > 0 ? "," : "") + std::to_string(PageColor(GetSysColor(index)));
    return MessageWriter(ToPage::Hello)
        .Number("version", kProtocolVersion)
        .Number("session", session)
        .Raw("screen", Point(screen.cx, screen.cy))
        .Raw("sysColors", colors + "]")
        .Finish();
}

PageMessage SnapshotWriter::Clipboard(const std::string& utf8)
{
    return {"clipboard", MessageWriter(ToPage::Clipboard).Text("text", utf8).Finish()};
}

std::vector<PageMessage> SnapshotWriter::WholeState(const DesktopSnapshot& snapshot)
{
    StartPage();
    std::vector<PageMessage> out;
    for (const WindowState& window : snapshot.windows) {
        Window(window, out);
        Pictures(window, out);
    }
    out.push_back(Order(snapshot));
    out.push_back(Focus(snapshot));
    out.push_back(Caret(snapshot));
    Cursor(snapshot, out);
    ScreenOverlay(snapshot, out);
    return News(std::move(out));
}

std::vector<PageMessage> SnapshotWriter::Changes(const DesktopSnapshot& snapshot, const std::vector<DisplayChange>& changes)
{
    std::vector<PageMessage> out;
    bool order = false;
    for (const DisplayChange& change : changes) {
        const WindowState* window = change.window ? snapshot.Find(change.window) : nullptr;
        switch (change.event) {
        case DisplayEvent::Created:
        case DisplayEvent::Destroyed:
        case DisplayEvent::ZOrder:
            order = true;
            [[fallthrough]];
        case DisplayEvent::Moved:
        case DisplayEvent::Shown:
        case DisplayEvent::Hidden:
            // Screen rectangles and visibility of everything below follow the window.
            if (window)
                Descendants(snapshot, *window, out);
            [[fallthrough]];
        case DisplayEvent::Text:
        case DisplayEvent::Enabled:
        case DisplayEvent::Checked:
            // What the window is now decides, not the event: a window created and destroyed
            // within one batch is simply gone.
            if (window)
                Window(*window, out);
            else if (change.window)
                Gone(change.window, out);
            break;
        case DisplayEvent::Picture:
        case DisplayEvent::Overlay:
            if (window) {
                Pictures(*window, out);
                if (IsView(window->className))
                    Window(*window, out); // the visible rows moved with the picture
            } else if (!change.window) {
                ScreenOverlay(snapshot, out);
            }
            break;
        case DisplayEvent::Focus:
            out.push_back(Focus(snapshot));
            break;
        case DisplayEvent::Cursor:
            Cursor(snapshot, out);
            break;
        case DisplayEvent::Caret:
            out.push_back(Caret(snapshot));
            break;
        case DisplayEvent::Clipboard:
            break; // the stream reads the clipboard itself
        }
    }
    if (order)
        out.push_back(Order(snapshot));
    return News(std::move(out));
}

std::vector<PageMessage> SnapshotWriter::News(std::vector<PageMessage> messages)
{
    std::erase_if(messages, [this](const PageMessage& message) {
        auto [held, added] = m_pageHolds.try_emplace(message.key, message.json);
        if (added)
            return false;
        if (held->second == message.json)
            return true;
        held->second = message.json;
        return false;
    });
    // Windows come and go all session long; what the page held of gone ones must not pile up.
    for (const std::string& key : m_forget)
        m_pageHolds.erase(key);
    m_forget.clear();
    return messages;
}

void SnapshotWriter::Descendants(const DesktopSnapshot& snapshot, const WindowState& window,
                                 std::vector<PageMessage>& out) const
{
    // The list holds each window's subtree right behind it, deeper than the window itself.
    const auto at = static_cast<std::size_t>(&window - snapshot.windows.data());
    for (std::size_t i = at + 1; i < snapshot.windows.size() && snapshot.windows[i].depth > window.depth; ++i)
        Window(snapshot.windows[i], out);
}

void SnapshotWriter::Window(const WindowState& window, std::vector<PageMessage>& out) const
{
    MessageWriter message(ToPage::TreeChange);
    message.Number("h", HandleNumber(window.handle))
        .Number("parent", HandleNumber(window.parent))
        .Number("owner", HandleNumber(window.owner))
        .Number("depth", window.depth)
        .Number("z", window.zOrder)
        .Text("cls", window.className)
        .Number("id", window.id)
        .Number("style", window.style)
        .Number("exStyle", window.exStyle)
        .Raw("rect", RectJson(window.windowRect))
        .Raw("client", RectJson(window.clientRect))
        .Text("text", AnsiToUtf8(window.text))
        .Flag("visible", window.visible)
        .Flag("shown", window.shownFlag)
        .Flag("enabled", window.enabled)
        .Flag("enabledTree", window.enabledInTree);
    if (window.check >= 0)
        message.Number("checked", window.check);
    if (window.className == WC_WEBVIEWA)
        message.Text("url", AnsiToUtf8(FramedAddress(window.text)));
    // Hidden views show no rows, and asking them would cost for nothing.
    if (m_rows && window.visible)
        for (const auto& [name, json] : m_rows(window))
            message.Raw(name, json);
    out.push_back({Key("window", window.handle), message.Finish()});
}

void SnapshotWriter::Gone(HWND window, std::vector<PageMessage>& out)
{
    m_sentPictures.erase(window);
    // The page drops a gone window's pictures with it; a window that comes with its handle later
    // must send its own.
    for (const char* part : {"client", "frame", "overlay"})
        m_forget.push_back(PictureKey(window, part));
    m_forget.push_back(Key("window", window));
    out.push_back({Key("window", window),
                   MessageWriter(ToPage::TreeChange).Number("h", HandleNumber(window)).Flag("gone", true).Finish()});
}

void SnapshotWriter::Pictures(const WindowState& window, std::vector<PageMessage>& out)
{
    SentPictures& sent = m_sentPictures[window.handle];
    Picture(window.handle, "client", window.picture, sent.client, out);
    Picture(window.handle, "frame", window.nonClientPicture, sent.frame, out);
    Picture(window.handle, "overlay", window.overlay, sent.overlay, out);
}

void SnapshotWriter::Picture(HWND window, const char* part, const SharedDisplayList& list, SharedDisplayList& sent,
                             std::vector<PageMessage>& out)
{
    // Lists are immutable and shared, so the same pointer is the same picture. Holding the sent
    // one keeps its address from being reused by a newer list.
    bool empty = !list || list->empty();
    bool sentEmpty = !sent || sent->empty();
    if (list == sent || (empty && sentEmpty))
        return;
    sent = list;
    PictureWriter writer;
    std::string ops = writer.Ops(list ? *list : DisplayList{});
    Images(writer, out);
    out.push_back({PictureKey(window, part), MessageWriter(ToPage::Picture)
                                                 .Number("h", HandleNumber(window))
                                                 .Text("part", part)
                                                 .Raw("fonts", writer.Fonts())
                                                 .Raw("ops", ops)
                                                 .Finish()});
}

void SnapshotWriter::Images(const PictureWriter& writer, std::vector<PageMessage>& out)
{
    for (const ImageRef& ref : writer.Images())
        Image(ref, out);
}

void SnapshotWriter::Image(const ImageRef& ref, std::vector<PageMessage>& out)
{
    std::string key = ImageKey(ref);
    if (key.empty() || !m_sentImages.insert(key).second)
        return;
    // An image the manifest does not list still gets its message, so the page draws a stand-in
    // instead of waiting for it.
    std::string url;
    SIZE size{};
    if (auto found = m_manifest.find(key); found != m_manifest.end()) {
        if (!found->second.file.empty())
            url = "/res/" + found->second.file;
        size = SIZE{found->second.width, found->second.height};
    }
    out.push_back({"image:" + key, MessageWriter(ToPage::Image)
                                       .Text("key", key)
                                       .Text("url", url)
                                       .Raw("size", Point(size.cx, size.cy))
                                       .Finish()});
}

void SnapshotWriter::ScreenOverlay(const DesktopSnapshot& snapshot, std::vector<PageMessage>& out)
{
    PictureWriter writer;
    std::string ops = writer.Ops(snapshot.screenOverlay ? *snapshot.screenOverlay : DisplayList{});
    Images(writer, out);
    out.push_back({"overlay", MessageWriter(ToPage::Overlay).Raw("fonts", writer.Fonts()).Raw("ops", ops).Finish()});
}

void SnapshotWriter::Cursor(const DesktopSnapshot& snapshot, std::vector<PageMessage>& out)
{
    MessageWriter message(ToPage::Cursor);
    message.Text("name", snapshot.cursor).Text("css", CssCursor(snapshot.cursor));
    if (snapshot.cursorRef.origin == ImageOrigin::Resource) {
        auto found = m_manifest.find(ImageKey(snapshot.cursorRef));
        if (found != m_manifest.end() && !found->second.file.empty()) {
            POINT hotspot = CursorHotspot(snapshot.cursorRef);
            message.Text("image", "/res/" + found->second.file).Raw("hotspot", Point(hotspot.x, hotspot.y));
        }
    }
    out.push_back({"cursor", message.Finish()});
}

PageMessage SnapshotWriter::Order(const DesktopSnapshot& snapshot)
{
    std::string windows = "[";
    for (const WindowState& window : snapshot.windows)
        windows += (windows.size() > 1 ? "," : "") + std::to_string(HandleNumber(window.handle));
    return {"order", MessageWriter(ToPage::Order).Raw("windows", windows + "]").Finish()};
}

PageMessage SnapshotWriter::Focus(const DesktopSnapshot& snapshot)
{
    return {"focus", MessageWriter(ToPage::Focus)
                         .Number("focus", HandleNumber(snapshot.focus))
                         .Number("active", HandleNumber(snapshot.active))
                         .Number("capture", HandleNumber(snapshot.capture))
                         .Finish()};
}

PageMessage SnapshotWriter::Caret(const DesktopSnapshot& snapshot)
{
    const CaretState& caret = snapshot.caret;
    return {"caret", MessageWriter(ToPage::Caret)
                         .Number("h", HandleNumber(caret.window))
                         .Raw("rect", RectJson(caret.rect))
                         .Flag("visible", caret.window != nullptr && caret.visible)
                         .Number("blink", caret.blinkMs)
                         .Finish()};
}

const char* SnapshotWriter::CssCursor(const std::string& name)
{
    static const std::pair<const char*, const char*> kCursors[] = {
        {"arrow", "default"},       {"ibeam", "text"},          {"wait", "wait"},         {"cross", "crosshair"},
        {"sizenwse", "nwse-resize"}, {"sizenesw", "nesw-resize"}, {"sizewe", "ew-resize"}, {"sizens", "ns-resize"},
        {"sizeall", "move"},        {"no", "not-allowed"},      {"hand", "pointer"},      {"cursor 1011", "pointer"},
    };
    for (const auto& [platform, css] : kCursors)
        if (name == platform)
            return css;
    return "default";
}

} // namespace ostrana::host

// Turns desktop snapshots into the page's messages: the whole state for a page that has just
// connected, or what a batch of changes touched as it stands now. Each message comes with the key
// of what it is about, so that a later message about the same thing can take its place while the
// page is behind. Pictures go per window and part, and only when the list differs from the one the
// page has; images go once per page, before the first picture that names them. A message equal to
// the last one about the same thing is left out: a window that repaints what it showed already
// costs the page no frame.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/ViewRows.h"
#include "platform/gdi/ImageManifest.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/WindowSnapshot.h"

namespace ostrana::host {

struct PageMessage {
    std::string key;
    std::string json;
};

class PictureWriter;

class SnapshotWriter {
public:
    // Extra treeChange fields of a window (the rows of list and tree views).
    using RowsSource = std::function<ViewFields(const WindowState&)>;
    // The images there are; asked again for each new page, since modules may have come since.
    using ManifestSource = std::function<std::vector<ImageManifestEntry>()>;

    explicit SnapshotWriter(ManifestSource manifest, RowsSource rows = {});

    // A new page knows nothing yet.
    void StartPage();

    std::vector<PageMessage> WholeState(const DesktopSnapshot& snapshot);
    std::vector<PageMessage> Changes(const DesktopSnapshot& snapshot, const std::vector<DisplayChange>& changes);

    static std::string Hello(int session, SIZE screen);
    static PageMessage Clipboard(const std::string& utf8);
    // The page's CSS cursor for one of the platform's cursor names.
    static const char* CssCursor(const std::string& name);

private:
    struct SentPictures {
        SharedDisplayList client;
        SharedDisplayList frame;
        SharedDisplayList overlay;
    };

    // Leaves out what the page holds already and remembers the rest as what it will hold.
    std::vector<PageMessage> News(std::vector<PageMessage> messages);
    void Window(const WindowState& window, std::vector<PageMessage>& out) const;
    void Descendants(const DesktopSnapshot& snapshot, const WindowState& window, std::vector<PageMessage>& out) const;
    void Gone(HWND window, std::vector<PageMessage>& out);
    void Pictures(const WindowState& window, std::vector<PageMessage>& out);
    void Picture(HWND window, const char* part, const SharedDisplayList& list, SharedDisplayList& sent,
                 std::vector<PageMessage>& out);
    void Images(const PictureWriter& writer, std::vector<PageMessage>& out);
    void Image(const ImageRef& ref, std::vector<PageMessage>& out);
    void ScreenOverlay(const DesktopSnapshot& snapshot, std::vector<PageMessage>& out);
    void Cursor(const DesktopSnapshot& snapshot, std::vector<PageMessage>& out);
    static PageMessage Order(const DesktopSnapshot& snapshot);
    static PageMessage Focus(const DesktopSnapshot& snapshot);
    static PageMessage Caret(const DesktopSnapshot& snapshot);

    ManifestSource m_manifestSource;
    std::unordered_map<std::string, ImageManifestEntry> m_manifest;
    RowsSource m_rows;
    std::unordered_set<std::string> m_sentImages;
    std::unordered_map<HWND, SentPictures> m_sentPictures;
    // Per key, the last message handed out; the batcher lets the newest of a key win, so this is
    // what the page has once the frames on their way arrive.
    std::unordered_map<std::string, std::string> m_pageHolds;
    // Keys of windows gone in this batch, forgotten once their last message is out.
    std::vector<std::string> m_forget;
};

// A window handle as the page's number.
long long HandleNumber(HWND window);

} // namespace ostrana::host

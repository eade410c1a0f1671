// The local pane harness; see LocalPaneHarness.h.
#include "tests/shell/LocalPaneHarness.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "platform/base/Event.h"
#include "platform/base/LocalPath.h"
#include "platform/ole/DropFiles.h"

namespace ostrana::test {
namespace {

constexpr const char* kParentClass = "LocalPaneTestParent";

// The frame of the panes under test; one harness at a time.
std::atomic<int> g_folderSelections{0};
HANDLE g_folderSelected = CreateEventA(nullptr, FALSE, FALSE, nullptr);

LRESULT FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UWM_FOLDER_SELECTED) {
        ++g_folderSelections;
        SetEvent(g_folderSelected);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* previous = std::getenv(name); previous != nullptr) {
        m_had = true;
        m_previous = previous;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_had) setenv(m_name.c_str(), m_previous.c_str(), 1);
    else unsetenv(m_name.c_str());
}

LocalPaneHarness::LocalPaneHarness() {
    std::filesystem::create_directories(Work());
    app.SetRegistryKey("Zelkor");
    SetMessageBoxPresenter(boxes);
    SetMainWindowLink(&recorder);
    ui.Run([this] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = FrameProc;
        windowClass.lpszClassName = kParentClass;
        RegisterClassA(&windowClass);
        parent = std::make_unique<CWnd>();
        parent->CreateEx(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
        serverTree = std::make_unique<CServerTreeCtrl>(&session);
        panes = std::make_unique<ShellLocalPanes>(false);
        panes->Create(parent.get(), RECT{0, 0, 300, 600}, RECT{300, 0, 800, 600}, WS_CHILD | WS_VISIBLE);
        tree = panes->Tree();
        list = panes->List();
    });
    ui.WaitIdle();
    g_folderSelections = 0;
    ResetEvent(g_folderSelected);
}

int LocalPaneHarness::FolderSelections() const { return g_folderSelections.load(); }

bool LocalPaneHarness::WaitForFolderSelection(DWORD timeoutMs) const {
    return WaitForSingleObject(g_folderSelected, timeoutMs) == WAIT_OBJECT_0;
}

LocalPaneHarness::~LocalPaneHarness() {
    ui.Run([this] {
        tree = nullptr;
        list = nullptr;
        panes.reset();
        serverTree.reset();
        if (parent != nullptr && parent->GetSafeHwnd() != nullptr) parent->DestroyWindow();
        parent.reset();
    });
    SetMainWindowLink(nullptr);
    SetMessageBoxPresenter(std::make_shared<HeadlessMessageBoxPresenter>());
}

std::filesystem::path LocalPaneHarness::Work(const std::string& utf8Relative) const {
    std::filesystem::path work = home.Path() / "work";
    return utf8Relative.empty() ? work : work / std::filesystem::u8path(utf8Relative);
}

std::string LocalPaneHarness::Local(const std::filesystem::path& path) { return HostToLocalPath(path.string()); }

void LocalPaneHarness::Show(const std::filesystem::path& folder) {
    std::string path = Local(folder);
    ui.Run([&] { tree->SendMessage(UWM_SELECT_PATH, 0, reinterpret_cast<LPARAM>(path.c_str())); });
    ui.WaitIdle();
}

std::vector<std::string> LocalPaneHarness::Rows(int column) {
    return ui.Get<std::vector<std::string>>([&] {
        std::vector<std::string> rows;
        for (int row = 0; row < list->GetItemCount(); ++row) rows.push_back(Utf8(list->GetItemText(row, column)));
        return rows;
    });
}

std::vector<std::string> LocalPaneHarness::Children(HTREEITEM parentNode) {
    return ui.Get<std::vector<std::string>>([&] {
        std::vector<std::string> labels;
        for (HTREEITEM child = tree->GetChildItem(parentNode); child != nullptr; child = tree->GetNextSiblingItem(child)) {
            labels.push_back(Utf8(tree->GetItemText(child)));
        }
        return labels;
    });
}

HTREEITEM LocalPaneHarness::Child(HTREEITEM parentNode, const std::string& utf8Label) {
    return ui.Get<HTREEITEM>([&] { return tree->FindChildByText(parentNode, Ansi(utf8Label)); });
}

std::string LocalPaneHarness::SelectedFolder() {
    return ui.Get<std::string>([&] { return Utf8(tree->GetCurrentFolderPath()); });
}

void LocalPaneHarness::SelectRows(const std::vector<std::string>& utf8Names) {
    ui.Run([&] {
        list->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row = 0; row < list->GetItemCount(); ++row) {
            std::string name = Utf8(list->GetItemText(row, 0));
            if (std::find(utf8Names.begin(), utf8Names.end(), name) != utf8Names.end()) {
                list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            }
        }
    });
}

void LocalPaneHarness::DropFiles(HWND window, const std::vector<std::string>& names, POINT point) {
    ui.Run([&] {
        HDROP drop = CreateDropFiles(names, point, FALSE);
        ::SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    });
    ui.WaitIdle();
}

} // namespace ostrana::test

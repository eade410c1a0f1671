// The server pane harness; see ServerPaneHarness.h.
#include "tests/server/ServerPaneHarness.h"

#include <algorithm>

namespace ostrana::test {
namespace {

constexpr const char* kParentClass = "ServerPaneTestParent";

} // namespace

ServerPaneHarness::ServerPaneHarness() {
    app.SetRegistryKey("Zelkor");
    SetMessageBoxPresenter(boxes);
    SetMainWindowLink(&link);
    session.SetLoginData("demo", "demo1234", "127.0.0.1", service.Port());
    int status = 0;
    EXPECT_EQ(1, session.Login(status));
    EXPECT_EQ(1, session.OpenCommandSession());
    ui.Run([this] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.lpszClassName = kParentClass;
        RegisterClassA(&windowClass);
        parent = std::make_unique<CWnd>();
        parent->CreateEx(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr);
        treeView = std::make_unique<CServerTreeView>(&session);
        ASSERT_TRUE(treeView->Create("TreeView", "ServerTreeView", WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 480}, parent.get(), 1));
        treeView->OnInitialUpdate();
        listView = std::make_unique<CServerListView>(&session);
        ASSERT_TRUE(listView->Create("ListView", "ServerListView", WS_CHILD | WS_VISIBLE, RECT{240, 0, 640, 480}, parent.get(), 2));
        listView->OnInitialUpdate();
        tree = treeView->GetServerTree();
        list = listView->GetServerList();
        listView->SetServerTree(tree);
    });
}

ServerPaneHarness::~ServerPaneHarness() {
    DestroyPanes();
    SetMainWindowLink(nullptr);
    SetMessageBoxPresenter(std::make_shared<HeadlessMessageBoxPresenter>());
}

void ServerPaneHarness::DestroyPanes() {
    ui.Run([this] {
        tree = nullptr;
        list = nullptr;
        listView.reset();
        treeView.reset();
        if (parent != nullptr && parent->GetSafeHwnd() != nullptr) parent->DestroyWindow();
        parent.reset();
    });
}

void ServerPaneHarness::InitRoots(bool myFolder, bool myHtml, int accountKind) {
    ui.Run([&] { treeView->InitRoots(list, myFolder, myHtml, accountKind); });
}

std::filesystem::path ServerPaneHarness::Stored(const std::string& utf8Relative) const {
    return service.Root() / "users" / "demo" / "myfolder" / utf8Relative;
}

std::vector<std::string> ServerPaneHarness::Rows(int column) {
    std::vector<std::string> rows;
    ui.Run([&] {
        for (int row = 0; row < list->GetItemCount(); ++row) rows.push_back(Utf8(list->GetCellText(row, column)));
    });
    return rows;
}

std::vector<std::string> ServerPaneHarness::Children(HTREEITEM node) {
    std::vector<std::string> labels;
    ui.Run([&] {
        for (HTREEITEM child = tree->GetChildItem(node); child != nullptr; child = tree->GetNextSiblingItem(child)) {
            labels.push_back(Utf8(tree->GetItemText(child)));
        }
    });
    return labels;
}

HTREEITEM ServerPaneHarness::Child(HTREEITEM node, const std::string& utf8Label) {
    return ui.Get<HTREEITEM>([&] {
        for (HTREEITEM child = tree->GetChildItem(node); child != nullptr; child = tree->GetNextSiblingItem(child)) {
            if (tree->GetItemText(child) == Ansi(utf8Label)) return child;
        }
        return HTREEITEM{};
    });
}

std::string ServerPaneHarness::Selected() { return ui.Get<std::string>([&] { return Utf8(tree->GetCurrentFolderPath()); }); }

void ServerPaneHarness::Open(const std::vector<std::string>& utf8Folders) {
    ui.Run([&] {
        tree->SelectItem(treeView->GetMyFolderNode());
        for (const std::string& folder : utf8Folders) tree->SelectChildFolder(Ansi(folder));
    });
}

void ServerPaneHarness::SelectRows(const std::vector<std::string>& utf8Names) {
    ui.Run([&] {
        for (int row = 0; row < list->GetItemCount(); ++row) {
            std::string name = Utf8(list->GetCellText(row, 0));
            bool chosen = std::find(utf8Names.begin(), utf8Names.end(), name) != utf8Names.end();
            list->SetItemState(row, chosen ? LVIS_SELECTED : 0, LVIS_SELECTED);
        }
    });
}

int ServerPaneHarness::Logged(const std::string& command, int atLeast) const { return service.CountInLog(command, atLeast); }

LRESULT ServerPaneHarness::NotifyList(NMHDR& header) {
    return ui.Get<LRESULT>([&] {
        header.hwndFrom = list->m_hWnd;
        return listView->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    });
}

LRESULT ServerPaneHarness::NotifyTree(NMHDR& header) {
    return ui.Get<LRESULT>([&] {
        header.hwndFrom = tree->m_hWnd;
        return treeView->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    });
}

} // namespace ostrana::test

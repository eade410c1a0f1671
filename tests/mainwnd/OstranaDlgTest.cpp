// The main window: quota texts and gauge figures, new-folder names, the start with the page's
// credentials or the login panel, and the splitters at their defaults or where they were saved.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mainwnd/LogInDlg.h"
#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/OstranaDlg.h"
#include "mainwnd/SettingsStore.h"
#include "platform/window/MessageBox.h"
#include "res/ResourceIds.h"
#include "session/ServerSession.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/TempDir.h"

namespace {

TEST(OstranaDlgQuota, SizesInBytesKilobytesAndDecimalGigabytes) {
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(999, true), "999 Byte");
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(1000, false), "1 KB");
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(1500000, true), "1,465 KB");
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(1500000, false), "1 MB");
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(2000000000LL, true), "1,953,125 KB");
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(2000000000LL, false), "1 GB");
    EXPECT_EQ(COstranaDlg::FormatQuotaSize(0, false), "0 Byte");
}

TEST(OstranaDlgQuota, GaugeNeverEmptyAndNeverPastFull) {
    EXPECT_EQ(COstranaDlg::GaugeWidth(1000000, 0), 1);
    EXPECT_EQ(COstranaDlg::GaugeWidth(0, 5000), 1);
    EXPECT_EQ(COstranaDlg::GaugeWidth(100 << 20, 100 << 20), 200);
    EXPECT_EQ(COstranaDlg::GaugeWidth(100 << 20, (100 << 20) + 1), 200);
    EXPECT_EQ(COstranaDlg::GaugeWidth(100 << 20, 50 << 20), 100);
    EXPECT_EQ(COstranaDlg::GaugeWidth(1LL << 40, 1), 1);
}

TEST(OstranaDlgNames, NewFolderNamesCountTheMatchingFolders) {
    const std::string base = COstranaDlg::NextNewFolderName(0);
    EXPECT_FALSE(base.empty());
    EXPECT_EQ(COstranaDlg::NextNewFolderName(2), base + "2");
    EXPECT_EQ(COstranaDlg::NextNewFolderName(1), base + "1");
}

class OstranaDlgWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_boxes = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_boxes);
        m_host = ostrana::test::MakeTestWindow("OstranaHost", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 800, 700});
        // Nothing listens here, so the session greeting fails and the workspace stays hidden.
        m_session.SetTimeouts(500, 500, 500);
    }
    void TearDown() override {
        m_dialog.reset();
        DestroyWindow(m_host);
        ostrana::SetMessageBoxPresenter(nullptr);
    }

    COstranaDlg& Open(const std::string& host, const std::string& user) {
        m_dialog = std::make_unique<COstranaDlg>(CWnd::FromHandle(m_host), &m_session);
        m_dialog->SetStartParams("cookie", host, user);
        EXPECT_TRUE(m_dialog->Create(IDD_OSTRANA, CWnd::FromHandle(m_host)));
        return *m_dialog;
    }

    RECT Rect(CWnd& window) const {
        RECT rect{};
        ::GetWindowRect(window.m_hWnd, &rect);
        ::MapWindowPoints(nullptr, m_dialog->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    RECT ItemRect(int id) const {
        RECT rect{};
        ::GetWindowRect(::GetDlgItem(m_dialog->m_hWnd, id), &rect);
        ::MapWindowPoints(nullptr, m_dialog->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    ostrana::test::ScopedRegistryFile m_registry;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_boxes;
    ServerSession m_session{nullptr};
    HWND m_host = nullptr;
    std::unique_ptr<COstranaDlg> m_dialog;
};

TEST_F(OstranaDlgWindowTest, PageCredentialsSkipTheLoginPanelAndSplitThePort) {
    COstranaDlg& dialog = Open("example.test:8080", "alice");
    EXPECT_EQ(dialog.LoginDialog(), nullptr);
    EXPECT_EQ(dialog.Host(), "example.test");
    EXPECT_EQ(dialog.Port(), 8080);
    EXPECT_EQ(GetMainWindow(), &dialog);
    EXPECT_EQ(dialog.GetSessionCookie(), "cookie");
}

TEST_F(OstranaDlgWindowTest, LeadingColonKeepsTheWholeHostOnPort80) {
    COstranaDlg& dialog = Open(":8080", "alice");
    EXPECT_EQ(dialog.Host(), ":8080");
    EXPECT_EQ(dialog.Port(), 80);
}

TEST_F(OstranaDlgWindowTest, NoUserIdShowsTheLoginPanelBelowTheMiddle) {
    COstranaDlg& dialog = Open("example.test", "");
    ASSERT_NE(dialog.LoginDialog(), nullptr);
    RECT client{};
    ::GetClientRect(dialog.m_hWnd, &client);
    RECT login{};
    ::GetWindowRect(dialog.LoginDialog()->m_hWnd, &login);
    ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&login), 2);
    EXPECT_EQ(login.left, client.right / 2 - (login.right - login.left) / 2);
    EXPECT_EQ(login.top, client.bottom / 2 - (login.bottom - login.top) / 2 + 50);
    m_dialog.reset();
    EXPECT_EQ(GetMainWindow(), nullptr);
}

TEST_F(OstranaDlgWindowTest, SplittersStartBesideThePlaceholdersThenWhereTheyWereSaved) {
    Open("example.test", "alice");
    const RECT tree = ItemRect(214);
    const RECT list = ItemRect(216);
    const RECT local = ItemRect(207);
    const RECT h = Rect(m_dialog->HorizontalSplitter());
    EXPECT_EQ(h.left, tree.left);
    EXPECT_EQ(h.top, tree.bottom + 2);
    EXPECT_EQ(h.right, list.right);
    // The bars keep their own thickness; only where they start is the window's choice.
    const RECT v1 = Rect(m_dialog->VerticalSplitter1());
    EXPECT_EQ(v1.left, tree.right + 2);
    EXPECT_EQ(v1.top, tree.top);
    const RECT v2 = Rect(m_dialog->VerticalSplitter2());
    EXPECT_EQ(v2.left, local.right + 2);
    EXPECT_EQ(v2.bottom, local.bottom);

    RECT moved = v1;
    ::OffsetRect(&moved, 30, 0);
    m_dialog->VerticalSplitter1().MoveWindow(moved);
    m_dialog.reset();
    int saved = 0;
    ASSERT_TRUE(GetSettingNumber("MainWindow\\rcVSplitter1\\left", saved));
    EXPECT_EQ(saved, moved.left);

    Open("example.test", "alice");
    EXPECT_EQ(Rect(m_dialog->VerticalSplitter1()).left, moved.left);
    EXPECT_EQ(Rect(m_dialog->HorizontalSplitter()).top, h.top);
}

TEST_F(OstranaDlgWindowTest, RenameWithoutFocusedListEditsNothing) {
    COstranaDlg& dialog = Open("example.test", "alice");
    ::SendMessageA(dialog.m_hWnd, UWM_KEY_RENAME, 0, 0);
    ::SendMessageA(dialog.m_hWnd, UWM_KEY_SELECT_ALL, 0, 0);
    ::SendMessageA(dialog.m_hWnd, UWM_KEY_DELETE, 0, 0);
    EXPECT_EQ(m_boxes->Boxes().size(), 0u);
}

} // namespace

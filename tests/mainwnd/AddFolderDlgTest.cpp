// The add-folder dialog against the real service: the path normalised, registered per host only
// when the server lists it, an already registered folder ignored, an inaccessible one reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "mainwnd/AddFolderDlg.h"
#include "mainwnd/SettingsStore.h"
#include "platform/base/CodePage.h"
#include "platform/window/MessageBox.h"
#include "session/SessionOwner.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/TempDir.h"

namespace {

using ostrana::test::ServiceProcess;

std::string Setting(const std::string& path) {
    std::string text = "(missing)";
    GetSettingText(path.c_str(), text);
    return text;
}

class AddFolderDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ostrana::SetMessageBoxPresenter(m_boxes);
        m_session.SetLoginData("demo", "demo1234", "127.0.0.1", m_service.Port());
        int status = 0;
        ASSERT_EQ(1, m_session.Login(status));
        ASSERT_EQ(1, m_session.OpenCommandSession());
        std::filesystem::create_directories(m_service.Root() / "users" / "demo" / "myfolder" / "favorite");
    }
    void TearDown() override { ostrana::SetMessageBoxPresenter(nullptr); }

    // Opens the dialog modeless, types `text` and presses OK; true when the dialog closed.
    bool Submit(CAddFolderDlg& dialog, const std::string& text) {
        if (dialog.m_hWnd == nullptr) dialog.Create(IDD_ADD_FOLDER, nullptr);
        ::SetDlgItemTextA(dialog.m_hWnd, IDC_ADD_FOLDER_PATH, text.c_str());
        dialog.OnOK();
        return !::IsWindow(dialog.m_hWnd);
    }

    ostrana::test::ScopedRegistryFile m_registry;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_boxes = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
    ServiceProcess m_service;
    SimpleSessionOwner m_owner;
    ServerSession m_session{&m_owner};
};

TEST(AddFolderPath, OneLeadingSlashGoesAndOneTrailingSlashComes) {
    EXPECT_EQ("myfolder/favorite/", CAddFolderDlg::NormalisePath("/myfolder/favorite"));
    EXPECT_EQ("@game/html/", CAddFolderDlg::NormalisePath("@game/html/"));
    EXPECT_EQ("/", CAddFolderDlg::NormalisePath(""));
    EXPECT_EQ("/a/", CAddFolderDlg::NormalisePath("//a"));
}

TEST_F(AddFolderDlgTest, AListableFolderIsRegisteredUnderTheHostAtTheFirstFreeIndex) {
    SetSettingText("10.0.0.9\\PrivateFolder\\RootFolders01", "myfolder/favorite/");
    CAddFolderDlg dialog(m_session);
    EXPECT_TRUE(Submit(dialog, "/myfolder/favorite"));
    EXPECT_EQ("myfolder/favorite/", dialog.m_strPath);
    EXPECT_EQ("myfolder/favorite/", Setting("127.0.0.1\\PrivateFolder\\RootFolders01"));
    EXPECT_TRUE(m_boxes->Boxes().empty());

    CAddFolderDlg second(m_session);
    EXPECT_TRUE(Submit(second, "myfolder/"));
    EXPECT_EQ("myfolder/", Setting("127.0.0.1\\PrivateFolder\\RootFolders02"));
}

TEST_F(AddFolderDlgTest, AnAlreadyRegisteredFolderChangesNothingAndShowsNothing) {
    SetSettingText("127.0.0.1\\PrivateFolder\\RootFolders01", "myfolder/favorite/");
    std::string before = ostrana::test::ReadFileBytes(m_registry.FilePath());
    CAddFolderDlg dialog(m_session);
    EXPECT_FALSE(Submit(dialog, "myfolder/favorite/"));
    EXPECT_EQ(before, ostrana::test::ReadFileBytes(m_registry.FilePath()));
    EXPECT_TRUE(m_boxes->Boxes().empty());
    DestroyWindow(dialog.m_hWnd);
}

TEST_F(AddFolderDlgTest, AFolderTheServerDoesNotListIsReportedAndTheDialogStays) {
    CAddFolderDlg dialog(m_session);
    EXPECT_FALSE(Submit(dialog, "myfolder/nothere"));
    ASSERT_EQ(1u, m_boxes->Boxes().size());
    EXPECT_EQ(ostrana::Utf8ToAnsi("myfolder/nothere/ 폴더에 접근할 수 없습니다."), m_boxes->Boxes()[0].text);
    m_boxes->Clear();
    EXPECT_FALSE(Submit(dialog, ""));
    ASSERT_EQ(1u, m_boxes->Boxes().size());
    EXPECT_EQ(ostrana::Utf8ToAnsi("/ 폴더에 접근할 수 없습니다."), m_boxes->Boxes()[0].text);
    EXPECT_EQ("(missing)", Setting("127.0.0.1\\PrivateFolder\\RootFolders01"));
    DestroyWindow(dialog.m_hWnd);
}

} // namespace

#include <gtest/gtest.h>

#include "mainwnd/SettingsStore.h"
#include "platform/registry/Registry.h"
#include "platform/window/MessageBox.h"
#include "tests/support/TempDir.h"

namespace {

using ostrana::test::ReadFileBytes;

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_presenter = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_presenter);
    }
    void TearDown() override {
        // The store never shows anything, whatever failed.
        EXPECT_TRUE(m_presenter->Boxes().empty());
        ostrana::SetMessageBoxPresenter(nullptr);
    }

    ostrana::test::ScopedRegistryFile m_registry;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_presenter;
};

TEST_F(SettingsStoreTest, TextsAndNumbersRoundTripUnderTheControlsKey) {
    EXPECT_TRUE(SetSettingText("Login\\ServerAddress00", "127.0.0.1:8080"));
    EXPECT_TRUE(SetSettingNumber("MainWindow\\rcHSplitter\\left", -12));
    std::string text;
    int number = 0;
    EXPECT_TRUE(GetSettingText("Login\\ServerAddress00", text));
    EXPECT_EQ(text, "127.0.0.1:8080");
    EXPECT_TRUE(GetSettingNumber("MainWindow\\rcHSplitter\\left", number));
    EXPECT_EQ(number, -12);
    std::string file = ReadFileBytes(m_registry.FilePath());
    EXPECT_NE(file.find("[HKEY_CURRENT_USER\\SoftWare\\Zelkor\\Ostrana\\Login]\n\"ServerAddress00\"=\"127.0.0.1:8080\""),
              std::string::npos);
    EXPECT_NE(file.find("[HKEY_CURRENT_USER\\SoftWare\\Zelkor\\Ostrana\\MainWindow\\rcHSplitter]\n\"left\"=dword:fffffff4"),
              std::string::npos);
}

TEST_F(SettingsStoreTest, DoubledAndLeadingBackslashesAreIgnored) {
    EXPECT_TRUE(SetSettingText("\\\\Login\\\\UserID00", "ana"));
    std::string text;
    EXPECT_TRUE(GetSettingText("Login\\UserID00", text));
    EXPECT_EQ(text, "ana");
}

TEST_F(SettingsStoreTest, OneComponentPathFailsEverywhereAndWritesNothing) {
    std::string text = "keep";
    int number = 7;
    EXPECT_FALSE(SetSettingText("Password", "x"));
    EXPECT_FALSE(SetSettingNumber("Password", 1));
    EXPECT_FALSE(GetSettingText("Password", text));
    EXPECT_FALSE(GetSettingNumber("Password", number));
    EXPECT_FALSE(SetSettingText("", "x"));
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(number, 7);
    EXPECT_EQ(ReadFileBytes(m_registry.FilePath()), "");
}

TEST_F(SettingsStoreTest, MissingValuesLeaveTheCallersVariableAsItWas) {
    int flag = 42;
    std::string text = "default";
    EXPECT_FALSE(GetSettingNumber("Login\\SaveUserID", flag));
    EXPECT_FALSE(GetSettingText("Login\\Password", text));
    EXPECT_TRUE(SetSettingNumber("Login\\SavePassword", 1));
    EXPECT_FALSE(GetSettingNumber("Login\\SaveUserID", flag)); // key now exists, value still missing
    EXPECT_EQ(flag, 42);
    EXPECT_EQ(text, "default");
}

TEST_F(SettingsStoreTest, LongTextIsStoredWholeButReadsBackCutTo255Bytes) {
    std::string longText(400, 'k');
    EXPECT_TRUE(SetSettingText("Login\\Password", longText));
    EXPECT_NE(ReadFileBytes(m_registry.FilePath()).find(longText), std::string::npos);
    std::string text;
    EXPECT_TRUE(GetSettingText("Login\\Password", text));
    EXPECT_EQ(text, std::string(255, 'k'));
}

TEST_F(SettingsStoreTest, NumberStoredAsALongerValueFailsToRead) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SoftWare\\Zelkor\\Ostrana\\Login", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    RegSetValueExA(key, "UserIDPos", 0, REG_BINARY, eight, sizeof eight);
    RegCloseKey(key);
    int number = 5;
    EXPECT_FALSE(GetSettingNumber("Login\\UserIDPos", number));
    EXPECT_EQ(number, 5);
}

TEST_F(SettingsStoreTest, DeleteRemovesAValueOrAWholeKeyAndNeverCreatesOne) {
    EXPECT_TRUE(SetSettingText("host\\PrivateFolder\\RootFolders00", "ana/"));
    EXPECT_TRUE(SetSettingText("host\\PrivateFolder\\RootFolders01", "@club/"));
    EXPECT_TRUE(DeleteSetting("host\\PrivateFolder", "RootFolders00"));
    std::string text;
    EXPECT_FALSE(GetSettingText("host\\PrivateFolder\\RootFolders00", text));
    EXPECT_TRUE(GetSettingText("host\\PrivateFolder\\RootFolders01", text));
    EXPECT_FALSE(DeleteSetting("host\\PrivateFolder", "RootFolders00"));
    EXPECT_TRUE(DeleteSetting("host"));
    EXPECT_FALSE(GetSettingText("host\\PrivateFolder\\RootFolders01", text));
    std::string before = ReadFileBytes(m_registry.FilePath());
    EXPECT_FALSE(DeleteSetting("nothing\\here"));
    EXPECT_EQ(ReadFileBytes(m_registry.FilePath()), before);
    EXPECT_EQ(before.find("nothing"), std::string::npos);
}

} // namespace

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "platform/base/CodePage.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryTree.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using ostrana::test::ReadFileBytes;
using ostrana::test::ScopedRegistryFile;

HKEY CreateKey(const char* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

void SetText(HKEY key, const char* name, const std::string& text) {
    ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                             static_cast<DWORD>(text.size())),
              ERROR_SUCCESS);
}

std::string QueryText(HKEY key, const char* name) {
    char buffer[512] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return buffer;
}

TEST(Registry, ValuesSurviveAReloadOfTheFileInTheirTypes) {
    ScopedRegistryFile file;
    HKEY key = CreateKey("SoftWare\\Zelkor\\Ostrana\\Login");
    std::string korean = ostrana::Utf8ToAnsi("서버 \"주소\" \\ 끝");
    SetText(key, "ServerAddress00", korean);
    DWORD number = 0xfffffff6;
    ASSERT_EQ(RegSetValueExA(key, "ServerAddressPos", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4), ERROR_SUCCESS);
    const BYTE blob[] = {0, 1, 0xfe, '\n'};
    ASSERT_EQ(RegSetValueExA(key, "Blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    RegCloseKey(key);

    std::string text = ReadFileBytes(file.FilePath());
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\SoftWare\\Zelkor\\Ostrana\\Login]"), std::string::npos);
    EXPECT_NE(text.find("\"ServerAddressPos\"=dword:fffffff6"), std::string::npos);
    EXPECT_NE(text.find("\"Blob\"=hex:00,01,fe,0a"), std::string::npos);
    EXPECT_NE(text.find("서버 \\\"주소\\\" \\\\ 끝"), std::string::npos); // stored as UTF-8 text

    // A fresh parse of the file gives back the same bytes and types.
    ostrana::RegistryTree tree = ostrana::RegistryTree::Parse(text);
    const ostrana::RegistryKey* login =
        tree.Find({"HKEY_CURRENT_USER", "SoftWare", "Zelkor", "Ostrana", "Login"});
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->Value("ServerAddress00")->data, korean);
    EXPECT_EQ(login->Value("Blob")->data, std::string("\0\1\xfe\n", 4));
    EXPECT_EQ(login->Value("ServerAddressPos")->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(tree.Serialize(), text);
}

TEST(Registry, FileIsPrivateToItsOwner) {
    ScopedRegistryFile file;
    HKEY key = CreateKey("SoftWare\\Zelkor\\Ostrana\\Login");
    SetText(key, "Password", "secret");
    RegCloseKey(key);
    struct stat status {};
    ASSERT_EQ(::stat(file.FilePath().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST(Registry, KeyAndValueNamesCompareWithoutCase) {
    ScopedRegistryFile file;
    HKEY key = CreateKey("SoftWare\\Zelkor\\Ostrana");
    SetText(key, "UserID00", "ana");
    RegCloseKey(key);
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "software\\ZELKOR\\ostrana", &again), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(again, "userid00"), "ana");
    SetText(again, "USERID00", "bo");
    EXPECT_EQ(QueryText(again, "UserID00"), "bo");
    RegCloseKey(again);
    EXPECT_NE(ReadFileBytes(file.FilePath()).find("\"UserID00\"=\"bo\""), std::string::npos); // first spelling kept
}

TEST(Registry, MissingKeysAndValuesAndStaleHandlesFail) {
    ScopedRegistryFile file;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "SoftWare\\Nothing", &key), ERROR_FILE_NOT_FOUND);
    key = CreateKey("SoftWare\\Something");
    EXPECT_EQ(QueryText(key, "absent"), "<missing>");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    DWORD size = 4;
    DWORD value = 0;
    EXPECT_EQ(RegQueryValueExA(key, "x", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_INVALID_HANDLE);
}

TEST(Registry, ShortBuffersGetTheSizeNeededAndCutStrings) {
    ScopedRegistryFile file;
    HKEY key = CreateKey("SoftWare\\Sizes");
    SetText(key, "Text", "abcdef");
    DWORD big = 5;
    ASSERT_EQ(RegSetValueExA(key, "Big", 0, REG_BINARY, reinterpret_cast<BYTE*>(&big), 4), ERROR_SUCCESS);
    char buffer[8] = {};
    DWORD size = 3;
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::string(buffer), "abc");
    WORD small = 0;
    size = 2;
    EXPECT_EQ(RegQueryValueExA(key, "Big", nullptr, nullptr, reinterpret_cast<BYTE*>(&small), &size), ERROR_MORE_DATA);
    EXPECT_EQ(small, 0);
    RegCloseKey(key);
}

TEST(Registry, DeletingAKeyRemovesItsSubkeysAndHandlesToThem) {
    ScopedRegistryFile file;
    HKEY inner = CreateKey("SoftWare\\Zelkor\\Ostrana\\host\\PrivateFolder");
    SetText(inner, "RootFolders00", "ana/");
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "SoftWare\\Zelkor\\Ostrana\\host"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "SoftWare\\Zelkor\\Ostrana\\host"), static_cast<DWORD>(ERROR_SUCCESS));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "SoftWare\\Zelkor\\Ostrana\\host\\PrivateFolder", &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryText(inner, "RootFolders00"), "<missing>");
    EXPECT_NE(RegSetValueExA(inner, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 1), ERROR_SUCCESS);
    RegCloseKey(inner);
    EXPECT_EQ(ReadFileBytes(file.FilePath()).find("PrivateFolder"), std::string::npos);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "SoftWare\\Zelkor\\Ostrana\\host"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Registry, AFileChangedByAnotherWriterIsReadAgain) {
    ScopedRegistryFile file;
    HKEY key = CreateKey("SoftWare\\Shared");
    SetText(key, "Mine", "1");
    std::string text = ReadFileBytes(file.FilePath());
    std::string edited = text + "[HKEY_CURRENT_USER\\SoftWare\\Shared\\Other]\n\"Theirs\"=dword:00000002\n\n";
    std::string temporary = file.FilePath() + ".edit";
    ASSERT_TRUE(ostrana::test::WriteFileBytes(temporary, edited));
    ASSERT_EQ(std::rename(temporary.c_str(), file.FilePath().c_str()), 0);
    SetText(key, "Mine", "2");
    RegCloseKey(key);
    std::string after = ReadFileBytes(file.FilePath());
    EXPECT_NE(after.find("\"Theirs\"=dword:00000002"), std::string::npos);
    EXPECT_NE(after.find("\"Mine\"=\"2\""), std::string::npos);
}

pid_t SpawnWriter(const std::string& file, const std::string& prefix, int count) {
    std::string binary = std::string(std::getenv("OSTRANA_TEST_BINARY_DIR")) + "/tests/platform/registry_writer";
    std::string countText = std::to_string(count);
    char* argv[] = {binary.data(), const_cast<char*>(file.c_str()), const_cast<char*>(prefix.c_str()),
                    countText.data(), nullptr};
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, binary.c_str(), nullptr, nullptr, argv, environ), 0);
    return pid;
}

TEST(Registry, TwoProcessesWritingAtOnceLoseNothingAndReadersSeeWholeFiles) {
    ScopedRegistryFile file;
    constexpr int kCount = 60;
    std::atomic<bool> done{false};
    std::atomic<int> brokenSnapshots{0};
    std::atomic<int> snapshots{0};
    std::thread reader([&] {
        while (!done) {
            std::string text = ReadFileBytes(file.FilePath());
            if (text.empty()) {
                continue; // not written yet
            }
            ++snapshots;
            bool whole = text.rfind("Windows Registry Editor Version 5.00\n\n", 0) == 0 && text.size() >= 2 &&
                         text.compare(text.size() - 2, 2, "\n\n") == 0;
            if (!whole) {
                ++brokenSnapshots;
            }
        }
    });
    pid_t a = SpawnWriter(file.FilePath(), "a", kCount);
    pid_t b = SpawnWriter(file.FilePath(), "b", kCount);
    int statusA = -1, statusB = -1;
    waitpid(a, &statusA, 0);
    waitpid(b, &statusB, 0);
    done = true;
    reader.join();
    ASSERT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
    ASSERT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
    EXPECT_EQ(brokenSnapshots.load(), 0) << "of " << snapshots.load();

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "SoftWare\\Race", &key), ERROR_SUCCESS);
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < kCount; ++i) {
            std::string name = prefix + std::to_string(i);
            DWORD value = 0xffff, size = 4;
            ASSERT_EQ(RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
                      ERROR_SUCCESS)
                << name;
            EXPECT_EQ(value, static_cast<DWORD>(i));
        }
    }
    RegCloseKey(key);
}

TEST(RegistryTree, ParsesContinuedHexAndIgnoresNoise) {
    std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n; comment\r\n[HKEY_CURRENT_USER\\A]\r\n"
        "\"Bin\"=hex:01,02,\\\r\n  03\r\n@=\"default\"\r\ngarbage line\r\n\"Bad\"=dword:xyz\r\n";
    ostrana::RegistryTree tree = ostrana::RegistryTree::Parse(text);
    const ostrana::RegistryKey* key = tree.Find({"HKEY_CURRENT_USER", "A"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Value("Bin")->data, "\1\2\3");
    EXPECT_EQ(key->Value("")->data, "default");
    EXPECT_EQ(key->Value("Bad"), nullptr);
}

TEST(RegistryTree, AValueTypeTooLongForADwordIsNoiseNotACrash) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
                       "\"Huge\"=hex(11111111111111111111):01\r\n\"Nine\"=hex(100000000):01\r\n"
                       "\"Kept\"=hex(7):61,00,00,00\r\n";
    ostrana::RegistryTree tree = ostrana::RegistryTree::Parse(text);
    const ostrana::RegistryKey* key = tree.Find({"HKEY_CURRENT_USER", "A"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Value("Huge"), nullptr);
    EXPECT_EQ(key->Value("Nine"), nullptr);
    ASSERT_NE(key->Value("Kept"), nullptr);
    EXPECT_EQ(key->Value("Kept")->type, static_cast<DWORD>(REG_MULTI_SZ));
}

} // namespace

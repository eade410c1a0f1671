// The temporary file of a download: what its name may be, and that it never outlives a download
// that did not replace its target.
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "session/PlainName.h"
#include "tests/support/TempDir.h"
#include "transfer/PartialFile.h"

namespace fs = std::filesystem;
using ostrana::test::TempDir;

namespace {

std::string LastComponent(const std::string& localPath) { return localPath.substr(localPath.find_last_of('\\') + 1); }

bool Write(PartialFile& file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file.Handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}

} // namespace

TEST(PartialFileTest, TheNameIsHiddenPlainAndShortEnoughForAnyName) {
    std::string korean = ostrana::Utf8ToAnsi("한글 이름.txt");
    EXPECT_EQ(PartialPathOf("C:\\d", korean), "C:\\d\\." + korean + ".ostrana-part");
    EXPECT_EQ(PartialPathOf("C:\\d", "a.txt", 7), "C:\\d\\.a.txt.7.ostrana-part");
    // 84 Korean letters: 252 bytes on disk, so the temporary name must be cut, on a whole letter.
    std::string longName;
    for (int i = 0; i < 84; ++i) {
        longName += ostrana::Utf8ToAnsi("가");
    }
    for (int attempt : {0, 99}) {
        std::string name = LastComponent(PartialPathOf("C:\\d", longName, attempt));
        std::string onDisk = ostrana::AnsiToUtf8(name);
        EXPECT_LE(onDisk.size(), 255u);
        EXPECT_EQ(onDisk.find("\xEF\xBF\xBD"), std::string::npos) << "no letter cut in half";
        EXPECT_TRUE(IsPlainName(name));
        EXPECT_EQ(onDisk.rfind(".가가", 0), 0u);
    }
}

TEST(PartialFileTest, ARenameThatFailsRemovesTheFileAndLeavesWhatIsThere) {
    TempDir dir;
    fs::create_directories(dir / "taken" / "inside");
    PartialFile file(ostrana::HostToLocalPath(dir.Str()), "taken");
    ASSERT_TRUE(Write(file, "bytes"));
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(file.Commit()) << "once only";
    EXPECT_TRUE(fs::is_directory(dir / "taken" / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

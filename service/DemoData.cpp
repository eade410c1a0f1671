// Demo accounts: demo / demo1234 (kind 1, 100 MB, club @demo) and webmaster / web1234 (kind 9).
#include "service/DemoData.h"

#include "service/PasswordHash.h"

#include <fstream>
#include <system_error>

namespace ostrana::service {

namespace {

bool WriteSample(const std::filesystem::path& path, const std::string& text, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (ec || !out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool AddAccount(AccountStore& accounts, Account account, const std::string& password, std::string& error) {
    account.passwordHash = PasswordHash::Make(password);
    if (account.passwordHash.empty()) {
        error = "cannot hash a password";
        return false;
    }
    return accounts.Add(std::move(account), error);
}

} // namespace

bool DemoData::CreateUserFolders(const StoragePaths& paths, const std::string& id, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(paths.UserDir(id) / "myfolder", ec);
    std::filesystem::create_directories(paths.UserDir(id) / "myhtml", ec);
    if (ec) {
        error = "cannot create the folders of " + id + ": " + ec.message();
        return false;
    }
    return true;
}

bool DemoData::IsEmptyDataFolder(const AccountStore& accounts, const StoragePaths& paths) {
    if (!accounts.Empty()) {
        return false;
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(paths.Root(), ec)) {
        std::error_code sameError;
        const bool isAccountsFile = std::filesystem::equivalent(entry.path(), accounts.File(), sameError);
        if (entry.path().filename() != paths.IncomingDir().filename() && !isAccountsFile) {
            return false;
        }
    }
    return !ec;
}

bool DemoData::Fill(AccountStore& accounts, const StoragePaths& paths, bool& created, std::string& error) {
    created = false;
    if (!IsEmptyDataFolder(accounts, paths)) {
        return true;
    }
    constexpr std::int64_t kDemoQuotaKB = 100 * 1024;
    if (!AddAccount(accounts, {"demo", "", "데모", 1, kDemoQuotaKB, {"demo"}}, "demo1234", error) ||
        !AddAccount(accounts, {"webmaster", "", "웹마스터", Account::kWebmasterKind, kDemoQuotaKB, {}}, "web1234",
                    error)) {
        return false;
    }
    const std::filesystem::path demo = paths.UserDir("demo");
    const std::filesystem::path site = paths.SiteDir();
    const bool written =
        CreateUserFolders(paths, "demo", error) && CreateUserFolders(paths, "webmaster", error) &&
        WriteSample(demo / "myfolder" / "readme.txt", "Ostrana demo storage.\n", error) &&
        WriteSample(demo / "myfolder" / "문서" / "안내.txt", "데모 계정의 문서 폴더입니다.\n", error) &&
        WriteSample(demo / "myfolder" / "사진" / "sample.bin", std::string("\x00\x01\x02\xFF", 4), error) &&
        WriteSample(demo / "myhtml" / "index.html", "<html><body>데모</body></html>\n", error) &&
        WriteSample(site / "html" / "index.html", "<html><body>Ostrana</body></html>\n", error) &&
        WriteSample(site / "filter" / "words.txt", "spam\n", error) &&
        WriteSample(paths.ClubDir("demo") / "공지.txt", "동호회 공지\n", error);
    if (!written) {
        return false;
    }
    if (!accounts.Save(error)) {
        return false;
    }
    created = true;
    return true;
}

} // namespace ostrana::service

// The real ostrana-service over loopback sockets, fed the exact bytes the client sends.
#include "tests/service/ServiceClient.h"
#include "tests/support/ServiceProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace ostrana::test;
namespace fs = std::filesystem;

namespace {

// Every path below the data folder with its size (folders as -1), to prove that nothing changed.
std::map<std::string, std::intmax_t> Snapshot(const fs::path& root) {
    std::map<std::string, std::intmax_t> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        entries[entry.path().string()] = entry.is_directory() ? -1 : static_cast<std::intmax_t>(entry.file_size());
    }
    return entries;
}

std::string AllByteValues(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    return bytes;
}

std::string Upload(CommandClient& client, const std::string& path, const std::string& bytes) {
    const std::string header = client.Command(".SAVETO \"" + path + "\" " + std::to_string(bytes.size()) + "\n");
    if (header != ".OK\n") {
        return header;
    }
    return client.Command(bytes);
}

class ServiceProtocol : public ::testing::Test {
protected:
    ServiceProcess m_service;
    fs::path Demo() const { return m_service.Root() / "users" / "demo" / "myfolder"; }
};

} // namespace

TEST_F(ServiceProtocol, LoginWithTheRightPasswordGivesTheCookieTwice) {
    std::string reply;
    const std::string cookie = Login(m_service.Port(), "demo", "demo1234", &reply);
    ASSERT_EQ(cookie.size(), 32u) << reply;
    EXPECT_EQ(cookie.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(reply.find("Set-Cookie: WAXLO_AUTH=" + cookie + ";"), std::string::npos);
    EXPECT_GT(reply.find("WAXLO_AUTH="), 0u);
    EXPECT_LE(reply.size(), 4096u);
    EXPECT_NE(Login(m_service.Port(), "demo", "demo1234"), cookie);
}

TEST_F(ServiceProtocol, LoginRequestIsTwoBytesLongerThanItsContentLength) {
    const std::string request = LoginRequest("127.0.0.1:80", "abc", "xyz");
    EXPECT_NE(request.find("Content-Length: 356\r\n"), std::string::npos);
    EXPECT_EQ(request.size() - request.find("\r\n\r\n") - 4, 2u + 358u);
    EXPECT_EQ(Login(m_service.Port(), "abc", "xyz").size(), 0u);
    EXPECT_EQ(Login(m_service.Port(), "webmaster", "web1234").size(), 32u);
}

TEST_F(ServiceProtocol, WrongPasswordUnknownUserAndBrokenFormsGetNoCookie) {
    for (const auto& [user, password] : std::vector<std::pair<std::string, std::string>>{
             {"demo", "demo12345"}, {"demo", ""}, {"nobody", "demo1234"}, {"", ""}, {"demo\r\nX", "demo1234"}}) {
        std::string reply;
        EXPECT_EQ(Login(m_service.Port(), user, password, &reply), "");
        EXPECT_EQ(reply.find("WAXLO_AUTH"), std::string::npos) << reply;
        EXPECT_EQ(reply.rfind("HTTP/1.1 403", 0), 0u);
    }
    RawConnection noBoundary(m_service.Port());
    noBoundary.Send("POST /_login HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello");
    EXPECT_EQ(noBoundary.ReceiveAll().find("WAXLO_AUTH"), std::string::npos);
}

TEST_F(ServiceProtocol, TenWrongPasswordsLockThatIdOutButNobodyElse) {
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Login(m_service.Port(), "demo", "guess" + std::to_string(i)), "");
    }
    EXPECT_EQ(Login(m_service.Port(), "demo", "demo1234"), "");
    EXPECT_EQ(Login(m_service.Port(), "webmaster", "web1234").size(), 32u);
    EXPECT_TRUE(WaitForLog(m_service, "demo LOGIN refused (locked out)"));

    ServiceProcess unlimited({"--login-lockout", "0"});
    for (int i = 0; i < 10; ++i) {
        Login(unlimited.Port(), "demo", "guess");
    }
    EXPECT_EQ(Login(unlimited.Port(), "demo", "demo1234").size(), 32u);
}

TEST_F(ServiceProtocol, GreetingHasAccountKindAndBracketedDisplayName) {
    CommandClient demo(m_service.Port(), "demo", "demo1234");
    EXPECT_EQ(demo.Greeting(), "OK 1 [데모]\n");
    CommandClient webmaster(m_service.Port(), "webmaster", "web1234");
    EXPECT_EQ(webmaster.Greeting(), "OK 9 [웹마스터]\n");
}

TEST_F(ServiceProtocol, WrongOrMissingCookieIsRefusedAndTheConnectionClosed) {
    for (const std::string& cookie : {std::string("0123456789abcdef0123456789abcdef"), std::string()}) {
        RawConnection connection(m_service.Port());
        connection.Send(FileActionRequest("127.0.0.1", cookie));
        const std::string reply = connection.ReceiveAll();
        EXPECT_EQ(reply, ".ERR\n");
        // Not three space-separated fields: the client does not take it for a greeting.
        EXPECT_EQ(reply.find(' '), std::string::npos);
    }
    RawConnection other(m_service.Port());
    other.Send("GET /users/demo/ HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(other.ReceiveAll().rfind("HTTP/1.1 404", 0), 0u);
}

// The front page is all a browser reaches: a page without script, and nothing else of the storage.
TEST_F(ServiceProtocol, TheFrontPageIsAPlainPageAndNothingElseIsServed) {
    RawConnection page(m_service.Port());
    page.Send("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    const std::string reply = page.ReceiveAll();
    EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(reply.find("Content-Type: text/html; charset=utf-8\r\n"), std::string::npos);
    EXPECT_NE(reply.find("Content-Security-Policy: default-src 'none'"), std::string::npos);
    EXPECT_NE(reply.find("<title>Ostrana 웹하드</title>"), std::string::npos);
    EXPECT_EQ(reply.find("<script"), std::string::npos);
    RawConnection head(m_service.Port());
    head.Send("HEAD / HTTP/1.1\r\nHost: x\r\n\r\n");
    const std::string headReply = head.ReceiveAll();
    EXPECT_EQ(headReply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(headReply.substr(headReply.find("\r\n\r\n") + 4), "");
    for (const char* request : {"POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n",
                                "GET /index.html HTTP/1.1\r\nHost: x\r\n\r\n", "GET /../ HTTP/1.1\r\nHost: x\r\n\r\n"}) {
        RawConnection other(m_service.Port());
        other.Send(request);
        EXPECT_EQ(other.ReceiveAll().rfind("HTTP/1.1 404", 0), 0u) << request;
    }
}

TEST_F(ServiceProtocol, ListingLinesHaveSixFieldsAndTheLocalModificationTime) {
    CommandClient client(m_service.Port(), "demo", "demo1234");
    const std::string reply = client.Command(".DIR \"myfolder/\"\r\n");
    ASSERT_TRUE(IsOkReply(reply)) << reply;
    struct stat info {};
    ASSERT_EQ(stat((Demo() / "readme.txt").c_str(), &info), 0);
    std::tm local {};
    localtime_r(&info.st_mtime, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d %H%M%S", &local);
    EXPECT_NE(reply.find("F " + std::to_string(info.st_size) + " demo " + stamp + " readme.txt\n"), std::string::npos)
        << reply;
    EXPECT_NE(reply.find(" 문서\n"), std::string::npos);
    EXPECT_EQ(reply.rfind("D 0 demo ", reply.find(" 문서\n")), reply.rfind('\n', reply.find(" 문서\n")) + 1);
    EXPECT_EQ(reply.find("\r"), std::string::npos);
    EXPECT_EQ(reply.find(" .\n"), std::string::npos);

    EXPECT_TRUE(IsErrReply(client.Command(".DIR \"myfolder/없는 폴더/\"\r\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".DIR \"myfolder/readme.txt\"\r\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".NOPE \"myfolder/\"\r\n")));
    EXPECT_TRUE(IsOkReply(client.Command(".DIR \"myhtml/\"\r\n")));
}

TEST_F(ServiceProtocol, MakeRenameAndRemoveAFolderWithItsContents) {
    CommandClient client(m_service.Port(), "demo", "demo1234");
    EXPECT_EQ(client.Command(".MKDIR \"myfolder/새 폴더\"\r\n"), ".OK\n");
    EXPECT_TRUE(fs::is_directory(Demo() / "새 폴더"));
    EXPECT_TRUE(IsErrReply(client.Command(".MKDIR \"myfolder/새 폴더\"\r\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".MKDIR \"myfolder/없음/아래\"\r\n")));
    EXPECT_EQ(client.Command(".MKDIR \"myfolder/새 폴더/안\"\r\n"), ".OK\n");
    EXPECT_EQ(Upload(client, "myfolder/새 폴더/안/f.txt", "data"), ".OK\n");

    EXPECT_EQ(client.Command(".RENAME \"myfolder/새 폴더\" \"옮긴 폴더\"\r\n"), ".OK\n");
    EXPECT_FALSE(fs::exists(Demo() / "새 폴더"));
    EXPECT_EQ(ReadFileBytes(Demo() / "옮긴 폴더" / "안" / "f.txt"), "data");
    EXPECT_TRUE(IsErrReply(client.Command(".RENAME \"myfolder/readme.txt\" \"옮긴 폴더\"\r\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".RENAME \"myfolder/없음\" \"x\"\r\n")));
    EXPECT_TRUE(fs::exists(Demo() / "readme.txt"));

    EXPECT_EQ(client.Command(".REMOVE \"myfolder/옮긴 폴더\"\r\n"), ".OK\n");
    EXPECT_FALSE(fs::exists(Demo() / "옮긴 폴더"));
    EXPECT_EQ(client.Command(".REMOVE \"myfolder/readme.txt\"\r\n"), ".OK\n");
    EXPECT_FALSE(fs::exists(Demo() / "readme.txt"));
    EXPECT_TRUE(IsErrReply(client.Command(".REMOVE \"myfolder/readme.txt\"\r\n")));
}

TEST_F(ServiceProtocol, UploadAndDownloadKeepEveryByteAndFrameTheBody) {
    CommandClient client(m_service.Port(), "demo", "demo1234");
    for (const std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{300 * 1024 + 17}}) {
        const std::string bytes = AllByteValues(size) + (size > 0 ? "\r\n.OK\n" : "");
        const std::string path = "myfolder/파일 " + std::to_string(size) + ".bin";
        ASSERT_EQ(Upload(client, path, bytes), ".OK\n");
        EXPECT_EQ(ReadFileBytes(Demo() / ("파일 " + std::to_string(size) + ".bin")), bytes);

        RawConnection& connection = client.Connection();
        connection.Send(".GETFILE \"" + path + "\"\n");
        const std::string header = ".OK " + std::to_string(bytes.size()) + "\n";
        EXPECT_EQ(connection.ReceiveExactly(header.size()), header);
        EXPECT_EQ(connection.ReceiveExactly(bytes.size()), bytes);
        EXPECT_EQ(connection.ReceiveExactly(4), ".OK\n");
    }
    // Replacing a file keeps one file with the new bytes.
    ASSERT_EQ(Upload(client, "myfolder/파일 10.bin", "new"), ".OK\n");
    EXPECT_EQ(ReadFileBytes(Demo() / "파일 10.bin"), "new");
    EXPECT_TRUE(IsErrReply(client.Command(".GETFILE \"myfolder/none.bin\"\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".GETFILE \"myfolder/문서\"\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".SAVETO \"myfolder/문서\" 3\n")));
    EXPECT_TRUE(IsErrReply(client.Command(".SAVETO \"myfolder/없음/x\" 3\n")));
    EXPECT_TRUE(fs::is_empty(m_service.Root() / ".incoming"));
}

TEST_F(ServiceProtocol, QuotaIsReportedInKilobytesAndEnforcedBeforeTheBody) {
    CommandClient client(m_service.Port(), "demo", "demo1234");
    const std::string before = client.Command(".QUOTA myfolder\r\n");
    ASSERT_EQ(before.rfind("QUOTA 102400:", 0), 0u) << before;
    ASSERT_TRUE(IsOkReply(before));
    ASSERT_EQ(Upload(client, "myfolder/big.bin", std::string(100 * 1024, 'b')), ".OK\n");
    const std::string after = client.Command(".QUOTA myfolder\r\n");
    const int usedBefore = std::stoi(before.substr(13));
    EXPECT_EQ(after, "QUOTA 102400:" + std::to_string(usedBefore + 100) + ":" +
                         std::to_string(102400 - usedBefore - 100) + "\n.OK\n");
    EXPECT_EQ(client.Command(".QUOTA \r\n"), after);
    ASSERT_EQ(client.Command(".REMOVE \"myfolder/big.bin\"\r\n"), ".OK\n");
    EXPECT_EQ(client.Command(".QUOTA myfolder\r\n"), before);
    ASSERT_EQ(Upload(client, "myfolder/big.bin", std::string(100 * 1024, 'b')), ".OK\n");

    // Refused before any body byte: the next line is read as a command again.
    EXPECT_EQ(client.Command(".SAVETO \"myfolder/huge.bin\" 104857600\n"), ".ERR quota exceeded\n");
    EXPECT_FALSE(fs::exists(Demo() / "huge.bin"));
    EXPECT_EQ(client.Command(".MKDIR \"myfolder/still here\"\r\n"), ".OK\n");
    for (const char* size : {"-1", "2147483648", "abc", "", "1 2"}) {
        EXPECT_TRUE(IsErrReply(client.Command(std::string(".SAVETO \"myfolder/s.bin\" ") + size + "\n"))) << size;
    }
    EXPECT_FALSE(fs::exists(Demo() / "s.bin"));
    EXPECT_TRUE(IsErrReply(client.Command(".QUOTA html\r\n")));
    EXPECT_EQ(client.Command(".QUOTA @demo\r\n").rfind("QUOTA 1048576:", 0), 0u);
}

TEST_F(ServiceProtocol, ADroppedUploadLeavesNoFile) {
    {
        CommandClient client(m_service.Port(), "demo", "demo1234");
        ASSERT_EQ(client.Command(".SAVETO \"myfolder/cut.bin\" 100000\n"), ".OK\n");
        ASSERT_TRUE(client.Connection().Send(std::string(5000, 'c')));
    }
    ASSERT_TRUE(WaitForLog(m_service, "upload cut after"));
    EXPECT_FALSE(fs::exists(Demo() / "cut.bin"));
    EXPECT_TRUE(fs::is_empty(m_service.Root() / ".incoming"));
}

TEST_F(ServiceProtocol, EscapeAttemptsAreRefusedAndTouchNothing) {
    fs::create_directories(m_service.Root() / "clubs" / "other");
    ASSERT_TRUE(WriteFileBytes(m_service.Root() / "clubs" / "other" / "secret.txt", "secret"));
    const auto before = Snapshot(m_service.Root().parent_path());
    CommandClient client(m_service.Port(), "demo", "demo1234");
    const std::vector<std::string> attempts = {
        ".DIR \"myfolder/../../\"\r\n",
        ".DIR \"myfolder/../../../\"\r\n",
        ".MKDIR \"myfolder/../../evil\"\r\n",
        ".GETFILE \"myfolder/../../../accounts.txt\"\n",
        ".DIR \"/etc/\"\r\n",
        ".GETFILE \"/etc/passwd\"\n",
        ".SAVETO \"/tmp/ostrana-evil\" 1\n",
        ".DIR \"@other/\"\r\n",
        ".GETFILE \"@other/secret.txt\"\n",
        ".REMOVE \"@other/secret.txt\"\r\n",
        ".DIR \"html/\"\r\n",
        ".MKDIR \"filter/x\"\r\n",
        ".SAVETO \"html/index.html\" 1\n",
        ".DIR \"myfolder\\..\\..\\\"\r\n",
        ".MKDIR \"myfolder\\evil\"\r\n",
        ".MKDIR \"myfolder/a\x01" "b\"\r\n",
        ".MKDIR \"myfolder/a\rb\"\r\n",
        std::string(".MKDIR \"myfolder/a\0b\"\r\n", 24),
        ".RENAME \"myfolder/readme.txt\" \"../../evil\"\r\n",
        ".RENAME \"myfolder/readme.txt\" \"..\"\r\n",
        ".RENAME \"myfolder/\" \"x\"\r\n",
        ".REMOVE \"myfolder/\"\r\n",
        ".REMOVE \"myfolder/..\"\r\n",
        ".REMOVE \"@demo/\"\r\n",
        ".DIR \"users/demo/\"\r\n",
        ".DIR \".incoming/\"\r\n",
        ".DIR \"\"\r\n",
        ".MKDIR \"myfolder/a\"b\"\r\n",
        ".DIR myfolder/\r\n",
    };
    for (const std::string& attempt : attempts) {
        EXPECT_TRUE(IsErrReply(client.Command(attempt))) << attempt;
    }
    auto after = Snapshot(m_service.Root().parent_path());
    after.erase((m_service.Root().parent_path() / "service.log").string());
    auto expected = before;
    expected.erase((m_service.Root().parent_path() / "service.log").string());
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(fs::exists("/tmp/ostrana-evil"));

    CommandClient webmaster(m_service.Port(), "webmaster", "web1234");
    EXPECT_TRUE(IsOkReply(webmaster.Command(".DIR \"html/\"\r\n")));
    EXPECT_TRUE(IsOkReply(webmaster.Command(".DIR \"filter/\"\r\n")));
    EXPECT_TRUE(IsErrReply(webmaster.Command(".DIR \"@demo/\"\r\n")));
    EXPECT_TRUE(IsOkReply(client.Command(".DIR \"@demo/\"\r\n")));
}

TEST_F(ServiceProtocol, OversizedLinesAndHeadsAreRefusedAndClosed) {
    CommandClient client(m_service.Port(), "demo", "demo1234");
    EXPECT_EQ(client.Command(".DIR \"myfolder/" + std::string(20000, 'a') + "/\"\r\n"), ".ERR line too long\n");
    EXPECT_TRUE(client.Connection().PeerClosed());

    RawConnection head(m_service.Port());
    head.Send("POST /_login HTTP/1.1\r\nX-Filler: " + std::string(20000, 'x') + "\r\n\r\n");
    EXPECT_EQ(head.ReceiveAll().rfind("HTTP/1.1 431", 0), 0u);

    CommandClient after(m_service.Port(), "demo", "demo1234");
    EXPECT_TRUE(IsOkReply(after.Command(".DIR \"myfolder/\"\r\n")));
}

TEST_F(ServiceProtocol, ManyClientsAtOnce) {
    constexpr int kClients = 16;
    std::atomic<int> succeeded = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < kClients; ++i) {
        threads.emplace_back([&, i] {
            CommandClient client(m_service.Port(), "demo", "demo1234");
            const std::string folder = "myfolder/c" + std::to_string(i);
            const std::string bytes = AllByteValues(20000 + static_cast<std::size_t>(i));
            bool ok = client.Greeting() == "OK 1 [데모]\n" && client.Command(".MKDIR \"" + folder + "\"\r\n") == ".OK\n" &&
                      Upload(client, folder + "/f.bin", bytes) == ".OK\n" &&
                      IsOkReply(client.Command(".DIR \"" + folder + "/\"\r\n"));
            if (ok) {
                RawConnection& connection = client.Connection();
                connection.Send(".GETFILE \"" + folder + "/f.bin\"\n");
                ok = connection.ReceiveExactly(bytes.size() + 14) ==
                     ".OK " + std::to_string(bytes.size()) + "\n" + bytes + ".OK\n";
            }
            succeeded += ok ? 1 : 0;
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(succeeded.load(), kClients);
    for (int i = 0; i < kClients; ++i) {
        EXPECT_EQ(fs::file_size(Demo() / ("c" + std::to_string(i)) / "f.bin"), 20000u + static_cast<unsigned>(i));
    }
}

TEST_F(ServiceProtocol, LogsOneLinePerCommand) {
    {
        CommandClient client(m_service.Port(), "demo", "demo1234");
        client.Command(".DIR \"myfolder/\"\r\n");
        client.Command(".MKDIR \"myfolder/logged\"\r\n");
    }
    ASSERT_TRUE(WaitForLog(m_service, ".MKDIR \"myfolder/logged\" -> .OK"));
    const std::string log = m_service.LogText();
    EXPECT_NE(log.find(" demo LOGIN accepted\n"), std::string::npos);
    EXPECT_NE(log.find(" demo .DIR \"myfolder/\" -> .OK ("), std::string::npos);
    EXPECT_EQ(log.find("demo1234"), std::string::npos);
}

TEST(ServiceLimits, SilentConnectionsAreClosedAfterTheIdleTimeOut) {
    ServiceProcess service({"--idle-timeout", "1"});
    RawConnection silentBeforeRequest(service.Port());
    CommandClient silentInSession(service.Port(), "demo", "demo1234");
    ASSERT_EQ(silentInSession.Greeting(), "OK 1 [데모]\n");
    EXPECT_TRUE(silentInSession.Connection().PeerClosed());
    EXPECT_TRUE(silentBeforeRequest.PeerClosed());
}

TEST(ServiceLimits, AnOpeningRequestThatNeverEndsIsClosedAtItsDeadline) {
    // The idle time-out alone would keep these open far beyond the client's 30 s wait.
    ServiceProcess service({"--request-timeout", "1", "--idle-timeout", "3600"});
    RawConnection partialHead(service.Port());
    partialHead.Send("POST /_login HTTP/1.1\r\nContent-Type: multipart/form-data; boundary=x\r\n");
    RawConnection partialForm(service.Port());
    partialForm.Send("POST /_login HTTP/1.1\r\nContent-Type: multipart/form-data; boundary=x\r\n\r\n--x\r\n");
    EXPECT_TRUE(partialHead.PeerClosed());
    EXPECT_NE(partialForm.ReceiveAll().find("403"), std::string::npos);
    // A command session is not bound by it.
    CommandClient client(service.Port(), "demo", "demo1234");
    ASSERT_TRUE(WaitForLog(service, "FILE-ACTION session opened"));
    RawConnection later(service.Port());
    later.Send("POST /_login HTTP/1.1\r\n");
    EXPECT_TRUE(later.PeerClosed());
    EXPECT_TRUE(IsOkReply(client.Command(".DIR \"myfolder/\"\r\n")));
}

TEST(ServiceLimits, ConnectionsBeyondTheBoundWaitUntilOneEnds) {
    ServiceProcess service({"--max-connections", "3"});
    std::vector<std::unique_ptr<CommandClient>> sessions;
    for (int i = 0; i < 3; ++i) {
        sessions.push_back(std::make_unique<CommandClient>(service.Port(), "demo", "demo1234"));
        ASSERT_EQ(sessions.back()->Greeting(), "OK 1 [데모]\n");
    }
    ASSERT_TRUE(WaitForLog(service, "connection limit reached"));
    RawConnection waiting(service.Port());
    ASSERT_TRUE(waiting.Connected());
    ASSERT_TRUE(waiting.Send(LoginRequest("127.0.0.1", "demo", "demo1234")));
    EXPECT_TRUE(IsOkReply(sessions[2]->Command(".DIR \"myfolder/\"\r\n")));
    sessions.erase(sessions.begin());
    EXPECT_NE(waiting.ReceiveAll().find("Set-Cookie: WAXLO_AUTH="), std::string::npos);
    EXPECT_TRUE(IsOkReply(sessions[0]->Command(".DIR \"myfolder/\"\r\n")));
}

TEST(ServiceProgram, HelpDocumentsEveryOption) {
    const std::string command = ServiceProcess::BinaryPath().string() + " --help";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string help;
    char chunk[4096];
    while (const std::size_t count = fread(chunk, 1, sizeof chunk, pipe)) {
        help.append(chunk, count);
    }
    EXPECT_EQ(pclose(pipe), 0);
    for (const char* option : {"--root", "--listen", "--accounts", "--demo", "--add-user", "--name", "--kind", "--quota",
                               "--clubs", "--idle-timeout", "--request-timeout", "--session-expiry", "--max-connections", "--login-lockout",
                               "--shared-quota",
                               "--help"}) {
        EXPECT_NE(help.find(std::string("  ") + option + " "), std::string::npos) << option;
    }
}

TEST_F(ServiceProtocol, GarbledCommandsGetRepliesAndNeverBringTheServiceDown) {
    const std::vector<std::string> names = {".DIR", ".MKDIR", ".RENAME", ".REMOVE", ".QUOTA", ".GETFILE", ".X", ""};
    const std::vector<std::string> pieces = {"\"", "\"myfolder/", "..", "/", "\\", std::string(1, '\0'), "\r", "a",
                                             " ", "@demo", "html", "-1", "\xff", "\xea\xb0\x80", "\"\"", "%s%n"};
    std::mt19937 random(20240229);
    CommandClient client(m_service.Port(), "demo", "demo1234");
    for (int i = 0; i < 300; ++i) {
        std::string line = names[random() % names.size()] + " ";
        for (std::size_t n = random() % 7; n > 0; --n) {
            line += pieces[random() % pieces.size()];
        }
        const std::string reply = client.Command(line + "\r\n");
        ASSERT_TRUE(IsOkReply(reply) || IsErrReply(reply)) << i << ": " << line;
    }
    CommandClient fresh(m_service.Port(), "demo", "demo1234");
    EXPECT_TRUE(IsOkReply(fresh.Command(".DIR \"myfolder/\"\r\n")));
}

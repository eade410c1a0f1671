// The container end to end over a real WebSocket on loopback: a page gets the greeting and the
// whole state, acknowledges it, clicks a radio button and sees the change in the next frame; a
// second page takes over and gets everything again.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "host/ControlHost.h"
#include "host/HostSession.h"
#include "host/RequestGate.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowGeometry.h"
#include "res/Resources.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/ShellSandbox.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"

using namespace ostrana;
using namespace ostrana::host;
using namespace ostrana::host::test;
using Json = nlohmann::json;

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

// A page as the browser is one to the server: a WebSocket with our host, origin and token. Its
// reader thread collects the messages.
class TestPage {
public:
    TestPage(int port, const std::string& token)
    {
        m_socket = ostrana::test::ConnectLoopback(port, 10);
        if (m_socket < 0)
            return;
        std::string host = "127.0.0.1:" + std::to_string(port);
        WriteAll("GET /ws?t=" + token + " HTTP/1.1\r\nHost: " + host +
                 "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                 "Sec-WebSocket-Version: 13\r\nOrigin: http://" + host + "\r\n\r\n");
        std::string reply;
        char byte = 0;
        while (!reply.ends_with("\r\n\r\n") && recv(m_socket, &byte, 1, 0) == 1)
            reply += byte;
        m_connected = reply.starts_with("HTTP/1.1 101");
        // The time-out bounds the handshake only: a quiet spell between messages on a busy machine
        // must not end the reader; the waits below have their own deadlines.
        timeval forever{0, 0};
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &forever, sizeof forever);
        if (m_connected)
            m_reader = std::thread([this] { Read(); });
    }
    ~TestPage()
    {
        shutdown(m_socket, SHUT_RDWR);
        if (m_reader.joinable())
            m_reader.join();
        close(m_socket);
    }
    bool Connected() const { return m_connected; }

    void Send(const Json& message)
    {
        // Client frames are masked; the mask itself may be anything.
        std::string payload = message.dump();
        std::string frame(1, static_cast<char>(0x81));
        if (payload.size() < 126) {
            frame += static_cast<char>(0x80 | payload.size());
        } else {
            frame += static_cast<char>(0x80 | 126);
            frame += static_cast<char>((payload.size() >> 8) & 0xFF);
            frame += static_cast<char>(payload.size() & 0xFF);
        }
        const char mask[4] = {0x12, 0x34, 0x56, 0x78};
        frame.append(mask, 4);
        for (size_t i = 0; i < payload.size(); ++i)
            frame += static_cast<char>(payload[i] ^ mask[i % 4]);
        WriteAll(frame);
    }
    // The messages up to and including the next frame's end; empty on time-out.
    std::vector<Json> NextFrame() { return Until([](const Json& m) { return m["k"] == static_cast<int>(ToPage::FrameEnd); }); }
    std::vector<Json> Until(const std::function<bool(const Json&)>& last)
    {
        std::unique_lock lock(m_lock);
        std::vector<Json> taken;
        auto deadline = std::chrono::steady_clock::now() + kPatience;
        for (;;) {
            while (!m_received.empty()) {
                taken.push_back(std::move(m_received.front()));
                m_received.pop_front();
                if (last(taken.back()))
                    return taken;
            }
            if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout && m_received.empty()) {
                ADD_FAILURE() << "no such message came; had " << Json(taken).dump().substr(0, 400);
                return {};
            }
        }
    }

private:
    void WriteAll(const std::string& bytes)
    {
        for (size_t sent = 0; sent < bytes.size();) {
            ssize_t wrote = send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0)
                return;
            sent += static_cast<size_t>(wrote);
        }
    }
    bool ReadAll(void* buffer, size_t length)
    {
        auto* bytes = static_cast<char*>(buffer);
        for (size_t got = 0; got < length;) {
            ssize_t read = recv(m_socket, bytes + got, length - got, 0);
            if (read <= 0)
                return false;
            got += static_cast<size_t>(read);
        }
        return true;
    }
    void Read()
    {
        for (;;) {
            unsigned char head[2];
            if (!ReadAll(head, 2))
                return;
            uint64_t length = head[1] & 0x7F;
            int extra = length == 126 ? 2 : length == 127 ? 8 : 0;
            if (extra) {
                unsigned char wide[8];
                if (!ReadAll(wide, static_cast<size_t>(extra)))
                    return;
                length = 0;
                for (int i = 0; i < extra; ++i)
                    length = (length << 8) | wide[i];
            }
            std::string payload(static_cast<size_t>(length), '\0');
            if (!ReadAll(payload.data(), payload.size()))
                return;
            int opcode = head[0] & 0x0F;
            if (opcode == 0x8)
                return;
            if (opcode == 0x1) {
                std::lock_guard guard(m_lock);
                m_received.push_back(Json::parse(payload));
                m_changed.notify_all();
            }
        }
    }

    int m_socket = -1;
    bool m_connected = false;
    std::thread m_reader;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Json> m_received;
};

class PageSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir / "web");
        m_ui.Run([this] {
            m_window = std::make_unique<HostWindow>();
            m_session = std::make_unique<HostSession>(*m_window, ModuleImages);
            m_dialog = ShowOverwritePrompt();
        });
        ASSERT_EQ(m_session->Start(0, m_dir / "web", m_dir / "web"), "");
    }
    void TearDown() override
    {
        m_session->Stop();
        m_ui.Run([this] {
            DestroyWindow(m_dialog);
            m_session.reset();
            m_window.reset();
        });
    }
    int Port() const { return m_session->Server().Port(); }
    std::string Token() const { return m_session->Server().Gate().Token(); }

    ostrana::test::TempDir m_dir;
    ostrana::test::UiThread m_ui;
    std::unique_ptr<HostWindow> m_window;
    std::unique_ptr<HostSession> m_session;
    HWND m_dialog = nullptr;
};

TEST_F(PageSessionTest, APageSeesTheDialogClicksItAndSeesTheChange)
{
    TestPage page(Port(), Token());
    ASSERT_TRUE(page.Connected());
    std::vector<Json> first = page.NextFrame();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0]["k"], static_cast<int>(ToPage::Hello));
    EXPECT_EQ(first[0]["session"], 1);
    HWND radio = GetDlgItem(m_dialog, 235);
    Json record = WindowRecord(first, radio);
    ASSERT_FALSE(record.is_null());
    EXPECT_EQ(record["text"], "항상 겹쳐 쓰기");
    const Json& rect = record["rect"];
    int x = (rect[0].get<int>() + rect[2].get<int>()) / 2;
    int y = (rect[1].get<int>() + rect[3].get<int>()) / 2;

    page.Send({{"k", static_cast<int>(ToHost::Ack)}, {"frame", first.back()["frame"]}});
    page.Send({{"k", static_cast<int>(ToHost::Mouse)}, {"x", x}, {"y", y}, {"action", 1}, {"button", 0}, {"mods", 0}});
    page.Send({{"k", static_cast<int>(ToHost::Mouse)}, {"x", x}, {"y", y}, {"action", 2}, {"button", 0}, {"mods", 0}});
    // Frames follow until one shows the radio button repainted.
    bool repainted = false;
    for (int frames = 0; frames < 20 && !repainted; ++frames) {
        std::vector<Json> frame = page.NextFrame();
        ASSERT_FALSE(frame.empty());
        for (const Json& message : frame)
            repainted = repainted || (message["k"] == static_cast<int>(ToPage::Picture) && message["h"] == HandleNumber(radio));
        page.Send({{"k", static_cast<int>(ToHost::Ack)}, {"frame", frame.back()["frame"]}});
    }
    EXPECT_TRUE(repainted);
    EXPECT_EQ(m_ui.Get<LRESULT>([&] { return SendMessageA(radio, BM_GETCHECK, 0, 0); }), BST_CHECKED);
}

TEST_F(PageSessionTest, ASecondPageTakesOverAndGetsTheWholeStateAgain)
{
    TestPage first(Port(), Token());
    std::vector<Json> whole = first.NextFrame();
    ASSERT_FALSE(whole.empty());
    m_session->FireEvent("OnOstranaLoaded");
    first.Until([](const Json& m) { return m["k"] == static_cast<int>(ToPage::Event); });

    TestPage second(Port(), Token());
    first.Until([](const Json& m) { return m["k"] == static_cast<int>(ToPage::Superseded); });
    std::vector<Json> again = second.NextFrame();
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again[0]["session"], 2);
    // The same windows, and the images again for a page that has none yet.
    EXPECT_EQ(OfKind(again, ToPage::TreeChange).size(), OfKind(whole, ToPage::TreeChange).size());
    EXPECT_EQ(OfKind(again, ToPage::Image).size(), OfKind(whole, ToPage::Image).size());
    // The control's loaded event is part of the state a new page needs, told once, right after
    // the greeting and before the whole state.
    ASSERT_GT(again.size(), 2u);
    EXPECT_EQ(again[1], Json({{"k", static_cast<int>(ToPage::Event)}, {"name", "OnOstranaLoaded"}}));
    EXPECT_EQ(OfKind(again, ToPage::Event).size(), 1u);
    // The older page's input no longer reaches anything.
    first.Send({{"k", static_cast<int>(ToHost::Ack)}, {"frame", again.back()["frame"]}});
}

TEST_F(PageSessionTest, APageHearsWhatHappenedBeforeItCameAfterItsGreetingAndBeforeTheWholeState)
{
    constexpr size_t kEvents = 300; // a long replay, which the first frame must not overtake
    for (size_t i = 0; i < kEvents; ++i)
        m_session->FireEvent("E" + std::to_string(i));
    TestPage page(Port(), Token());
    std::vector<Json> frame = page.NextFrame();
    ASSERT_GT(frame.size(), kEvents + 2);
    EXPECT_EQ(frame[0]["k"], static_cast<int>(ToPage::Hello));
    for (size_t i = 0; i < kEvents; ++i)
        ASSERT_EQ(frame[i + 1], Json({{"k", static_cast<int>(ToPage::Event)}, {"name", "E" + std::to_string(i)}})) << i;
    EXPECT_EQ(OfKind(frame, ToPage::Event).size(), kEvents);
}

TEST_F(PageSessionTest, EveryPageHearsEachEventOnceWhileEventsAndTakeOversCross)
{
    std::atomic<int> fired = 0;
    std::jthread firing([&](std::stop_token stop) {
        for (int i = 0; i < 1000 && !stop.stop_requested(); ++i) {
            m_session->FireEvent("E" + std::to_string(i));
            fired = i + 1;
        }
    });
    // Each open page keeps one of the server's four threads.
    std::vector<std::unique_ptr<TestPage>> pages;
    std::vector<std::vector<Json>> heard;
    for (int i = 0; i < 3; ++i) {
        pages.push_back(std::make_unique<TestPage>(Port(), Token()));
        ASSERT_TRUE(pages.back()->Connected());
        heard.push_back(pages.back()->NextFrame());
        ASSERT_FALSE(heard.back().empty());
    }
    firing.request_stop();
    firing.join();
    m_session->FireEvent("done");
    for (size_t i = 0; i < pages.size(); ++i) {
        // Older pages may miss what came after they were taken over, but never hear a thing twice.
        bool last = i + 1 == pages.size();
        std::vector<Json> rest = last ? pages[i]->Until([](const Json& m) { return m.value("name", "") == "done"; })
                                      : pages[i]->Until([](const Json& m) { return m["k"] == static_cast<int>(ToPage::Superseded); });
        heard[i].insert(heard[i].end(), rest.begin(), rest.end());
        std::set<std::string> names;
        for (const Json& event : OfKind(heard[i], ToPage::Event))
            EXPECT_TRUE(names.insert(event["name"].get<std::string>()).second) << event;
        if (last) {
            EXPECT_EQ(names.size(), static_cast<size_t>(fired) + 1);
        }
    }
}

// What was made for a page that has been taken over stays with it.
TEST(HostServerSessionTest, SendToReachesOnlyTheSessionThatOwnsThePage)
{
    ostrana::test::TempDir dir;
    std::filesystem::create_directories(dir / "web");
    HostServer server;
    ASSERT_EQ(server.Start(0, dir / "web", dir / "web"), "");
    auto hello = [](const Json& m) { return m["k"] == static_cast<int>(ToPage::Hello); };
    TestPage first(server.Port(), server.Gate().Token());
    ASSERT_FALSE(first.Until(hello).empty());
    TestPage second(server.Port(), server.Gate().Token());
    ASSERT_FALSE(second.Until(hello).empty());
    first.Until([](const Json& m) { return m["k"] == static_cast<int>(ToPage::Superseded); });

    EXPECT_FALSE(server.SendTo(1, R"({"k":13,"name":"stale"})"));
    EXPECT_TRUE(server.SendTo(2, R"({"k":13,"name":"fresh"})"));
    std::vector<Json> next = second.Until([](const Json&) { return true; });
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0]["name"], "fresh");
    server.Stop();
}

// Wakes on new pictures as well: a button shows its press and its release by repainting.
class PictureWaiter : public ostrana::test::WindowWaiter {
public:
    void OnPicture(HWND window) override { OnWindowChanged(window, WindowChange::Overlay); }
};

// The page presses Ctrl and the left button on the dialog's radio button, which takes the capture.
void HoldCtrlAndButtonOnTheRadio(TestPage& page, HWND radio, PictureWaiter& waiter)
{
    ASSERT_TRUE(page.Connected());
    std::vector<Json> first = page.NextFrame();
    Json record = WindowRecord(first, radio);
    ASSERT_FALSE(record.is_null());
    const Json& rect = record["rect"];
    int x = (rect[0].get<int>() + rect[2].get<int>()) / 2;
    int y = (rect[1].get<int>() + rect[3].get<int>()) / 2;
    page.Send({{"k", static_cast<int>(ToHost::Ack)}, {"frame", first.back()["frame"]}});
    page.Send({{"k", static_cast<int>(ToHost::Key)}, {"code", "ControlLeft"}, {"key", "Control"}, {"down", true}, {"mods", 4}});
    page.Send({{"k", static_cast<int>(ToHost::Mouse)}, {"x", x}, {"y", y}, {"action", 1}, {"button", 0}, {"mods", 4}});
    ASSERT_TRUE(waiter.WaitUntil([radio] { return GetCapture() == radio; }));
}

bool NothingHeld()
{
    return GetCapture() == nullptr && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000) && !(GetAsyncKeyState(VK_CONTROL) & 0x8000);
}

TEST_F(PageSessionTest, APageThatGoesAwayWithAButtonAndCtrlDownLetsGoOfThemAndTheCaptureEnds)
{
    PictureWaiter waiter;
    {
        TestPage page(Port(), Token());
        ASSERT_NO_FATAL_FAILURE(HoldCtrlAndButtonOnTheRadio(page, GetDlgItem(m_dialog, 235), waiter));
    }
    EXPECT_TRUE(waiter.WaitUntil(NothingHeld));
}

TEST_F(PageSessionTest, APageTakenOverWithAButtonDownLetsGoOfItBeforeTheNewPageGetsItsFrame)
{
    PictureWaiter waiter;
    TestPage first(Port(), Token());
    ASSERT_NO_FATAL_FAILURE(HoldCtrlAndButtonOnTheRadio(first, GetDlgItem(m_dialog, 235), waiter));
    TestPage second(Port(), Token());
    ASSERT_FALSE(second.NextFrame().empty());
    EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    EXPECT_TRUE(waiter.WaitUntil(NothingHeld));
}

// The control in the container, reached from the page as the page's control object reaches it.
class PageControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir / "web");
        m_boxes = std::make_shared<HeadlessMessageBoxPresenter>();
        SetMessageBoxPresenter(m_boxes);
        std::string error;
        m_ui.Run([&] {
            m_window = std::make_unique<HostWindow>();
            m_session = std::make_unique<HostSession>(*m_window, ModuleImages);
            m_control = std::make_unique<ControlHost>();
            error = m_control->Create(m_window->Handle(), OSTRANA_MODULE_FILE,
                                      [this](const std::string& name) { m_session->FireEvent(name); });
            m_session->SetControl(m_control.get());
        });
        ASSERT_EQ(error, "");
        ASSERT_EQ(m_session->Start(0, m_dir / "web", m_dir / "web"), "");
    }
    void TearDown() override
    {
        m_session->Stop();
        m_ui.Run([this] {
            m_session->SetControl(nullptr);
            m_control.reset();
            m_session.reset();
            m_window.reset();
        });
        SetMessageBoxPresenter(nullptr);
    }

    ostrana::test::TempDir m_dir;
    // A home, drives and registry of the test's own: the started main window shows the local disk.
    ostrana::test::ShellSandbox m_sandbox;
    std::shared_ptr<HeadlessMessageBoxPresenter> m_boxes;
    ostrana::test::UiThread m_ui;
    std::unique_ptr<HostWindow> m_window;
    std::unique_ptr<HostSession> m_session;
    std::unique_ptr<ControlHost> m_control;
};

TEST_F(PageControlTest, ThePagesPropertiesAndStartReachTheControlAndTheAreaFollowsTheBrowser)
{
    TestPage page(m_session->Server().Port(), m_session->Server().Gate().Token());
    ASSERT_TRUE(page.Connected());
    // The control was loaded before the page came; the page hears it all the same.
    page.Until([](const Json& m) { return m["k"] == static_cast<int>(ToPage::Event) && m["name"] == "OnOstranaLoaded"; });
    std::vector<Json> frame = page.NextFrame();
    ASSERT_FALSE(frame.empty());
    page.Send({{"k", static_cast<int>(ToHost::Ack)}, {"frame", frame.back()["frame"]}});

    page.Send({{"k", static_cast<int>(ToHost::Resize)}, {"w", 700}, {"h", 650}, {"dpr", 2}});
    page.Send({{"k", static_cast<int>(ToHost::Property)}, {"name", "varAuth"}, {"value", "WAXLO_AUTH=token1"}});
    page.Send({{"k", static_cast<int>(ToHost::Property)}, {"name", "varHostName"}, {"value", "127.0.0.1:1"}});
    page.Send({{"k", static_cast<int>(ToHost::Method)}, {"name", "StartOstrana"}});
    // Frames follow until the control's window holds the main window.
    HWND control = m_control->Window();
    bool started = false;
    for (int frames = 0; frames < 40 && !started; ++frames) {
        std::vector<Json> next = page.NextFrame();
        ASSERT_FALSE(next.empty());
        for (const Json& message : next)
            started = started || (message["k"] == static_cast<int>(ToPage::TreeChange) &&
                                  message.value("parent", 0LL) == HandleNumber(control));
        page.Send({{"k", static_cast<int>(ToHost::Ack)}, {"frame", next.back()["frame"]}});
    }
    EXPECT_TRUE(started);
    RECT area = m_ui.Get<RECT>([&] {
        RECT client{};
        GetClientRect(control, &client);
        return client;
    });
    EXPECT_EQ(area.right, 700);
    EXPECT_EQ(area.bottom, 650);
}

} // namespace

// The stream to the page: the whole state for each new page, changes merged while a frame waits
// for its acknowledgement, and the clipboard's news without echoing the page's own paste.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>

#include "host/DisplayStream.h"
#include "platform/base/CodePage.h"
#include "platform/window/Clipboard.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowGeometry.h"
#include "tests/host/HostTestSupport.h"
#include "tests/support/WindowHarness.h"

using namespace ostrana;
using namespace ostrana::host;
using namespace ostrana::host::test;
using Json = nlohmann::json;

namespace {

class DisplayStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_stream = std::make_unique<DisplayStream>(
            MakeWriter(),
            [this](int page, const std::string& json) {
                std::lock_guard guard(m_lock);
                m_sent.push_back(Json::parse(json));
                m_pages.push_back(page);
                return true;
            },
            [this] { ++m_wakes; });
        m_ui.Run([this] { m_dialog = ShowOverwritePrompt(); });
    }
    void TearDown() override
    {
        m_ui.Run([this] { DestroyWindow(m_dialog); });
        m_stream.reset();
    }
    // Runs `change` on the user-interface thread, hands its batch to the stream and lets the
    // stream turn it into messages there.
    void Change(const std::function<void()>& change)
    {
        m_ui.Run([&] {
            change();
            PumpUntilIdle();
            FlushDisplayChanges();
        });
        Pump();
    }
    void Pump()
    {
        m_ui.Run([this] { m_stream->Pump(); });
    }
    std::vector<Json> TakeSent()
    {
        std::lock_guard guard(m_lock);
        m_takenPages = std::exchange(m_pages, {});
        return std::exchange(m_sent, {});
    }
    // Whether every message TakeSent last returned was made for `page`.
    bool AllFor(int page) const
    {
        return std::all_of(m_takenPages.begin(), m_takenPages.end(), [page](int p) { return p == page; });
    }

    ostrana::test::UiThread m_ui;
    HWND m_dialog = nullptr;
    std::unique_ptr<DisplayStream> m_stream;
    std::mutex m_lock;
    std::vector<Json> m_sent;
    std::vector<int> m_pages; // the page each sent message was made for
    std::vector<int> m_takenPages;
    std::atomic<int> m_wakes = 0;
};

TEST_F(DisplayStreamTest, NothingBeforeAPageThenTheWholeStateInOneFrame)
{
    Change([this] { SetWindowTextA(m_dialog, "before any page"); });
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(m_wakes, 0);

    m_stream->PageConnected(1);
    EXPECT_EQ(m_wakes, 1);
    m_stream->PageConnected(2); // one wake-up is enough while the first is pending
    EXPECT_EQ(m_wakes, 1);
    Pump();
    std::vector<Json> frame = TakeSent();
    EXPECT_TRUE(AllFor(2));
    ASSERT_GT(frame.size(), 20u);
    EXPECT_EQ(frame.back(), Json({{"k", static_cast<int>(ToPage::FrameEnd)}, {"frame", 1}}));
    EXPECT_EQ(WindowRecord(frame, m_dialog)["text"], "before any page");
    EXPECT_FALSE(OfKind(frame, ToPage::Image).empty());
    EXPECT_EQ(OfKind(frame, ToPage::Order).size(), 1u);
}

TEST_F(DisplayStreamTest, ChangesWhileAFrameWaitsMergeIntoTheNextFrame)
{
    m_stream->PageConnected(1);
    Pump();
    TakeSent();
    HWND yes = GetDlgItem(m_dialog, IDOK);
    Change([&] { SetWindowTextA(yes, "one"); });
    Change([&] { SetWindowTextA(yes, "two"); });
    Change([&] { SetWindowTextA(yes, "three"); });
    EXPECT_TRUE(TakeSent().empty()); // frame 1 is not acknowledged yet

    m_stream->Acknowledge(2); // not the awaited frame
    EXPECT_TRUE(TakeSent().empty());
    m_stream->Acknowledge(1);
    std::vector<Json> frame = TakeSent();
    // One record and one picture of the button, as it is now, then the mark.
    ASSERT_EQ(frame.size(), 3u) << Json(frame);
    EXPECT_EQ(frame[0]["text"], "three");
    EXPECT_EQ(frame[1]["k"], static_cast<int>(ToPage::Picture));
    EXPECT_EQ(frame[2]["frame"], 2);

    // With the page caught up, a change goes out at once.
    m_stream->Acknowledge(2);
    Change([&] { EnableWindow(yes, FALSE); });
    frame = TakeSent();
    ASSERT_FALSE(frame.empty());
    EXPECT_FALSE(frame[0]["enabled"].get<bool>());
    EXPECT_EQ(frame.back()["frame"], 3);
}

TEST_F(DisplayStreamTest, AReloadGetsTheWholeStateAgainAndOldAcksAreIgnored)
{
    m_stream->PageConnected(1);
    Pump();
    size_t whole = TakeSent().size();
    Change([this] { SetWindowTextA(m_dialog, "changed"); });
    EXPECT_TRUE(TakeSent().empty());

    m_stream->PageConnected(2);
    m_stream->Acknowledge(1); // the old page's late acknowledgement
    Pump();
    std::vector<Json> frame = TakeSent();
    EXPECT_EQ(frame.size(), whole);
    EXPECT_TRUE(AllFor(2));
    EXPECT_EQ(WindowRecord(frame, m_dialog)["text"], "changed");
    EXPECT_EQ(frame.back()["frame"], 2);
    EXPECT_FALSE(OfKind(frame, ToPage::Image).empty());
}

TEST_F(DisplayStreamTest, ClipboardTextGoesToThePageButNotItsOwnPaste)
{
    m_stream->PageConnected(1);
    Pump();
    TakeSent();
    m_stream->Acknowledge(1);
    m_stream->PageClipboard("from the page");
    Change([] { PutClipboardText("from the page"); });
    EXPECT_TRUE(TakeSent().empty());
    Change([] { PutClipboardText("서버 주소"); });
    std::vector<Json> frame = TakeSent();
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(frame[0], Json({{"k", static_cast<int>(ToPage::Clipboard)}, {"text", "서버 주소"}}));
}

} // namespace

namespace {

TEST_F(DisplayStreamTest, WithThePageGoneChangesAreDroppedNotHoarded)
{
    m_stream->PageConnected(1);
    Pump();
    TakeSent();
    m_stream->PageGone();
    int wakes = m_wakes;
    Change([this] { SetWindowTextA(m_dialog, "nobody watches"); });
    EXPECT_EQ(m_wakes, wakes);
    m_stream->Acknowledge(1); // the gone page's last word changes nothing
    EXPECT_TRUE(TakeSent().empty());

    m_stream->PageConnected(2);
    Pump();
    std::vector<Json> frame = TakeSent();
    EXPECT_EQ(WindowRecord(frame, m_dialog)["text"], "nobody watches");
    EXPECT_EQ(frame.back()["frame"], 2);
}

} // namespace

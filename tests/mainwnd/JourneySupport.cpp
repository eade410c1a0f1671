#include "tests/mainwnd/JourneySupport.h"

#include <algorithm>

#include "platform/controls/CommCtrl.h"
#include "platform/window/Input.h"
#include "res/ResourceIds.h"
#include "server/ServerListView.h"
#include "session/SessionOwner.h"
#include "tests/support/LocalTime.h"
#include "transfer/TransferStarter.h"

namespace fs = std::filesystem;

namespace ostrana::test {

bool ObservedMainWindow::WaitForTransfersHandled(int count, int timeoutMs) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_handled >= count; });
}

LRESULT ObservedMainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = COstranaDlg::WindowProc(message, wParam, lParam);
    if (message == UWM_TRANSFER_DONE) {
        std::lock_guard lock(m_lock);
        ++m_handled;
        m_changed.notify_all();
    }
    return result;
}

std::time_t FixedLocalTime() { return LocalTime(2024, 3, 5, 14, 7, 9); }

void StampTimes(const fs::path& root) {
    const auto stamp = fs::file_time_type::clock::now() +
                       std::chrono::duration_cast<fs::file_time_type::duration>(
                           std::chrono::system_clock::from_time_t(FixedLocalTime()) - std::chrono::system_clock::now());
    for (const auto& entry : fs::recursive_directory_iterator(root)) fs::last_write_time(entry.path(), stamp);
}

POINT Centre(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT IntoField(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{rect.left + 8, rect.top + 6};
}

void JourneyFixture::SetUp() {
    m_app.SetRegistryKey("Zelkor");
    SetMessageBoxPresenter(m_boxes);
    StampTimes(m_service.Root() / "users" / "demo");
    m_ui.Run([&] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.lpszClassName = m_hostClass;
        RegisterClassA(&windowClass);
        m_host = std::make_unique<CWnd>();
        m_host->CreateEx(0, m_hostClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 820, 720, nullptr, nullptr);
    });
}

void JourneyFixture::TearDown() {
    m_ui.Run([&] {
        m_window.reset();
        m_host->DestroyWindow();
        m_host.reset();
    });
    SetMessageBoxPresenter(nullptr);
}

void JourneyFixture::Open(const std::string& cookie, const std::string& host, const std::string& user) {
    m_ui.Run([&] {
        m_window = std::make_unique<ObservedMainWindow>(m_host.get(), &m_session);
        m_window->SetLocalPanes(MakeLocalPanes());
        m_window->SetStartParams(cookie, host, user);
        ASSERT_TRUE(m_window->Create(IDD_OSTRANA, m_host.get()));
        m_window->MoveWindow(0, 0, 820, 720);
        m_window->ShowWindow(SW_SHOW);
    });
    m_ui.WaitIdle();
}

void JourneyFixture::OpenLoggedIn() {
    SimpleSessionOwner pageOwner;
    ServerSession page(&pageOwner);
    page.SetLoginData("demo", "demo1234", m_service.Host(), m_service.Port());
    int status = 3000;
    ASSERT_EQ(1, page.Login(status));
    Open(pageOwner.GetSessionCookie(), m_service.Host() + ":" + std::to_string(m_service.Port()), "demo");
}

void JourneyFixture::ClickItem(int id) { InjectClick(MouseButton::Left, Centre(Item(id))); }

void JourneyFixture::TypeInto(HWND field, const std::string& text) {
    InjectClick(MouseButton::Left, IntoField(field));
    m_ui.WaitIdle();
    InjectText(text);
}

fs::path JourneyFixture::Stored(const std::string& utf8Relative) const {
    return m_service.Root() / "users" / "demo" / "myfolder" / fs::u8path(utf8Relative);
}

std::string JourneyFixture::QuotaText() {
    return Utf8(m_ui.Get<std::string>([&] { return m_window->QuotaLabel().m_text; }));
}

std::vector<std::string> JourneyFixture::ServerRows() {
    return m_ui.Get<std::vector<std::string>>([&] {
        std::vector<std::string> rows;
        CServerListCtrl* list = m_window->ServerListPane()->GetServerList();
        for (int row = 0; row < list->GetItemCount(); ++row) rows.push_back(Utf8(list->GetCellText(row, 0)));
        return rows;
    });
}

bool JourneyFixture::Has(const std::vector<std::string>& rows, const std::string& name) {
    return std::find(rows.begin(), rows.end(), name) != rows.end();
}

void JourneyFixture::SelectServerRow(const std::string& utf8Name) {
    m_ui.Run([&] {
        CServerListCtrl* list = m_window->ServerListPane()->GetServerList();
        const int row = list->FindRowByText(Ansi(utf8Name), 0);
        ASSERT_GE(row, 0) << utf8Name;
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list->m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    });
}

POINT JourneyFixture::ServerRowPoint(const std::string& utf8Name) {
    return m_ui.Get<POINT>([&] {
        CServerListCtrl* list = m_window->ServerListPane()->GetServerList();
        RECT rect{};
        list->GetItemRect(list->FindRowByText(Ansi(utf8Name), 0), &rect, LVIR_LABEL);
        POINT point{rect.left + 10, (rect.top + rect.bottom) / 2};
        list->ClientToScreen(&point);
        return point;
    });
}

void JourneyFixture::CancelWhileThePromptWaits(WindowWaiter& waiter, HWND& progress) {
    HWND prompt = waiter.WaitForTopLevel("#32770", Ansi(kOverwriteCaption));
    ASSERT_NE(nullptr, prompt);
    progress = waiter.WaitForTopLevel(kProgressClass);
    ASSERT_NE(nullptr, progress);
    HWND cancel = GetDlgItem(progress, IDCANCEL);
    PostMessageA(cancel, BM_CLICK, 0, 0);
    EXPECT_TRUE(waiter.WaitUntil([&] { return !IsWindowEnabled(cancel); }));
    PostMessageA(GetDlgItem(prompt, IDCANCEL), BM_CLICK, 0, 0);
}

} // namespace ostrana::test

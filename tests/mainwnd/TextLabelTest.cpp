// The text and link label: attaching to a dialog item, its paint, its font, the link click through
// the shell and the fallback to the web page class's command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwnd/TextLabel.h"
#include "platform/base/CodePage.h"
#include "platform/registry/RegistryText.h"
#include "platform/shell/ShellExecute.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayObserver.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/TempDir.h"

namespace {

void SetDefaultValue(const std::string& subKey, const std::string& value) {
    ASSERT_TRUE(ostrana::WriteRegistryText(HKEY_CLASSES_ROOT, subKey, "", value));
}

class TextLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ostrana::SetDocumentOpener([this](const std::string& target) {
            m_opened.push_back(target);
            return m_openerWorks;
        });
        ostrana::SetProgramLauncher([this](const std::vector<std::string>& arguments) {
            m_launched.push_back(arguments);
            return true;
        });
        m_parent = ostrana::test::MakeTestWindow("LabelParent", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
        m_item = CreateWindowExA(0, "STATIC", ostrana::Utf8ToAnsi("사용량 : 1.2MB\n전체 : 100MB").c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 200, 40, m_parent,
                                 reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_parent);
        ostrana::SetDocumentOpener(nullptr);
        ostrana::SetProgramLauncher(nullptr);
    }

    ostrana::test::ScopedRegistryFile m_registry;
    std::vector<std::string> m_opened;
    std::vector<std::vector<std::string>> m_launched;
    bool m_openerWorks = true;
    HWND m_parent = nullptr;
    HWND m_item = nullptr;
};

TEST_F(TextLabelTest, AttachingTakesTheTextAddsNotifyAndPaintsWithFormatZeroOnTwoLines) {
    CTextLabel label;
    ASSERT_TRUE(label.Attach(m_item, 0, 0));
    EXPECT_EQ(ostrana::Utf8ToAnsi("사용량 : 1.2MB\n전체 : 100MB"), label.m_text);
    EXPECT_TRUE(GetWindowLongA(m_item, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(TRUE, SendMessageA(m_item, WM_ERASEBKGND, 0, 0));
    label.m_textColor = 0x102030;
    UpdateWindow(m_item);
    std::string dump = ostrana::DumpWindowTree(m_item);
    EXPECT_NE(std::string::npos, dump.find("fill (0,0)-(200,40)")) << dump;
    EXPECT_NE(std::string::npos, dump.find("1.2MB\\n")) << dump;
    EXPECT_NE(std::string::npos, dump.find("color=#302010")) << dump;
    // Format 0 breaks at the line feed: two lines tall.
    HDC dc = GetDC(m_item);
    RECT measured{0, 0, 200, 0};
    DrawTextA(dc, label.m_text.c_str(), -1, &measured, DT_CALCRECT);
    ReleaseDC(m_item, dc);
    RECT single{0, 0, 200, 0};
    HDC dc2 = GetDC(m_item);
    DrawTextA(dc2, "x", -1, &single, DT_CALCRECT);
    ReleaseDC(m_item, dc2);
    EXPECT_EQ(2 * (single.bottom - single.top), measured.bottom - measured.top);
}

TEST_F(TextLabelTest, ATransparentLabelDoesNotFillAndTheDefaultFormatCentresOneLine) {
    CTextLabel label;
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), label.m_format);
    label.Attach(m_item, CTextLabel::kTransparent, DT_LEFT | DT_SINGLELINE);
    UpdateWindow(m_item);
    std::string dump = ostrana::DumpWindowTree(m_item);
    EXPECT_EQ(std::string::npos, dump.find("fill (0,0)-(200,40)")) << dump;
}

TEST_F(TextLabelTest, SetFontStartsFromTheWindowsFontAndScalesPoints) {
    CTextLabel label;
    label.Attach(m_item, 0, 0);
    ASSERT_TRUE(label.SetFont(ostrana::Utf8ToAnsi("굴림").c_str(), 9, FALSE, TRUE, FALSE));
    ASSERT_TRUE(label.SetFont(nullptr, 12, TRUE, FALSE, FALSE)); // replaces the previous font
    UpdateWindow(m_item);
    std::string dump = ostrana::DumpWindowTree(m_item);
    EXPECT_NE(std::string::npos, dump.find("/16u")) << dump; // 12 pt at 96 pixels per inch
}

TEST_F(TextLabelTest, OnlyALinkOpensItsTargetAndShowsTheLinkCursor) {
    CTextLabel plain;
    plain.Attach(m_item, 0, 0);
    plain.m_linkTarget = "http://127.0.0.1/";
    SendMessageA(m_item, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(m_opened.empty());
    SendMessageA(m_item, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_item), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ("arrow", ostrana::CursorName(GetCursor()));

    HWND linkItem = CreateWindowExA(0, "STATIC", ostrana::Utf8ToAnsi("회원가입").c_str(), WS_CHILD | WS_VISIBLE, 10, 60, 80, 20, m_parent, nullptr, nullptr, nullptr);
    CTextLabel link;
    link.Attach(linkItem, CTextLabel::kLink, DT_LEFT);
    SendMessageA(linkItem, WM_LBUTTONDOWN, MK_LBUTTON, 0); // no target yet
    EXPECT_TRUE(m_opened.empty());
    link.m_linkTarget = "http://127.0.0.1/join.htm";
    SendMessageA(linkItem, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ((std::vector<std::string>{"http://127.0.0.1/join.htm"}), m_opened);
    EXPECT_TRUE(m_launched.empty());
    EXPECT_EQ(TRUE, SendMessageA(linkItem, WM_SETCURSOR, reinterpret_cast<WPARAM>(linkItem), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ("cursor 1011", ostrana::CursorName(GetCursor()));
}

TEST_F(TextLabelTest, ATargetTheShellCannotOpenFallsBackToTheWebPageClassCommand) {
    m_openerWorks = false;
    SetDefaultValue(".htm", "htmlfile");
    SetDefaultValue("htmlfile\\shell\\open\\command", "\"C:\\Program Files\\Web\\browser\" -nohome \"%1\" -x");
    EXPECT_EQ(33, OpenLinkTarget("http://127.0.0.1/a.htm", SW_SHOW));
    ASSERT_EQ(1u, m_launched.size());
    EXPECT_EQ((std::vector<std::string>{"C:\\Program Files\\Web\\browser", "-nohome", "http://127.0.0.1/a.htm"}), m_launched[0]);

    SetDefaultValue("htmlfile\\shell\\open\\command", "browser %1");
    OpenLinkTarget("http://127.0.0.1/b.htm", SW_SHOW);
    ASSERT_EQ(2u, m_launched.size());
    EXPECT_EQ((std::vector<std::string>{"browser", "http://127.0.0.1/b.htm"}), m_launched[1]);
}

TEST_F(TextLabelTest, WithoutTheWebPageClassTheShellsResultStands) {
    m_openerWorks = false;
    EXPECT_EQ(SE_ERR_NOASSOC, OpenLinkTarget("http://127.0.0.1/", SW_SHOW));
    SetDefaultValue(".htm", "htmlfile");
    EXPECT_EQ(SE_ERR_NOASSOC, OpenLinkTarget("http://127.0.0.1/", SW_SHOW));
    EXPECT_TRUE(m_launched.empty());
}

TEST_F(TextLabelTest, ATargetWithALineBreakNeverReachesAnOpenerOrACommandLine) {
    m_openerWorks = false;
    SetDefaultValue(".htm", "htmlfile");
    SetDefaultValue("htmlfile\\shell\\open\\command", "browser \"%1\"");
    EXPECT_LE(OpenLinkTarget("http://127.0.0.1/\r\nrm -rf x", SW_SHOW), 32);
    EXPECT_TRUE(m_opened.empty());
    EXPECT_TRUE(m_launched.empty());
}

TEST(CommandLine, SplitsLikeWindowsPrograms) {
    using ostrana::SplitCommandLine;
    using Words = std::vector<std::string>;
    EXPECT_EQ((Words{"a", "b c", "d"}), SplitCommandLine("a \"b c\"  d"));
    EXPECT_EQ((Words{"C:\\x\\y", "q\"uote", "tail\\\\"}), SplitCommandLine("C:\\x\\y q\\\"uote tail\\\\"));
    EXPECT_EQ((Words{"", "x"}), SplitCommandLine("\"\" x"));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

} // namespace

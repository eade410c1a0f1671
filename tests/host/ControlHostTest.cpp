// The control hosted as the container hosts it: registered from the module file when its ProgID is
// missing, created by ProgID inside the container's window, its loaded event heard, and only its
// own properties and start method reachable by name.
#include <gtest/gtest.h>

#include "host/ControlHost.h"
#include "platform/com/Com.h"
#include "platform/window/MessageBox.h"
#include "platform/window/WindowGeometry.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/ShellSandbox.h"
#include "tests/support/TempDir.h"

using namespace ostrana;
using namespace ostrana::host;

namespace {

class ControlHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_boxes = std::make_shared<HeadlessMessageBoxPresenter>();
        SetMessageBoxPresenter(m_boxes);
        m_parent = test::MakeTestWindow("ContainerStandIn", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    }
    void TearDown() override
    {
        m_control.Destroy();
        DestroyWindow(m_parent);
        SetMessageBoxPresenter(nullptr);
    }
    std::string Create()
    {
        return m_control.Create(m_parent, OSTRANA_MODULE_FILE, [this](const std::string& name) { m_events.push_back(name); });
    }

    // A home, drives and registry of the test's own: the started main window shows the local disk.
    test::ShellSandbox m_sandbox;
    std::shared_ptr<HeadlessMessageBoxPresenter> m_boxes;
    HWND m_parent = nullptr;
    ControlHost m_control;
    std::vector<std::string> m_events;
};

TEST_F(ControlHostTest, RegistersTheMissingModuleAndHearsTheLoadedEvent)
{
    EXPECT_FALSE(IsServerRegistered("OSTRANA.OstranaCtrl.1"));
    ASSERT_EQ(Create(), "");
    EXPECT_TRUE(IsServerRegistered("OSTRANA.OstranaCtrl.1"));
    EXPECT_EQ(m_events, std::vector<std::string>{"OnOstranaLoaded"});
    ASSERT_NE(m_control.Window(), nullptr);
    EXPECT_EQ(GetParent(m_control.Window()), m_parent);
    RECT placed{};
    GetClientRect(m_control.Window(), &placed);
    EXPECT_EQ(placed.right, 400);
    EXPECT_EQ(placed.bottom, 300);
}

TEST_F(ControlHostTest, OnlyTheControlsOwnMembersAreReachable)
{
    ASSERT_EQ(Create(), "");
    EXPECT_EQ(PropertyDispid("varAuth", 0), 2);
    EXPECT_EQ(PropertyDispid("", 4), 4);
    EXPECT_EQ(PropertyDispid("varAuth", 4), 2); // the name wins
    EXPECT_EQ(PropertyDispid("", 5), 0);        // the start method is no property
    EXPECT_EQ(PropertyDispid("Release", 0), 0);

    EXPECT_TRUE(m_control.PutProperty("varAuth", 0, "lang=ko; WAXLO_AUTH=token1"));
    EXPECT_TRUE(m_control.PutProperty("", 4, "127.0.0.1:1"));
    EXPECT_TRUE(m_control.PutProperty("DisplayType", 0, "전체"));
    EXPECT_FALSE(m_control.PutProperty("", 5, "x"));
    EXPECT_FALSE(m_control.PutProperty("nothing", 0, "x"));
    EXPECT_FALSE(m_control.CallMethod("DestroyControlWindow"));
    EXPECT_EQ(GetWindow(m_control.Window(), GW_CHILD), nullptr);

    EXPECT_TRUE(m_control.CallMethod("StartOstrana"));
    HWND main = GetWindow(m_control.Window(), GW_CHILD);
    ASSERT_NE(main, nullptr);
    // A resized area moves the control's window and draws it; the main window stays at least
    // 600 by 600 at the area's corner.
    m_control.AreaResized(RECT{0, 0, 500, 350});
    RECT area{};
    GetClientRect(m_control.Window(), &area);
    EXPECT_EQ(area.right, 500);
    EXPECT_EQ(area.bottom, 350);
    RECT placed{};
    GetWindowRect(main, &placed);
    EXPECT_EQ(placed.right - placed.left, 600);
    EXPECT_EQ(placed.bottom - placed.top, 600);

    m_control.Destroy();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(m_control.PutProperty("varAuth", 0, "after the end"));
}

TEST_F(ControlHostTest, AMissingModuleIsReportedNotFatal)
{
    std::string error = m_control.Create(m_parent, "/nonexistent/libostrana.so", [](const std::string&) {});
    EXPECT_NE(error.find("/nonexistent/libostrana.so"), std::string::npos) << error;
    EXPECT_EQ(m_control.Window(), nullptr);
    EXPECT_FALSE(m_control.CallMethod("StartOstrana"));
}

} // namespace

#include <gtest/gtest.h>

#include "platform/window/AfxHtmlCtrl.h"
#include "platform/window/Window.h"
#include "tests/support/WindowHarness.h"

namespace {

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(WebView, ShowsItsHomePageAndWhereItWent) {
    ostrana::test::UiThread ui;
    ui.Run([] {
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", 0, 0, 0, 200, 200, nullptr, nullptr));
        CHtmlCtrl view;
        ASSERT_TRUE(view.CreateView(RECT{0, 0, 100, 100}, &parent, 7, "http://127.0.0.1:8080"));
        EXPECT_EQ(GetParent(view.GetSafeHwnd()), parent.GetSafeHwnd());
        EXPECT_EQ(view.GetLocationURL(), "http://127.0.0.1:8080");
        EXPECT_EQ(TextOf(view.GetSafeHwnd()), "http://127.0.0.1:8080");
        view.Navigate("http://127.0.0.1:8080/myhtml/");
        EXPECT_EQ(TextOf(view.GetSafeHwnd()), "http://127.0.0.1:8080/myhtml/");
        view.GoHome();
        EXPECT_EQ(view.GetLocationURL(), "http://127.0.0.1:8080");
        view.DestroyWindow();
        parent.DestroyWindow();
    });
}

} // namespace

#include <gtest/gtest.h>

#include "misc/ReportBox.h"
#include "platform/base/CodePage.h"
#include "platform/window/MessageBox.h"

namespace {

class ReportBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_presenter = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_presenter);
    }
    void TearDown() override { ostrana::SetMessageBoxPresenter(nullptr); }

    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_presenter;
};

TEST_F(ReportBoxTest, EveryBoxIsATopmostExclamationCaptionedQuorelReport) {
    WarnById(9);
    WarnByFormat("%d files", 3);
    ReportBox("text", MB_YESNO | MB_ICONQUESTION, " - suffix");
    auto boxes = m_presenter->Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "Quorel Report");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_TOPMOST));
    EXPECT_EQ(boxes[0].type, 0x40030u);
    EXPECT_EQ(ostrana::AnsiToUtf8(boxes[0].text), "서버에 로그인을 실패하였습니다.");
    EXPECT_EQ(boxes[1].text, "3 files");
    EXPECT_EQ(boxes[1].type, 0x40030u);
    EXPECT_EQ(boxes[2].caption, "Quorel Report - suffix");
    EXPECT_EQ(boxes[2].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}

TEST_F(ReportBoxTest, ThrownMessageIsFormattedFromTheStringTable) {
    try {
        ThrowExceptionEx(1005, "Login\\Password");
        FAIL() << "nothing thrown";
    } catch (CExceptionEx& error) {
        EXPECT_EQ(ostrana::AnsiToUtf8(error.Message()), "키 [Login\\Password]를 여는데 실패하였습니다.");
        EXPECT_EQ(error.ReportError(), 0);
    }
    ASSERT_EQ(m_presenter->Boxes().size(), 1u);
    EXPECT_EQ(m_presenter->Boxes()[0].type, 0x40030u);
}

TEST_F(ReportBoxTest, SilentTypeAndEmptyTextShowNothing) {
    CExceptionEx withText("something failed");
    EXPECT_EQ(withText.ReportError(REPORT_SILENT), 0);
    try {
        ThrowExceptionEx(4242); // not in the table: an empty text
    } catch (CExceptionEx& error) {
        EXPECT_TRUE(error.Message().empty());
        EXPECT_EQ(error.ReportError(REPORT_SILENT), 1);
        EXPECT_EQ(error.ReportError(MB_OK), 0);
    }
    EXPECT_TRUE(m_presenter->Boxes().empty());
}

TEST_F(ReportBoxTest, BoxesAnswerFromTheScriptThenTheDefaultButton) {
    m_presenter->QueueAnswer(IDNO);
    EXPECT_EQ(ReportBox("q", MB_YESNO), IDNO);
    EXPECT_EQ(ReportBox("q", MB_YESNO), IDYES);
    EXPECT_EQ(ReportBox("q", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(ReportBox("q", MB_OKCANCEL), IDOK);
}

TEST(LoadAndFormat, FormatsWithArgumentsAndCutsTheTemplateAt511Bytes) {
    EXPECT_EQ(ostrana::AnsiToUtf8(LoadAndFormat(21, "ana")), "서버 홈 (ana)");
    EXPECT_EQ(LoadAndFormat(106, std::string(600, 'x').c_str()).size(), 600u); // arguments are not cut
    EXPECT_EQ(LoadAndFormat(999999), "");
}

} // namespace

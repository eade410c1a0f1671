// The progress dialog stand-in as the transfer engine uses it: created only while a presenter
// can show it, reference counted, its wrapper's flags, and the console bar's text.
#include <gtest/gtest.h>

#include "platform/shell/ConsoleProgressPresenter.h"
#include "platform/shell/HeadlessProgressPresenter.h"
#include "transfer/ShellProgressDialog.h"

using Kind = ostrana::ProgressCall::Kind;

TEST(ProgressDialogTest, CreatedOnlyWithAPresenterAndCountedByReference) {
    ostrana::SetProgressPresenter(nullptr);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IProgressDialog, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(ShellProgressDialog().IsCreated());

    auto presenter = std::make_shared<ostrana::HeadlessProgressPresenter>();
    ostrana::SetProgressPresenter(presenter);
    ASSERT_EQ(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IProgressDialog, &object), S_OK);
    auto* dialog = static_cast<IProgressDialog*>(object);
    void* unknown = nullptr;
    EXPECT_EQ(dialog->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(unknown)->Release(), 1u);
    EXPECT_EQ(dialog->StartProgressDialog(nullptr, nullptr, PROGDLG_AUTOTIME, nullptr), S_OK);
    EXPECT_EQ(dialog->Release(), 0u); // a dialog let go while shown stops itself
    auto calls = presenter->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].kind, Kind::Stop);
    ostrana::SetProgressPresenter(nullptr);
}

TEST(ProgressDialogTest, WrapperPassesFlagsTextsAndWholeByteCounts) {
    auto presenter = std::make_shared<ostrana::HeadlessProgressPresenter>();
    ostrana::SetProgressPresenter(presenter);
    {
        ShellProgressDialog dialog;
        dialog.AllowMinimize(false);
        dialog.ShowTime(false);
        dialog.ShowBar(false);
        dialog.AllowMinimize(true);
        dialog.ShowTime(true);
        dialog.ShowBar(true);
        dialog.SetTitle("\xBC\xAD\xB9\xF6"); // "서버" in code page 949
        ASSERT_TRUE(dialog.Start());
        dialog.SetRange(0, 5ULL << 32);
        dialog.SetProgress(4ULL << 32);
        presenter->Cancel();
        EXPECT_TRUE(dialog.Cancelled());
    }
    auto calls = presenter->Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].text, "서버");
    EXPECT_EQ(calls[1].kind, Kind::Start);
    EXPECT_EQ(calls[1].number, static_cast<DWORD>(PROGDLG_AUTOTIME));
    EXPECT_EQ(calls[3].completed, 4ULL << 32);
    EXPECT_EQ(calls[3].total, 5ULL << 32);
    EXPECT_EQ(calls[4].kind, Kind::Stop);
    ostrana::SetProgressPresenter(nullptr);
}

TEST(ProgressDialogTest, ConsoleBarShowsBytesRateAndTimeLeft) {
    EXPECT_EQ(ostrana::ConsoleProgressPresenter::BarText(0, 0, 0, 4), "[....] 0 B / 0 B");
    EXPECT_EQ(ostrana::ConsoleProgressPresenter::BarText(512 * 1024, 1024 * 1024, 2.0, 4),
              "[##..] 512.0 KB / 1.0 MB  256.0 KB/s  0:02 left");
    EXPECT_EQ(ostrana::ConsoleProgressPresenter::ShortSize(3ULL << 30), "3.00 GB");
}

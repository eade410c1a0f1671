// The "replace file?" prompt (template 233): both files' name, size and date, the folder, and the
// three-way "always" choice. DoModal hands the filled dialog to the process-wide answerer (the
// dialog window, a terminal prompt, a fixed answer, or a test script).
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window/AfxDialog.h"
#include "transfer/TransferItem.h"

#define IDD_OVERWRITE 233
#define IDC_OVERWRITE_FOLDER 237
#define IDC_OVERWRITE_NEW_NAME 238
#define IDC_OVERWRITE_NEW_SIZE 239
#define IDC_OVERWRITE_NEW_DATE 240
#define IDC_OVERWRITE_OLD_NAME 241
#define IDC_OVERWRITE_OLD_SIZE 242
#define IDC_OVERWRITE_OLD_DATE 243
#define IDC_OVERWRITE_OLD_ICON 244
#define IDC_OVERWRITE_NEW_ICON 245
#define IDC_OVERWRITE_ASK 234

// The prompt's data, copyable so that answerers may keep what they were asked.
struct OverwritePromptData {
    std::string m_strFolder;
    std::string m_strOldName, m_strOldSize, m_strOldDate;
    std::string m_strNewName, m_strNewSize, m_strNewDate;
    int m_nRadio = 0;
    int m_nIconIndex = 0;
    // The local one of the two files, whose type icon both frames show.
    std::string m_strIconPath;
};

class COverwriteDlg : public CDialog, public OverwritePromptData {
public:
    COverwriteDlg() : CDialog(IDD_OVERWRITE) {}

    // Fills the seven texts, the icon source and the radio value (0).
    void Fill(const std::string& folderText, const TransferItem& existing, const TransferItem& incoming);
    // IDOK with m_nRadio current, or IDCANCEL ("아니오" or closed), from the current answerer.
    INT_PTR DoModal() override;
    // Shows the dialog window modally on the calling thread, with no owner.
    INT_PTR ShowWindowModal() { return CDialog::DoModal(); }

    // "2024년 3월 5일 오후 2:7:9 수정됨": local time, 오전 up to hour 12, 오후 hour - 12 beyond.
    static std::string FormatModified(std::int64_t seconds);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Paints the type icon into the two icon frames after the default painting.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawTypeIcon(HDC dc, int frameId) const;
};

namespace ostrana {

class OverwriteAnswerer {
public:
    virtual ~OverwriteAnswerer() = default;
    // Shows the question; sets dialog.m_nRadio and returns IDOK, or returns IDCANCEL.
    virtual INT_PTR Ask(COverwriteDlg& dialog) = 0;
};

// Always gives the same answer: "예" with a fixed radio value (always overwrite / always skip).
class FixedOverwriteAnswerer : public OverwriteAnswerer {
public:
    explicit FixedOverwriteAnswerer(int radio) : m_radio(radio) {}
    INT_PTR Ask(COverwriteDlg& dialog) override;

private:
    int m_radio;
};

// Records every question and answers from a queue; an empty queue answers IDCANCEL.
class ScriptedOverwriteAnswerer : public OverwriteAnswerer {
public:
    INT_PTR Ask(COverwriteDlg& dialog) override;
    void QueueAnswer(INT_PTR result, int radio = 0);
    std::vector<OverwritePromptData> Questions() const;

private:
    mutable std::mutex m_lock;
    std::vector<OverwritePromptData> m_questions;
    std::deque<std::pair<INT_PTR, int>> m_answers;
};

// Shows the prompt as its dialog window, modal on the asking (transfer) thread.
class WindowOverwriteAnswerer : public OverwriteAnswerer {
public:
    INT_PTR Ask(COverwriteDlg& dialog) override { return dialog.ShowWindowModal(); }
};

// The process-wide answerer; without one every question is answered IDCANCEL (skip the file).
void SetOverwriteAnswerer(std::shared_ptr<OverwriteAnswerer> answerer);
std::shared_ptr<OverwriteAnswerer> CurrentOverwriteAnswerer();

} // namespace ostrana

// Filling the overwrite prompt, its data exchange, and handing it to the process-wide answerer.
#include "transfer/OverwriteDlg.h"

#include <ctime>

#include "platform/shell/FileInfo.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"
#include "platform/window/WindowMessages.h"
#include "misc/ReportBox.h"
#include "transfer/FormatFileSize.h"

namespace {

std::mutex& AnswererLock() {
    static std::mutex lock;
    return lock;
}

std::shared_ptr<ostrana::OverwriteAnswerer>& Answerer() {
    static std::shared_ptr<ostrana::OverwriteAnswerer> answerer;
    return answerer;
}

// An upload's folder text is a server path ("/" after its first character): the incoming file is
// the local one; a download's existing file is.
bool IsServerFolderText(const std::string& folderText) { return folderText.find('/', 1) != std::string::npos; }

// The system's large-icon list, fetched by the first prompt and kept for the process.
HIMAGELIST SystemLargeIcons() {
    static HIMAGELIST list = [] {
        SHFILEINFOA info;
        return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    }();
    return list;
}

} // namespace

std::string COverwriteDlg::FormatModified(std::int64_t seconds) {
    auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&time, &local);
    std::string hour = local.tm_hour <= 12 ? LoadAndFormat(26, local.tm_hour) : LoadAndFormat(27, local.tm_hour - 12);
    return LoadAndFormat(28, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, hour.c_str(), local.tm_min, local.tm_sec);
}

void COverwriteDlg::Fill(const std::string& folderText, const TransferItem& existing, const TransferItem& incoming) {
    m_strFolder = folderText;
    m_strIconPath = IsServerFolderText(folderText) ? incoming.m_strPath : existing.m_strPath;
    SHFILEINFOA info;
    SHGetFileInfoA(m_strIconPath.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX);
    m_nIconIndex = info.iIcon;
    SystemLargeIcons();
    m_strOldName = existing.FileName();
    m_strOldSize = FormatFileSize(existing.m_nSize);
    m_strOldDate = FormatModified(existing.m_tModified);
    m_strNewName = incoming.FileName();
    m_strNewSize = FormatFileSize(incoming.m_nSize);
    m_strNewDate = FormatModified(incoming.m_tModified);
    m_nRadio = 0;
}

void COverwriteDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_OVERWRITE_FOLDER, m_strFolder);
    DDX_Text(dx, IDC_OVERWRITE_OLD_NAME, m_strOldName);
    DDX_Text(dx, IDC_OVERWRITE_OLD_SIZE, m_strOldSize);
    DDX_Text(dx, IDC_OVERWRITE_OLD_DATE, m_strOldDate);
    DDX_Text(dx, IDC_OVERWRITE_NEW_NAME, m_strNewName);
    DDX_Text(dx, IDC_OVERWRITE_NEW_SIZE, m_strNewSize);
    DDX_Text(dx, IDC_OVERWRITE_NEW_DATE, m_strNewDate);
    DDX_Radio(dx, IDC_OVERWRITE_ASK, m_nRadio);
}

BOOL COverwriteDlg::OnInitDialog() {
    BOOL result = CDialog::OnInitDialog();
    // The two frames only place the icons the dialog paints; shown, an empty static paints its
    // background over them.
    for (int frame : {IDC_OVERWRITE_OLD_ICON, IDC_OVERWRITE_NEW_ICON}) {
        if (HWND window = ::GetDlgItem(m_hWnd, frame)) ::ShowWindow(window, SW_HIDE);
    }
    return result;
}

LRESULT COverwriteDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) {
        return CDialog::WindowProc(message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    DrawTypeIcon(dc, IDC_OVERWRITE_OLD_ICON);
    DrawTypeIcon(dc, IDC_OVERWRITE_NEW_ICON);
    EndPaint(m_hWnd, &paint);
    return 0;
}

void COverwriteDlg::DrawTypeIcon(HDC dc, int frameId) const {
    HIMAGELIST list = SystemLargeIcons();
    HWND frame = ::GetDlgItem(m_hWnd, frameId);
    if (list == nullptr || frame == nullptr) {
        return;
    }
    RECT rect;
    ::GetWindowRect(frame, &rect);
    POINT corner{rect.left, rect.top};
    ::ScreenToClient(m_hWnd, &corner);
    ImageList_DrawEx(list, m_nIconIndex, dc, corner.x, corner.y, 32, 32, CLR_NONE, CLR_NONE, ILD_NORMAL);
}

INT_PTR COverwriteDlg::DoModal() {
    auto answerer = ostrana::CurrentOverwriteAnswerer();
    return answerer ? answerer->Ask(*this) : IDCANCEL;
}

namespace ostrana {

INT_PTR FixedOverwriteAnswerer::Ask(COverwriteDlg& dialog) {
    dialog.m_nRadio = m_radio;
    return IDOK;
}

INT_PTR ScriptedOverwriteAnswerer::Ask(COverwriteDlg& dialog) {
    std::lock_guard guard(m_lock);
    m_questions.push_back(dialog);
    if (m_answers.empty()) {
        return IDCANCEL;
    }
    auto [result, radio] = m_answers.front();
    m_answers.pop_front();
    if (result == IDOK) {
        dialog.m_nRadio = radio;
    }
    return result;
}

void ScriptedOverwriteAnswerer::QueueAnswer(INT_PTR result, int radio) {
    std::lock_guard guard(m_lock);
    m_answers.emplace_back(result, radio);
}

std::vector<OverwritePromptData> ScriptedOverwriteAnswerer::Questions() const {
    std::lock_guard guard(m_lock);
    return m_questions;
}

void SetOverwriteAnswerer(std::shared_ptr<OverwriteAnswerer> answerer) {
    std::lock_guard guard(AnswererLock());
    Answerer() = std::move(answerer);
}

std::shared_ptr<OverwriteAnswerer> CurrentOverwriteAnswerer() {
    std::lock_guard guard(AnswererLock());
    return Answerer();
}

} // namespace ostrana

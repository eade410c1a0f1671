// Each wrapper operation is one dialog call; without a dialog every operation does nothing.
#include "transfer/ShellProgressDialog.h"

#include "platform/base/CodePage.h"
#include "res/Resources.h"

ShellProgressDialog::ShellProgressDialog() {
    void* dialog = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IProgressDialog, &dialog))) {
        m_pDialog = static_cast<IProgressDialog*>(dialog);
    }
}

void ShellProgressDialog::SetTitle(const std::string& title) {
    if (m_pDialog != nullptr) {
        m_pDialog->SetTitle(ostrana::ToWide(title).c_str());
    }
}

void ShellProgressDialog::SetAnimation(UINT resourceId) {
    if (m_pDialog != nullptr) {
        m_pDialog->SetAnimation(AfxGetResourceHandle(), resourceId);
    }
}

void ShellProgressDialog::SetCancelMessage(const std::string& text) {
    if (m_pDialog != nullptr) {
        m_pDialog->SetCancelMsg(ostrana::ToWide(text).c_str(), nullptr);
    }
}

void ShellProgressDialog::AllowMinimize(bool allow) {
    m_dwFlags = allow ? m_dwFlags & ~PROGDLG_NOMINIMIZE : m_dwFlags | PROGDLG_NOMINIMIZE;
}

void ShellProgressDialog::ShowTime(bool show) {
    m_dwFlags &= ~(PROGDLG_AUTOTIME | PROGDLG_NOTIME);
    m_dwFlags |= show ? PROGDLG_AUTOTIME : PROGDLG_NOTIME;
}

void ShellProgressDialog::ShowBar(bool show) {
    m_dwFlags = show ? m_dwFlags & ~PROGDLG_NOPROGRESSBAR : m_dwFlags | PROGDLG_NOPROGRESSBAR;
}

bool ShellProgressDialog::Start() {
    if (m_pDialog != nullptr && SUCCEEDED(m_pDialog->StartProgressDialog(nullptr, nullptr, m_dwFlags, nullptr))) {
        m_bStarted = true;
    }
    return m_bStarted;
}

void ShellProgressDialog::SetLine(DWORD lineNumber, const std::string& text, bool compact) {
    if (m_pDialog != nullptr) {
        m_pDialog->SetLine(lineNumber, ostrana::ToWide(text).c_str(), compact ? TRUE : FALSE, nullptr);
    }
}

void ShellProgressDialog::SetRange(ULONGLONG done, ULONGLONG total) {
    m_nTotal = total;
    if (m_pDialog != nullptr) {
        m_pDialog->SetProgress64(done, total);
    }
}

void ShellProgressDialog::SetProgress(ULONGLONG done) {
    if (m_pDialog != nullptr) {
        m_pDialog->SetProgress64(done, m_nTotal);
    }
}

bool ShellProgressDialog::Cancelled() { return m_pDialog != nullptr && m_pDialog->HasUserCancelled() != FALSE; }

void ShellProgressDialog::ResetTimer() {
    if (m_pDialog != nullptr) {
        m_pDialog->Timer(PDTIMER_RESET, nullptr);
    }
}

void ShellProgressDialog::Release() {
    if (m_pDialog == nullptr) {
        return;
    }
    if (m_bStarted) {
        m_pDialog->StopProgressDialog();
        m_bStarted = false;
    }
    m_pDialog->Release();
    m_pDialog = nullptr;
}

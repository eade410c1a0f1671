// A thin wrapper over the shell's progress dialog that both transfer directions use. Texts are in
// the ANSI code page; byte counts are 64-bit, so files and jobs over 4 GiB show true progress.
#pragma once

#include <string>

#include "platform/shell/ProgressDialog.h"

class ShellProgressDialog {
public:
    ShellProgressDialog();
    ~ShellProgressDialog() { Release(); }
    ShellProgressDialog(const ShellProgressDialog&) = delete;
    ShellProgressDialog& operator=(const ShellProgressDialog&) = delete;

    bool IsCreated() const { return m_pDialog != nullptr; }
    bool IsStarted() const { return m_bStarted; }

    void SetTitle(const std::string& title);
    void SetAnimation(UINT resourceId);
    void SetCancelMessage(const std::string& text);
    void AllowMinimize(bool allow);
    void ShowTime(bool show);
    void ShowBar(bool show);
    bool Start();
    void SetLine(DWORD lineNumber, const std::string& text, bool compact = false);
    void SetRange(ULONGLONG done, ULONGLONG total);
    void SetProgress(ULONGLONG done);
    bool Cancelled();
    void ResetTimer();
    // Stops the dialog when started and lets it go; safe to call twice.
    void Release();

private:
    IProgressDialog* m_pDialog = nullptr;
    bool m_bStarted = false;
    DWORD m_dwFlags = 0;
    ULONGLONG m_nTotal = 0;
};

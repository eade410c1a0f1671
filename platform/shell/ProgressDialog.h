// The shell's progress dialog (CLSID_ProgressDialog, IProgressDialog). The dialog object keeps the
// state; a process-wide presenter shows it: on the terminal for the command-line client, recorded
// for tests, as a window once the window system presents it. The class can be created only while
// a presenter is installed, as the dialog is only available where something can show it.
#pragma once

#include <memory>
#include <string>

#include "platform/com/Com.h"

extern const CLSID CLSID_ProgressDialog;
extern const IID IID_IProgressDialog;

#define PROGDLG_NORMAL 0x00000000
#define PROGDLG_MODAL 0x00000001
#define PROGDLG_AUTOTIME 0x00000002
#define PROGDLG_NOTIME 0x00000004
#define PROGDLG_NOMINIMIZE 0x00000008
#define PROGDLG_NOPROGRESSBAR 0x00000010

#define PDTIMER_RESET 0x00000001

struct IProgressDialog : IUnknown {
    virtual HRESULT StartProgressDialog(HWND parent, IUnknown* enableModeless, DWORD flags, LPCVOID reserved) = 0;
    virtual HRESULT StopProgressDialog() = 0;
    virtual HRESULT SetTitle(LPCWSTR title) = 0;
    virtual HRESULT SetAnimation(HINSTANCE instance, UINT animationId) = 0;
    virtual BOOL HasUserCancelled() = 0;
    virtual HRESULT SetProgress(DWORD completed, DWORD total) = 0;
    virtual HRESULT SetProgress64(ULONGLONG completed, ULONGLONG total) = 0;
    virtual HRESULT SetLine(DWORD lineNumber, LPCWSTR text, BOOL compactPath, LPCVOID reserved) = 0;
    virtual HRESULT SetCancelMsg(LPCWSTR cancelMessage, LPCVOID reserved) = 0;
    virtual HRESULT Timer(DWORD timerAction, LPCVOID reserved) = 0;
};

namespace ostrana {

// Receives what the dialog shows; texts arrive in UTF-8. Calls come from the thread that drives
// the dialog; IsCancelled may also be asked from it at any time.
class ProgressPresenter {
public:
    virtual ~ProgressPresenter() = default;
    virtual void OnStart(DWORD flags) = 0;
    virtual void OnStop() = 0;
    virtual void OnTitle(const std::string& title) = 0;
    virtual void OnAnimation(UINT animationId) = 0;
    virtual void OnLine(DWORD lineNumber, const std::string& text) = 0;
    virtual void OnCancelMessage(const std::string& text) = 0;
    virtual void OnProgress(ULONGLONG completed, ULONGLONG total) = 0;
    virtual void OnTimerReset() = 0;
    virtual bool IsCancelled() = 0;
};

// Installs the process-wide presenter (registering the dialog class); null removes both.
void SetProgressPresenter(std::shared_ptr<ProgressPresenter> presenter);
std::shared_ptr<ProgressPresenter> CurrentProgressPresenter();

} // namespace ostrana

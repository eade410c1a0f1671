// The framework's dialog class and dialog data exchange. A CDialog runs modeless (Create) or modal
// (DoModal, a nested loop on the calling thread); OnInitDialog moves the members into the controls,
// OnOK moves them back and ends the dialog. DDX_ functions exchange one member with one control in
// the direction CDataExchange names.
#pragma once

#include <string>

#include "platform/window/AfxWnd.h"
#include "platform/window/Dialog.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    HWND PrepareCtrl(int id);
    // Marks the exchange failed (a value that does not convert); the remaining exchanges still run.
    void Fail() { m_failed = true; }
    bool Failed() const { return m_failed; }

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;

private:
    bool m_failed = false;
};

void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// `id` is the first radio button of a group (the one with WS_GROUP); the value is the index of the
// checked button in the group, -1 when none is.
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
void DDX_CBString(CDataExchange* dx, int id, std::string& value);
// Subclasses the control with `control` the first time.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_pParentWnd(parent) {}

    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* control) const;
    void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
    DWORD GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;
    // The module the template comes from; the default resource module when null.
    HINSTANCE m_hResource = nullptr;

protected:
    static INT_PTR DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HINSTANCE ResourceModule() const;
    bool m_modal = false;
};

#include "platform/window/AfxDialog.h"

#include <cstdio>
#include <cstdlib>

#include "platform/base/ModuleResources.h"
#include "platform/window/MessageBox.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (control == nullptr) Fail();
    return control;
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (dx->m_bSaveAndValidate) value = CWnd::FromHandle(control)->GetWindowText();
    else ::SetWindowTextA(control, value.c_str());
}

namespace {

template <typename T> void ExchangeNumber(CDataExchange* dx, int id, T& value, bool isSigned) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (!dx->m_bSaveAndValidate) {
        ::SetDlgItemInt(dx->m_pDlgWnd->m_hWnd, id, static_cast<UINT>(value), isSigned);
        return;
    }
    BOOL translated = FALSE;
    UINT number = ::GetDlgItemInt(dx->m_pDlgWnd->m_hWnd, id, &translated, isSigned);
    if (translated) value = static_cast<T>(number);
    else dx->Fail();
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) { ExchangeNumber(dx, id, value, true); }
void DDX_Text(CDataExchange* dx, int id, UINT& value) { ExchangeNumber(dx, id, value, false); }

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (dx->m_bSaveAndValidate) value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (HWND button = control; button != nullptr; button = ::GetWindow(button, GW_HWNDNEXT), ++index) {
        if (button != control && (::GetWindowLongPtrA(button, GWL_STYLE) & WS_GROUP)) break;
        if (ostrana::WindowClassName(button) != WC_BUTTONA) continue;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (dx->m_bSaveAndValidate) value = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DDX_CBString(CDataExchange* dx, int id, std::string& value) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (dx->m_bSaveAndValidate) {
        value = CWnd::FromHandle(control)->GetWindowText();
        return;
    }
    // Selects the first entry that begins with the text, else shows the text as typed.
    if (::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())) == CB_ERR) {
        ::SetWindowTextA(control, value.c_str());
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) return;
    HWND item = dx->PrepareCtrl(id);
    if (item != nullptr) control.SubclassWindow(item);
}

HINSTANCE CDialog::ResourceModule() const {
    return m_hResource != nullptr ? m_hResource : ostrana::DefaultResourceModule();
}

INT_PTR CDialog::DialogProcedure(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* object = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog));
    return object != nullptr ? object->OnInitDialog() : TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_templateId = templateId;
    m_pParentWnd = parent;
    auto dialog = ostrana::LoadDialogTemplate(ResourceModule(), MAKEINTRESOURCEA(templateId));
    if (!dialog) return FALSE;
    AfxHookCreation(this);
    HWND window = ::CreateDialogIndirectParamA(ResourceModule(), &*dialog, parent != nullptr ? parent->m_hWnd : nullptr,
                                               DialogProcedure, 0);
    if (window == nullptr) {
        ostrana::SetWindowCreationHook(nullptr);
        return FALSE;
    }
    m_ownsWindow = true;
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    auto dialog = ostrana::LoadDialogTemplate(ResourceModule(), MAKEINTRESOURCEA(m_templateId));
    if (!dialog) return -1;
    m_modal = true;
    AfxHookCreation(this);
    INT_PTR result = ::DialogBoxIndirectParamA(ResourceModule(), &*dialog, m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr,
                                               DialogProcedure, 0);
    m_modal = false;
    return result;
}

void CDialog::EndDialog(int result) {
    if (m_modal) ::EndDialog(m_hWnd, result);
    else ::DestroyWindow(m_hWnd);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::GotoDlgCtrl(CWnd* control) const {
    if (control != nullptr) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    return msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && ::IsDialogMessageA(m_hWnd, msg);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        OnOK();
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

// The "register a server folder" dialog (template 234). A folder is registered, per server host,
// only when the server lets the user list it; an already registered folder is ignored silently.
// On IDOK the caller adds the registered path to the server tree as a new root.
#pragma once

#include <string>

#include "platform/window/AfxDialog.h"
#include "session/ServerSession.h"

#define IDD_ADD_FOLDER 234
#define IDC_ADD_FOLDER_PATH 247

class CAddFolderDlg : public CDialog {
public:
    explicit CAddFolderDlg(ServerSession& session = TheServerSession());

    // "myfolder/favorite/": no leading "/", one trailing "/".
    static std::string NormalisePath(std::string path);

    std::string m_strPath;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ServerSession& m_session;
};

// The files to upload when the local list has none selected: a modal dialog over the local file
// system with the folder's subfolders, its files (several may be chosen), the file types of a
// filter text ("모든파일 (*.*)|*.*||") and 열기 / 취소. Folders open by double click, Enter or 열기
// while a folder is chosen.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/window/AfxDialog.h"

#define IDC_UPLOAD_FOLDER_PATH 1001
#define IDC_UPLOAD_FOLDERS 1002
#define IDC_UPLOAD_FILES 1003
#define IDC_UPLOAD_FILTER 1004

class CUploadFileDlg : public CDialog {
public:
    // `folder` is where the dialog starts (a local path); the user's home folder when it is empty
    // or no folder.
    CUploadFileDlg(CWnd* parent, std::string folder, const std::string& filter);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The chosen files' full local paths, in list order, after IDOK.
    const std::vector<std::string>& GetPaths() const { return m_paths; }
    const std::string& GetFolder() const { return m_strFolder; }

    // "모든파일 (*.*)|*.*||" -> {("모든파일 (*.*)", "*.*")}; a description without a pattern ends it.
    static std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter);
    // The folder above `folder` ("C:\a\b\" -> "C:\a\"); empty at a drive's top.
    static std::string ParentFolder(const std::string& folder);
    // Names of the visible subfolders, and of the visible files matching `pattern`, sorted.
    static std::vector<std::string> ListFolders(const std::string& folder);
    static std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void ShowFolder(const std::string& folder);
    void FillFiles();
    void OpenSelectedFolder();
    std::string SelectedFolderName() const;
    std::vector<std::string> SelectedFileNames() const;
    std::string Pattern() const;

    std::string m_strFolder;
    std::vector<std::pair<std::string, std::string>> m_filters;
    std::vector<std::string> m_paths;
};

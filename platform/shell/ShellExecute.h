// Opening documents and running programs. ShellExecuteA hands a path or web address to the
// opener (OSTRANA_OPENER, else xdg-open); WinExec runs a command line directly, never through a
// shell. The container replaces either by a hook, so that web addresses open in a browser tab.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

#define SE_ERR_FNF 2
#define SE_ERR_NOASSOC 31

// Values above 32 mean success; the errors are SE_ERR_* and ERROR_* numbers as on Windows.
HINSTANCE ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
#define ShellExecute ShellExecuteA
#define SEE_MASK_CLASSNAME 0x00000001
#define SEE_MASK_IDLIST 0x00000004
#define SEE_MASK_INVOKEIDLIST 0x0000000C
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

struct SHELLEXECUTEINFOA {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb; // null or "open": the opener; "properties": the property sheet
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp; // set to the ShellExecuteA-style result
    void* lpIDList; // an absolute item id list, read under SEE_MASK_IDLIST
    LPCSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
};
using LPSHELLEXECUTEINFOA = SHELLEXECUTEINFOA*;
#define SHELLEXECUTEINFO SHELLEXECUTEINFOA

// The item is lpIDList when the mask has SEE_MASK_IDLIST and it is set, else lpFile.
BOOL ShellExecuteExA(LPSHELLEXECUTEINFOA info);
#define ShellExecuteEx ShellExecuteExA

// Above 31 on success; ERROR_FILE_NOT_FOUND or ERROR_BAD_FORMAT otherwise.
UINT WinExec(LPCSTR commandLine, UINT show);

namespace ostrana {

// Receives the target (ANSI, as the caller gave it); true when it was opened.
using DocumentOpener = std::function<bool(const std::string& target)>;
// Receives the program and its arguments (ANSI); true when the program started.
using ProgramLauncher = std::function<bool(const std::vector<std::string>& arguments)>;

// An empty function restores the default.
void SetDocumentOpener(DocumentOpener opener);
void SetProgramLauncher(ProgramLauncher launcher);

// Splits a command line as programs on Windows do: blanks separate arguments, double quotes group
// them, a backslash escapes a quote only where it stands before one.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

} // namespace ostrana

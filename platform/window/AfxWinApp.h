// The framework's application object and its profile: values kept under
// HKEY_CURRENT_USER\SoftWare\<registry key>\<profile name>\<section> once SetRegistryKey was
// called. One application object exists per module; AfxGetApp answers it, or null before it is
// made and after it is gone.
#pragma once

#include <string>

#include "platform/window/AfxWnd.h"

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The profile key becomes SoftWare\<registryKey>\<profile name>; the profile name is the
    // application name.
    void SetRegistryKey(LPCSTR registryKey);
    // The profile's key path below HKEY_CURRENT_USER, empty while no registry key is set.
    std::string GetProfileKeyPath() const;

    // The default when the value is missing or not a number.
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const;
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    // The default when the value is missing or not a text.
    std::string GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr) const;
    // A null entry deletes the section with all it holds; a null value deletes the entry.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);

    std::string m_pszAppName;
    std::string m_pszRegistryKey;
    std::string m_pszProfileName;
};

CWinApp* AfxGetApp();

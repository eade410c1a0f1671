// The control the page embeds: four properties and the start method by DISPID, the loaded event,
// and the main window it creates inside its own window and keeps at the area's top-left corner,
// never smaller than 600 by 600 pixels.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "control/KeyboardHook.h"
#include "platform/com/Variant.h"
#include "platform/ole/OleControl.h"

class COstranaDlg;
class COstranaPropPage;

class COstranaCtrl : public COleControl {
    DECLARE_DYNAMIC(COstranaCtrl)

public:
    COstranaCtrl();
    ~COstranaCtrl() override;
    COstranaCtrl(const COstranaCtrl&) = delete;
    COstranaCtrl& operator=(const COstranaCtrl&) = delete;

    // Property storage, as the page last set it.
    const std::string& SessionCookie() const { return m_strSessionCookie; }
    const std::string& HostName() const { return m_strHostName; }
    const std::string& UserId() const { return m_strUserId; }
    const std::string& DisplayType() const { return m_strDisplayType; }

    // The main window this control created, or null.
    COstranaDlg* MainWindow() const { return m_mainWindow.get(); }
    // The property page shown by the "Properties" verb, or null before it was asked for.
    COstranaPropPage* PropertyPage() const { return m_propPage.get(); }

    // The control's property page list.
    static std::vector<CLSID> PropertyPageClasses();

    void StartOstrana();

    static constexpr int kMinimumMainWindowSize = 600;
    static constexpr DWORD kControlVersion = 0x00010000;

protected:
    int OnCreate(LPCREATESTRUCT create) override;
    void OnDraw(CDC* dc, const RECT& bounds, const RECT& invalid) override;
    void DoPropExchange(CPropExchange* exchange) override;
    HRESULT OnProperties() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct PageRelease {
        void operator()(COstranaPropPage* page) const;
    };

    void DefineDispatch();
    void PutDisplayType(const VARIANT& value);
    void PutAuth(const VARIANT& value);
    void PutUserId(const VARIANT& value);
    void PutHostName(const VARIANT& value);
    void PlaceMainWindow(const RECT& bounds);
    void DestroyMainWindow();

    KeyboardHookUse m_keyboardHook;
    std::string m_strSessionCookie;
    std::string m_strHostName;
    std::string m_strUserId;
    std::string m_strDisplayType;
    VARIANT m_varAuth;
    VARIANT m_varUserID;
    VARIANT m_varHostName;
    std::unique_ptr<COstranaDlg> m_mainWindow;
    std::unique_ptr<COstranaPropPage, PageRelease> m_propPage;
    RECT m_lastBounds{};
    bool m_drawn = false;
};

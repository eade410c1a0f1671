// The framework's property page base class: a child dialog from a numbered template with a
// caption from the string table, reachable as a COM object (IPropertyPage) so that a property
// frame can place it. Pages that edit nothing need no more than the template and the caption.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "platform/com/ClassFactory.h"
#include "platform/com/Variant.h"
#include "platform/window/AfxDialog.h"

inline constexpr IID IID_IPropertyPage = {0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

// What a frame needs to lay a page out: its caption (the caller frees it) and its size in pixels.
struct PROPPAGEINFO {
    BSTR pszTitle = nullptr;
    SIZE size{};
};

// A stand-in for the page interface: enough to show a page inside a frame and take it down again.
struct IPropertyPage : IUnknown {
    virtual HRESULT GetPageInfo(PROPPAGEINFO* info) = 0;
    // Creates the page as a child of `parent` over `rect` (parent client coordinates).
    virtual HRESULT Activate(HWND parent, const RECT& rect, BOOL modal) = 0;
    virtual HRESULT Deactivate() = 0;
    // S_OK when the page holds changes not yet applied, S_FALSE otherwise.
    virtual HRESULT IsPageDirty() = 0;
    virtual HRESULT Apply() = 0;

protected:
    ~IPropertyPage() = default;
};

namespace ostrana {
class PropertyPageBridge;
} // namespace ostrana

class COlePropertyPage : public CDialog {
    DECLARE_DYNAMIC(COlePropertyPage)

public:
    COlePropertyPage(UINT templateId, UINT captionId);
    ~COlePropertyPage() override;
    COlePropertyPage(const COlePropertyPage&) = delete;
    COlePropertyPage& operator=(const COlePropertyPage&) = delete;

    // The object's COM identity (IUnknown, IPropertyPage); the caller gets a reference.
    HRESULT QueryPageInterface(REFIID iid, void** object);
    ULONG ExternalAddRef();
    // The last release deletes the page with its window.
    ULONG ExternalRelease();

    // The caption from the string table, in the ANSI code page.
    std::string GetCaption() const;
    // The template's size in pixels, measured with its own font.
    SIZE GetTemplateSize() const;

    HRESULT Activate(HWND parent, const RECT& rect);
    HRESULT Deactivate();
    void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified != FALSE; }
    BOOL IsModified() const { return m_modified ? TRUE : FALSE; }
    // Moves the page's values to the objects it edits; the default has nothing to move.
    virtual HRESULT Apply();

    // Runs when the object is deleted (the factory counts live objects with it).
    std::function<void()> m_onDeleted;

protected:
    void PostNcDestroy() override {}

private:
    UINT m_captionId;
    ostrana::PropertyPageBridge* m_bridge;
    std::atomic<ULONG> m_references{1};
    bool m_modified = false;
};

namespace ostrana {
// A class factory for one page class; `objects` counts the module's live pages and factories.
IClassFactory* NewPropertyPageFactory(std::function<COlePropertyPage*()> create, std::atomic<long>* objects);
} // namespace ostrana

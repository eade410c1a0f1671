// The property page base class; see OlePropertyPage.h.
#include "platform/ole/OlePropertyPage.h"

#include "platform/base/ModuleResources.h"
#include "platform/com/RefCounted.h"
#include "platform/window/Dialog.h"

IMPLEMENT_DYNAMIC(COlePropertyPage, CDialog)

namespace ostrana {

class PropertyPageBridge final : public IPropertyPage {
public:
    explicit PropertyPageBridge(COlePropertyPage& page) : m_page(page) {}

    HRESULT QueryInterface(REFIID riid, void** object) override { return m_page.QueryPageInterface(riid, object); }
    ULONG AddRef() override { return m_page.ExternalAddRef(); }
    ULONG Release() override { return m_page.ExternalRelease(); }

    HRESULT GetPageInfo(PROPPAGEINFO* info) override {
        if (info == nullptr) return E_POINTER;
        info->pszTitle = AnsiToBstr(m_page.GetCaption());
        info->size = m_page.GetTemplateSize();
        return S_OK;
    }
    HRESULT Activate(HWND parent, const RECT& rect, BOOL) override { return m_page.Activate(parent, rect); }
    HRESULT Deactivate() override { return m_page.Deactivate(); }
    HRESULT IsPageDirty() override { return m_page.IsModified() ? S_OK : S_FALSE; }
    HRESULT Apply() override { return m_page.Apply(); }

private:
    COlePropertyPage& m_page;
};

namespace {

class PageFactory : public RefCounted<IClassFactory> {
public:
    PageFactory(std::function<COlePropertyPage*()> create, std::atomic<long>* objects)
        : m_create(std::move(create)), m_objects(objects) {
        if (m_objects != nullptr) ++*m_objects;
    }
    ~PageFactory() override {
        if (m_objects != nullptr) --*m_objects;
    }
    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IClassFactory, object); }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return static_cast<HRESULT>(0x80040110);
        COlePropertyPage* page = m_create();
        if (page == nullptr) return E_OUTOFMEMORY;
        if (m_objects != nullptr) {
            ++*m_objects;
            std::atomic<long>* objects = m_objects;
            page->m_onDeleted = [objects] { --*objects; };
        }
        HRESULT status = page->QueryPageInterface(riid, object);
        page->ExternalRelease();
        return status;
    }
    HRESULT LockServer(BOOL lock) override {
        if (m_objects != nullptr) lock ? ++*m_objects : --*m_objects;
        return S_OK;
    }

private:
    std::function<COlePropertyPage*()> m_create;
    std::atomic<long>* m_objects;
};

} // namespace

IClassFactory* NewPropertyPageFactory(std::function<COlePropertyPage*()> create, std::atomic<long>* objects) {
    return new PageFactory(std::move(create), objects);
}

} // namespace ostrana

COlePropertyPage::COlePropertyPage(UINT templateId, UINT captionId)
    : CDialog(templateId), m_captionId(captionId), m_bridge(new ostrana::PropertyPageBridge(*this)) {}

COlePropertyPage::~COlePropertyPage() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    delete m_bridge;
    if (m_onDeleted) m_onDeleted();
}

HRESULT COlePropertyPage::QueryPageInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPropertyPage) {
        *object = static_cast<IPropertyPage*>(m_bridge);
        ExternalAddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG COlePropertyPage::ExternalAddRef() { return ++m_references; }

ULONG COlePropertyPage::ExternalRelease() {
    ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
}

std::string COlePropertyPage::GetCaption() const {
    char buffer[256] = {};
    int length = ::LoadStringA(ResourceModule(), m_captionId, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

SIZE COlePropertyPage::GetTemplateSize() const {
    auto dialog = ostrana::LoadDialogTemplate(ResourceModule(), MAKEINTRESOURCEA(m_templateId));
    if (!dialog) return SIZE{0, 0};
    RECT pixels = ostrana::DialogUnitsToPixels(RECT{0, 0, dialog->cx, dialog->cy},
                                               ostrana::DialogBaseUnitsOf(dialog->font, dialog->pointSize));
    return SIZE{pixels.right - pixels.left, pixels.bottom - pixels.top};
}

HRESULT COlePropertyPage::Activate(HWND parent, const RECT& rect) {
    if (m_hWnd != nullptr) return E_UNEXPECTED;
    if (!Create(m_templateId, CWnd::FromHandle(parent))) return E_FAIL;
    MoveWindow(rect);
    ShowWindow(SW_SHOW);
    return S_OK;
}

HRESULT COlePropertyPage::Deactivate() {
    if (m_hWnd == nullptr) return E_UNEXPECTED;
    DestroyWindow();
    return S_OK;
}

HRESULT COlePropertyPage::Apply() {
    m_modified = false;
    return S_OK;
}

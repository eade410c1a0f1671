// The progress dialog object: it keeps whether it is shown and hands every call, texts turned into
// UTF-8, to the presenter it was created with.
#include "platform/shell/ProgressDialog.h"

#include <mutex>

#include "platform/base/CodePage.h"

const CLSID CLSID_ProgressDialog = {0xF8383852, 0xFCD3, 0x11D1, {0xA6, 0xB9, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4}};
const IID IID_IProgressDialog = {0xEBBC7C04, 0x315E, 0x11D2, {0xB6, 0x2F, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4}};

namespace {

std::mutex& PresenterLock() {
    static std::mutex lock;
    return lock;
}

std::shared_ptr<ostrana::ProgressPresenter>& Presenter() {
    static std::shared_ptr<ostrana::ProgressPresenter> presenter;
    return presenter;
}

std::string Utf8Of(LPCWSTR text) {
    if (text == nullptr) {
        return {};
    }
    return ostrana::FromWide(std::u16string_view(text), CP_UTF8);
}

// One dialog keeps the presenter it was created with, so a presenter swap never reaches a
// dialog in the middle of its life.
class ProgressDialog final : public ostrana::RefCounted<IProgressDialog> {
public:
    explicit ProgressDialog(std::shared_ptr<ostrana::ProgressPresenter> presenter) : m_presenter(std::move(presenter)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IProgressDialog) {
            AddRef();
            *object = static_cast<IProgressDialog*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT StartProgressDialog(HWND, IUnknown*, DWORD flags, LPCVOID) override {
        if (m_started) {
            return E_FAIL;
        }
        m_started = true;
        m_presenter->OnStart(flags);
        return S_OK;
    }
    HRESULT StopProgressDialog() override {
        if (!m_started) {
            return E_FAIL;
        }
        m_started = false;
        m_presenter->OnStop();
        return S_OK;
    }
    HRESULT SetTitle(LPCWSTR title) override {
        m_presenter->OnTitle(Utf8Of(title));
        return S_OK;
    }
    HRESULT SetAnimation(HINSTANCE, UINT animationId) override {
        m_presenter->OnAnimation(animationId);
        return S_OK;
    }
    BOOL HasUserCancelled() override { return m_presenter->IsCancelled() ? TRUE : FALSE; }
    HRESULT SetProgress(DWORD completed, DWORD total) override { return SetProgress64(completed, total); }
    HRESULT SetProgress64(ULONGLONG completed, ULONGLONG total) override {
        m_presenter->OnProgress(completed, total);
        return S_OK;
    }
    HRESULT SetLine(DWORD lineNumber, LPCWSTR text, BOOL, LPCVOID) override {
        if (lineNumber < 1 || lineNumber > 3) {
            return E_INVALIDARG;
        }
        m_presenter->OnLine(lineNumber, Utf8Of(text));
        return S_OK;
    }
    HRESULT SetCancelMsg(LPCWSTR cancelMessage, LPCVOID) override {
        m_presenter->OnCancelMessage(Utf8Of(cancelMessage));
        return S_OK;
    }
    HRESULT Timer(DWORD timerAction, LPCVOID) override {
        if (timerAction != PDTIMER_RESET) {
            return E_INVALIDARG;
        }
        m_presenter->OnTimerReset();
        return S_OK;
    }

private:
    ~ProgressDialog() override {
        if (m_started) {
            m_presenter->OnStop();
        }
    }

    std::shared_ptr<ostrana::ProgressPresenter> m_presenter;
    bool m_started = false;
};

HRESULT CreateProgressDialog(REFIID iid, void** object) {
    auto presenter = ostrana::CurrentProgressPresenter();
    if (!presenter) {
        return REGDB_E_CLASSNOTREG;
    }
    auto* dialog = new ProgressDialog(std::move(presenter));
    HRESULT result = dialog->QueryInterface(iid, object);
    dialog->Release();
    return result;
}

} // namespace

namespace ostrana {

void SetProgressPresenter(std::shared_ptr<ProgressPresenter> presenter) {
    bool installed = presenter != nullptr;
    {
        std::lock_guard guard(PresenterLock());
        Presenter() = std::move(presenter);
    }
    if (installed) {
        RegisterInProcessClass(CLSID_ProgressDialog, CreateProgressDialog);
    } else {
        RevokeInProcessClass(CLSID_ProgressDialog);
    }
}

std::shared_ptr<ProgressPresenter> CurrentProgressPresenter() {
    std::lock_guard guard(PresenterLock());
    return Presenter();
}

} // namespace ostrana

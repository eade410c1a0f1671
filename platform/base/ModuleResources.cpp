#include "platform/base/ModuleResources.h"

#include <atomic>
#include <cstring>
#include <strings.h>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

namespace ostrana {

std::optional<std::string> ModuleResources::String(UINT id) const {
    std::call_once(m_converted, [this] {
        for (const StringResource& entry : m_strings) {
            m_ansi.emplace(entry.id, Utf8ToAnsi(entry.utf8));
        }
    });
    auto it = m_ansi.find(id);
    if (it == m_ansi.end()) {
        return std::nullopt;
    }
    return it->second;
}

const DialogResource* ModuleResources::Dialog(LPCSTR name) const {
    if (!IS_INTRESOURCE(name)) return nullptr;
    UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    for (const DialogResource& dialog : m_dialogs) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}

const MenuResource* ModuleResources::Menu(LPCSTR name) const {
    if (!IS_INTRESOURCE(name)) return nullptr;
    UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    for (const MenuResource& menu : m_menus) {
        if (menu.id == id) return &menu;
    }
    return nullptr;
}

const ImageResource* ModuleResources::Image(ImageKind kind, LPCSTR name) const {
    if (name == nullptr) return nullptr;
    for (const ImageResource& image : m_images) {
        if (image.kind != kind) continue;
        if (IS_INTRESOURCE(name)) {
            if (image.id != 0 && image.id == static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name))) return &image;
        } else if (image.name != nullptr && ::strcasecmp(image.name, name) == 0) {
            return &image;
        }
    }
    return nullptr;
}

namespace {

template <typename Resource> const Resource* FindById(std::span<const Resource> resources, LPCSTR name) {
    if (name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    for (const Resource& resource : resources) {
        if (resource.id == id) return &resource;
    }
    return nullptr;
}

} // namespace

const AcceleratorResource* ModuleResources::Accelerator(LPCSTR name) const { return FindById(m_accelerators, name); }

const ToolbarResource* ModuleResources::Toolbar(LPCSTR name) const { return FindById(m_toolbars, name); }

namespace {
std::atomic<HINSTANCE> g_defaultModule{nullptr};
}

void SetDefaultResourceModule(HINSTANCE instance) { g_defaultModule = instance; }
HINSTANCE DefaultResourceModule() { return g_defaultModule; }

} // namespace ostrana

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    buffer[0] = '\0';
    auto* module = ostrana::ModuleResources::FromHandle(instance);
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    auto text = module->String(id);
    if (!text) {
        SetLastError(ERROR_FILE_NOT_FOUND); // Windows says "resource not found"
        return 0;
    }
    std::size_t length = std::min(text->size(), static_cast<std::size_t>(bufferMax - 1));
    std::memcpy(buffer, text->data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

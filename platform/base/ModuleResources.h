// A module's resources, reached through its HINSTANCE as Windows reaches them: the string table,
// dialog templates, menus and images. The string table is written in UTF-8 and converted to the
// ANSI code page once, on first use.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "platform/base/ResourceTypes.h"
#include "platform/base/WinTypes.h"

namespace ostrana {

struct StringResource {
    UINT id;
    const char* utf8;
};

struct ResourceTables {
    std::span<const StringResource> strings;
    std::span<const DialogResource> dialogs;
    std::span<const MenuResource> menus;
    std::span<const ImageResource> images;
    std::span<const AcceleratorResource> accelerators = {};
    std::span<const ToolbarResource> toolbars = {};
};

class ModuleResources {
public:
    explicit ModuleResources(std::span<const StringResource> strings) : m_strings(strings) {}
    explicit ModuleResources(const ResourceTables& tables)
        : m_strings(tables.strings), m_dialogs(tables.dialogs), m_menus(tables.menus), m_images(tables.images),
          m_accelerators(tables.accelerators), m_toolbars(tables.toolbars) {}

    HINSTANCE Handle() const { return reinterpret_cast<HINSTANCE>(const_cast<ModuleResources*>(this)); }
    static ModuleResources* FromHandle(HINSTANCE instance) { return reinterpret_cast<ModuleResources*>(instance); }

    // The string in the ANSI code page, or nothing when the id is not in the table.
    std::optional<std::string> String(UINT id) const;

    const DialogResource* Dialog(LPCSTR name) const;
    const MenuResource* Menu(LPCSTR name) const;
    // By number or by name; names compare without case, as resource names do.
    const ImageResource* Image(ImageKind kind, LPCSTR name) const;
    std::span<const ImageResource> Images() const { return m_images; }
    // By number only, as the application names them.
    const AcceleratorResource* Accelerator(LPCSTR name) const;
    const ToolbarResource* Toolbar(LPCSTR name) const;

private:
    std::span<const StringResource> m_strings;
    std::span<const DialogResource> m_dialogs;
    std::span<const MenuResource> m_menus;
    std::span<const ImageResource> m_images;
    std::span<const AcceleratorResource> m_accelerators;
    std::span<const ToolbarResource> m_toolbars;
    mutable std::once_flag m_converted;
    mutable std::map<UINT, std::string> m_ansi;
};

// The module whose resources the framework classes load by number (dialogs, menus, bitmaps)
// when no HINSTANCE is named; the control module sets its own when its resources are first used.
void SetDefaultResourceModule(HINSTANCE instance);
HINSTANCE DefaultResourceModule();

} // namespace ostrana

// Copies at most bufferMax - 1 bytes and a terminator; returns the bytes copied, 0 when missing.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);

#include "shell/ShellSettings.h"

#include "platform/shell/ShellFlags.h"
#include "platform/shell/ShellLibrary.h"

ShellSettings::ShellSettings() : m_shell32(LoadLibraryA("shell32.dll")) { Reload(); }

ShellSettings::~ShellSettings() {
    if (m_shell32 != nullptr) FreeLibrary(m_shell32);
}

void ShellSettings::Reload() {
    using GetSettings = void (*)(LPSHELLFLAGSTATE, DWORD);
    auto get = m_shell32 != nullptr ? reinterpret_cast<GetSettings>(GetProcAddress(m_shell32, "SHGetSettings")) : nullptr;
    if (get == nullptr) return;
    SHELLFLAGSTATE state{};
    get(&state, kMask);
    m_flags = ostrana::ShellFlagBits(state);
}

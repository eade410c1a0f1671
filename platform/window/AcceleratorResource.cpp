#include "platform/window/AcceleratorResource.h"

#include <vector>

#include "platform/base/ModuleResources.h"

HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name) {
    auto* module = ostrana::ModuleResources::FromHandle(instance);
    const ostrana::AcceleratorResource* table = module != nullptr ? module->Accelerator(name) : nullptr;
    if (table == nullptr || table->entries.empty()) return nullptr;
    std::vector<ACCEL> entries;
    for (const ostrana::AcceleratorEntryResource& entry : table->entries) entries.push_back(ACCEL{entry.flags, entry.key, entry.command});
    return CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
}

// Registers the platform's own window classes (controls, dialogs, menus) once per process.
#include <mutex>

#include "platform/window/SystemClasses.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {

void EnsureSystemClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const SystemClassRegistration& registration : SystemClassRegistrations()) registration();
    });
}

} // namespace ostrana::detail

#include "platform/window/SystemClasses.h"

namespace ostrana::detail {

const std::vector<SystemClassRegistration>& SystemClassRegistrations() {
    static const std::vector<SystemClassRegistration> registrations = {};
    return registrations;
}

} // namespace ostrana::detail

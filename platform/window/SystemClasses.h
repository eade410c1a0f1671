// The list of functions that register the platform's own window classes; each control's file
// provides one. Internal to platform/window.
#pragma once

#include <vector>

namespace ostrana::detail {

using SystemClassRegistration = void (*)();
const std::vector<SystemClassRegistration>& SystemClassRegistrations();

} // namespace ostrana::detail

#include "platform/window/ControlCommon.h"
#include "platform/window/DialogState.h"
#include "platform/window/SystemClasses.h"

namespace ostrana::detail {

void RegisterMenuClass();

const std::vector<SystemClassRegistration>& SystemClassRegistrations() {
    static const std::vector<SystemClassRegistration> registrations = {
        RegisterDialogClass, RegisterStaticClass, RegisterWebViewClass, RegisterButtonClass, RegisterEditClass,
        RegisterComboBoxClass, RegisterScrollBarClass, RegisterMenuClass};
    return registrations;
}

} // namespace ostrana::detail

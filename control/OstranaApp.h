// The module's application object. Its profile is the program's settings key,
// HKEY_CURRENT_USER\SoftWare\Zelkor\Ostrana, where the lists keep their layouts.
#pragma once

#include "platform/window/AfxWinApp.h"

class COstranaApp : public CWinApp {
    DECLARE_DYNAMIC(COstranaApp)

public:
    COstranaApp();
};

// The framework's invalid-argument error: raised for an index outside a collection or input too
// short to use. Thrown and caught by value, like every exception of this code base.
#pragma once

#include <cstring>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/base/Exception.h"

class CInvalidArgException : public CException {
public:
    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = nullptr) const override {
        if (helpContext != nullptr) {
            *helpContext = 0;
        }
        if (error == nullptr || maxError == 0) {
            return FALSE;
        }
        std::string message = ostrana::Utf8ToAnsi("잘못된 인수가 있습니다.");
        std::strncpy(error, message.c_str(), maxError - 1);
        error[maxError - 1] = '\0';
        return TRUE;
    }
};

#include "platform/base/Exception.h"

IMPLEMENT_DYNAMIC(CException, CObject)

BOOL CException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    if (error != nullptr && maxError > 0) {
        error[0] = '\0';
    }
    return FALSE;
}

int CException::ReportError(UINT /*type*/, UINT /*messageId*/) { return 0; }

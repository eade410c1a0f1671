#include "misc/ExceptionEx.h"

#include <cstring>

#include "misc/ReportBox.h"

BOOL CExceptionEx::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    if (error == nullptr || maxError == 0) {
        return FALSE;
    }
    std::size_t length = std::min<std::size_t>(m_strMessage.size(), maxError - 1);
    std::memcpy(error, m_strMessage.data(), length);
    error[length] = '\0';
    return m_strMessage.empty() ? FALSE : TRUE;
}

int CExceptionEx::ReportError(UINT type, UINT /*messageId*/) {
    if (m_strMessage.empty()) {
        return type == REPORT_SILENT ? 1 : 0;
    }
    if (type != REPORT_SILENT) {
        ReportBox(m_strMessage.c_str(), REPORT_BOX_TYPE);
    }
    return 0;
}

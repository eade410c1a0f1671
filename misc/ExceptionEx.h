// The program's reportable error: an exception that carries a ready-made message text, and the
// report box through which every user-facing error and warning is shown ("Quorel Report").
#pragma once

#include <string>

#include "platform/base/Exception.h"

// The silent report type: not a message box flag; a report of this type never shows a box.
#define REPORT_SILENT 0x10000000
// Every box of the facility: MB_ICONEXCLAMATION | MB_TOPMOST.
#define REPORT_BOX_TYPE 0x40030

class CExceptionEx : public CException {
public:
    explicit CExceptionEx(std::string message) : CException(TRUE), m_strMessage(std::move(message)) {}

    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = nullptr) const override;
    // Shows the text in the report box unless it is empty or the type is REPORT_SILENT.
    // Answers 1 for an empty text reported silently, 0 otherwise.
    int ReportError(UINT type = 0, UINT messageId = 0) override;

    const std::string& Message() const { return m_strMessage; }

private:
    std::string m_strMessage;
};

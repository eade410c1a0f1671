// The framework's exception base. Exceptions are thrown and caught by value here, so the
// auto-delete flag is kept only for the report contract and Delete() has nothing to free.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    ~CException() override = default;

    // Copies the message into `error` (at most maxError bytes, terminated); FALSE when there is none.
    virtual BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = nullptr) const;
    // Shows the message to the user; returns the box's result, 0 when nothing was shown.
    virtual int ReportError(UINT type = 0, UINT messageId = 0);
    void Delete() {}

    BOOL m_bAutoDelete;
};

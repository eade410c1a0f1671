#include "platform/shell/FileOperation.h"

#include "platform/base/LastError.h"

#ifndef ERROR_INVALID_FUNCTION
#define ERROR_INVALID_FUNCTION 1L
#endif

int SHFileOperationA(LPSHFILEOPSTRUCTA operation) {
    if (operation == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    operation->fAnyOperationsAborted = FALSE;
    return ERROR_INVALID_FUNCTION;
}

// Manual- and auto-reset events over the kernel object table.
#pragma once

#include "platform/base/KernelObject.h"

HANDLE CreateEventA(void* securityAttributes, BOOL manualReset, BOOL initialState, LPCSTR name);
#define CreateEvent CreateEventA
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// The interface and class of the COM tests' in-process server.
#pragma once

#include "platform/com/Unknown.h"

inline constexpr IID IID_ITestAnswer = {0x6C1E2B10, 0x51A4, 0x4F0B, {0x9D, 0x21, 0x3A, 0x77, 0x10, 0x5E, 0x2C, 0x01}};
inline constexpr CLSID CLSID_TestAnswer = {0x6C1E2B11, 0x51A4, 0x4F0B, {0x9D, 0x21, 0x3A, 0x77, 0x10, 0x5E, 0x2C, 0x01}};

struct ITestAnswer : IUnknown {
    virtual int Value() = 0;

protected:
    ~ITestAnswer() = default;
};

// Small window classes shared by the window tests.
#pragma once

#include "platform/window/Messages.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::test {

inline HWND MakeTestWindow(const char* className, WNDPROC procedure, DWORD style, RECT rect, HWND parent = nullptr,
                           int id = 0, UINT classStyle = CS_DBLCLKS) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    windowClass.style = classStyle;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

} // namespace ostrana::test

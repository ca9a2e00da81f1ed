#pragma once
// Input as a user gives it, through SendInput: the pointer moved to a point
// of the screen, mouse buttons and keys pressed. Shared by the input driver
// and the tests that drive windows with real input.

#include <windows.h>

namespace qv {

inline bool SendOne(INPUT input)
{
    return SendInput(1, &input, sizeof input) == 1;
}

inline bool PointerToScreen(POINT screen)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 across the screen.
    input.mi.dx = static_cast<LONG>((screen.x * 65535 + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535 + height / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return SendOne(input);
}

// A point of a window's client area.
inline bool PointerToClient(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    return PointerToScreen(point);
}

// MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTUP and the like.
inline bool SendMouseButton(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return SendOne(input);
}

inline bool KeyStroke(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return SendOne(input);
}

}  // namespace qv

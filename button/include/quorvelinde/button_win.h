/*
 * The Quorvelinde button: an owner-drawn push button for any Win32 window.
 * Plain C; works from C and C++, with or without UNICODE, and from a dialog
 * template:
 *
 *   CONTROL "&Speichern", 101, "QuorvelindeButton", WS_TABSTOP, 10, 10, 60, 14
 *
 * Call QvButtonRegister once before the window or dialog is created. The
 * button then behaves like a push button: it sends WM_COMMAND/BN_CLICKED to
 * its parent for each click (mouse, space bar, BM_CLICK, Alt plus the letter
 * after '&' in its caption), takes part in Tab order with WS_TABSTOP, answers
 * BM_GETSTATE and BM_SETSTATE, and with BS_NOTIFY also sends BN_SETFOCUS,
 * BN_KILLFOCUS and BN_DOUBLECLICKED. Its window text is its caption. Enter on
 * the focused button is a key like any other: it clicks nothing. Its
 * messages are in quorvelinde/button.h, which this header includes.
 *
 * Everything runs on the thread that created the window. C++ programs can
 * reach the button's full interface through button/ButtonWindow_win.h.
 */
#ifndef QUORVELINDE_BUTTON_WIN_H
#define QUORVELINDE_BUTTON_WIN_H

#include <windows.h>

#include "quorvelinde/button.h"

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Registers the window class for windows of `instance` (the module whose
 * windows and dialog templates create buttons); with `global` TRUE it is a
 * global class (CS_GLOBALCLASS), which dialog templates in other modules of
 * the process, such as a DLL's, find too. Registering again is no error.
 * FALSE when the class cannot be registered (GetLastError tells why).
 */
BOOL WINAPI QvButtonRegister(HINSTANCE instance, BOOL global);

#ifdef __cplusplus
}
#endif

#endif /* QUORVELINDE_BUTTON_WIN_H */

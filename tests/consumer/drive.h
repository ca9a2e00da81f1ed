#ifndef DRIVE_H
#define DRIVE_H
/* Real input for a dialog, as a user gives it, and the checks both programs make. */

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* BN_CLICKED notifications the dialog procedure counted, by control id. */
extern int g_clicked[256];

/* The dialog's procedure: counts BN_CLICKED, and the first button's notifications (WM_NOTIFY). */
INT_PTR CALLBACK CountingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

/* Drives the dialog with Tab, a click, Alt and a mnemonic, BM_CLICK, the
   pointer over the first button and away, and a key on it; prints each
   check and returns the number that failed. */
int DriveButtons(HWND dialog);

#ifdef __cplusplus
}
#endif

#endif

/* The button in a C program: registered, placed by a dialog template, set
   up through its messages. */

#include "dialog_ids.h"
#include "drive.h"

/* [button.md: c] */
#include <quorvelinde/button.h>
/* [button.md: c] */

#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    HWND dialog;
    HWND save;
    SIZE pictureSize;
    int failed;
    (void)previous;
    (void)commandLine;
    (void)show;

    /* [button.md: c-register] */
    if (!QvButtonRegister(instance, FALSE)) {
        return 1;
    }
    dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_BUTTONS), NULL, CountingDialogProc, 0);
    /* [button.md: c-register] */
    if (!dialog) {
        printf("FAIL the dialog cannot be created (%lu)\n", GetLastError());
        return 1;
    }
    save = GetDlgItem(dialog, IDC_SAVE);
    /* [button.md: c-messages] */
    SendMessageW(save, QVBM_SETPICTURE, IMAGE_ICON, (LPARAM)LoadIcon(NULL, IDI_INFORMATION));
    SendMessageW(save, QVBM_SETPICTURESIZE, 16, 16);
    SendMessageW(save, QVBM_SETCOLOR, QVBC_HOVER, RGB(210, 230, 250));
    /* [button.md: c-messages] */
    failed = DriveButtons(dialog);
    SendMessageW(save, QVBM_GETPICTURESIZE, 0, (LPARAM)&pictureSize);
    failed += pictureSize.cx == 16 && pictureSize.cy == 16 ? 0 : 1;
    DestroyWindow(dialog);
    printf("%s: %d failed\n", failed ? "FAIL" : "PASS", failed);
    return failed ? 1 : 0;
}

/* The button from its DLL alone, as a program in another language takes it:
   quorvelinde_button.dll loaded and its functions found by name, the class
   registered for this program's dialog template, and afterwards unregistered
   and the DLL freed. The header gives only the constants and types. */

#include "dialog_ids.h"
#include "drive.h"

#include <quorvelinde/button.h>

#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    HMODULE library;
    QvButtonRegisterFunction registerClass;
    QvButtonUnregisterFunction unregisterClass;
    HWND dialog;
    int failed;
    (void)previous;
    (void)commandLine;
    (void)show;

    /* [button.md: dll] */
    library = LoadLibraryW(L"quorvelinde_button.dll");
    if (!library) {
        printf("FAIL the DLL cannot be loaded (%lu)\n", GetLastError());
        return 1;
    }
    registerClass = (QvButtonRegisterFunction)(void (*)(void))GetProcAddress(library, "QvButtonRegister");
    unregisterClass = (QvButtonUnregisterFunction)(void (*)(void))GetProcAddress(library, "QvButtonUnregister");
    if (!registerClass || !unregisterClass || !registerClass(instance, FALSE)) {
        printf("FAIL the DLL's functions are missing or refuse (%lu)\n", GetLastError());
        return 1;
    }
    /* [button.md: dll] */
    dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_BUTTONS), NULL, CountingDialogProc, 0);
    if (!dialog) {
        printf("FAIL the dialog cannot be created (%lu)\n", GetLastError());
        return 1;
    }
    failed = DriveButtons(dialog);
    /* [button.md: dll-end] */
    DestroyWindow(dialog);
    if (!unregisterClass(instance)) {
        printf("FAIL the class cannot be unregistered (%lu)\n", GetLastError());
        ++failed;
    }
    if (!FreeLibrary(library) || GetModuleHandleW(L"quorvelinde_button.dll")) {
        printf("FAIL the DLL is still loaded\n");
        ++failed;
    }
    /* [button.md: dll-end] */
    printf("%s: %d failed\n", failed ? "FAIL" : "PASS", failed);
    return failed ? 1 : 0;
}

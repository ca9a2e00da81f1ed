/* Exits 0 once a top-level window can be created in this Wine session, that
   is once its desktop process is running; 1 when it cannot be created. Wine
   waits ten seconds for a desktop process it starts, which a loaded machine
   can exceed: wine-run calls this until it passes, so that no program under
   test is the one that waits. */

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    HWND window;
    (void)previous;
    (void)commandLine;
    (void)show;
    window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, instance, NULL);
    if (!window) {
        return 1;
    }
    DestroyWindow(window);
    return 0;
}

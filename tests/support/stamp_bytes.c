/* Puts whatever bytes a file holds into a program as the launcher's stamp
   resource, unchecked, as the desk's own command never would: the tests give
   a launcher a stamp that is cut off, too long or wrong.

     stamp_bytes.exe PROGRAM BYTES_FILE   */

#include <windows.h>

#include <stdio.h>

#include "launcher/ResourceIds.h"

int wmain(int argc, wchar_t** argv)
{
    HANDLE file;
    HANDLE update;
    static BYTE bytes[1 << 20];
    DWORD size = 0;
    if (argc != 3) {
        fprintf(stderr, "usage: stamp_bytes PROGRAM BYTES_FILE\n");
        return 64;
    }
    file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, bytes, sizeof bytes, &size, NULL)) {
        fprintf(stderr, "cannot read the bytes (%lu)\n", GetLastError());
        return 1;
    }
    CloseHandle(file);
    update = BeginUpdateResourceW(argv[1], FALSE);
    if (!update || !UpdateResourceW(update, MAKEINTRESOURCEW(10), MAKEINTRESOURCEW(QV_STAMP),
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), bytes, size) ||
        !EndUpdateResourceW(update, FALSE)) {
        fprintf(stderr, "cannot stamp (%lu)\n", GetLastError());
        return 1;
    }
    return 0;
}

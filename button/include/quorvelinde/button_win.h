/*
 * The Quorvelinde button's Win32 part: its two functions, the results as
 * HRESULTs and the structure its notifications carry. Include
 * quorvelinde/button.h, which gives this part on Windows together with the
 * button's numbers; including this header alone gives both as well.
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
 * the process find too. Registering again is no error. FALSE when the class
 * cannot be registered (GetLastError tells why). Not from DllMain.
 */
BOOL WINAPI QvButtonRegister(HINSTANCE instance, BOOL global);

/*
 * Unregisters the class registered for `instance`, once every button window
 * is destroyed (else FALSE, with GetLastError ERROR_CLASS_HAS_WINDOWS). A
 * program that loaded quorvelinde_button.dll calls it before it frees the
 * DLL: a class whose window procedure is gone ends the next creation. Not
 * from DllMain.
 */
BOOL WINAPI QvButtonUnregister(HINSTANCE instance);

/* The two functions as GetProcAddress gives them. */
typedef BOOL(WINAPI* QvButtonRegisterFunction)(HINSTANCE instance, BOOL global);
typedef BOOL(WINAPI* QvButtonUnregisterFunction)(HINSTANCE instance);

/*
 * Results. A message below that returns a result returns QVB_OK (0) or an
 * HRESULT: HRESULT_FROM_WIN32 of the system's error for a file that cannot
 * be read or written, the system's own HRESULT where a system call gave one,
 * or one of the button's own (FACILITY_ITF). Cast the LRESULT to HRESULT.
 */
#define QVB_OK 0
/* A message or argument the button does not take (a wrong wParam, a NULL pointer). */
#define QVB_E_INVALIDCALL ((HRESULT)0x80040205L)
/* A number outside its range: a picture size beyond 32767 or 2048 x 2048 pixels. */
#define QVB_E_OVERFLOW ((HRESULT)0x80040206L)
/* Memory, or the system's graphics objects, ran out. */
#define QVB_E_OUTOFMEMORY ((HRESULT)0x80040207L)
/* A property file holds a value of the wrong type for its key. */
#define QVB_E_TYPEMISMATCH ((HRESULT)0x8004020DL)
/* The button could not do what it was asked, for a reason of its own. */
#define QVB_E_INTERNAL ((HRESULT)0x80040233L)
/* A file that is no property file: not JSON, cut off, too large or too deeply nested. */
#define QVB_E_FILEFORMAT ((HRESULT)0x80040341L)
/* A value the button cannot use: a caption of more than 4096 characters, an unusable font or pointer. */
#define QVB_E_INVALIDVALUE ((HRESULT)0x8004037CL)
/* A picture that does not decode, or of more than 2048 x 2048 pixels. */
#define QVB_E_INVALIDPICTURE ((HRESULT)0x800403E1L)

#ifndef CLR_INVALID
#define CLR_INVALID 0xFFFFFFFF
#endif

typedef struct NMQVBUTTON {
    NMHDR hdr;     /* hwndFrom: the button; idFrom: its id; code: QVBN_... */
    int button;    /* QVBN_MOUSEDOWN, _UP: the mouse button; QVBN_MOUSEMOVE: those held */
    int shift;     /* every event but QVBN_CLICK and QVBN_KEYPRESS: QVB_SHIFT | QVB_CTRL | QVB_ALT */
    float x;       /* the mouse events: where the pointer is, in pixels of the button */
    float y;
    int keyCode;   /* QVBN_KEYDOWN, _KEYUP: the virtual-key code (VK_...) */
    int character; /* QVBN_KEYPRESS: the character */
} NMQVBUTTON;

#ifdef __cplusplus
}
#endif

#endif /* QUORVELINDE_BUTTON_WIN_H */

/*
 * The Quorvelinde button: an owner-drawn push button for any Win32 window,
 * dialog template and language. Plain C; works from C and C++, with or
 * without UNICODE:
 *
 *   CONTROL "&Speichern", 101, "QuorvelindeButton", WS_TABSTOP, 10, 10, 60, 14
 *
 * Call QvButtonRegister once before the window or dialog is created. The
 * button then behaves like a push button: it sends WM_COMMAND/BN_CLICKED to
 * its parent for each click (mouse, space bar, BM_CLICK, Alt plus the letter
 * after '&' in its caption), takes part in Tab order with WS_TABSTOP, answers
 * BM_GETSTATE and BM_SETSTATE, and with BS_NOTIFY also sends BN_SETFOCUS,
 * BN_KILLFOCUS and BN_DOUBLECLICKED. Its window text is its caption. Each of
 * its events also reaches the parent as a WM_NOTIFY (QVBN_ below).
 *
 * Everything runs on the thread that created the window; notifications are
 * sent from inside the button's window procedure, so the parent may call
 * back into the button while it handles one.
 *
 * Link with Quorvelinde::button (a static library, or with
 * QUORVELINDE_BUTTON_SHARED the DLL quorvelinde_button.dll and its import
 * library), or load quorvelinde_button.dll yourself: its exports are the two
 * functions below, undecorated, with the WINAPI (stdcall) convention.
 */
#ifndef QUORVELINDE_BUTTON_H
#define QUORVELINDE_BUTTON_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The window class, for CreateWindowExW and dialog templates. */
#define QV_BUTTON_CLASS L"QuorvelindeButton"

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

/* Messages, sent with SendMessageW to the button's window: from WM_USER + 0x400 on. */
#define QVBM_FIRST (0x0400 + 0x0400)

/*
 * The caption, which is also the window text (WM_SETTEXT and WM_GETTEXT
 * work too; WM_SETTEXT returns FALSE for a caption it refuses). These take a
 * length, so that a caption may hold NUL characters.
 *   QVBM_SETCAPTION     wParam: length in WCHARs; lParam: const WCHAR*, not kept.
 *                       Result; QVB_E_INVALIDVALUE beyond 4096 characters.
 *   QVBM_GETCAPTION     wParam: buffer size in WCHARs; lParam: WCHAR* buffer or NULL.
 *                       Copies at most size - 1 WCHARs and a NUL; returns the caption's length.
 */
#define QVBM_SETCAPTION (QVBM_FIRST + 0)
#define QVBM_GETCAPTION (QVBM_FIRST + 1)

/*
 * The picture, and the picture shown while the pointer is over the button,
 * as BM_SETIMAGE takes them:
 *   wParam: IMAGE_BITMAP or IMAGE_ICON; lParam: the HBITMAP or HICON, or NULL for none.
 * The button does not take the handle over: the caller keeps owning it and
 * must keep it alive until the button shows another picture or is destroyed.
 * Setting the picture sets the picture size to the image's size.
 * Result; QVB_E_INVALIDCALL for another wParam or a handle of the wrong
 * kind, QVB_E_INVALIDPICTURE for an image of more than 2048 x 2048 pixels.
 */
#define QVBM_SETPICTURE (QVBM_FIRST + 2)
#define QVBM_SETHOVERPICTURE (QVBM_FIRST + 3)

/*
 * Where the picture goes: 0 above the caption, 1 left of it, 2 right of it,
 * 3 below it.  QVBM_SETPICTUREPOSITION wParam: the position. Result.
 *              QVBM_GETPICTUREPOSITION returns the position.
 */
#define QVBM_SETPICTUREPOSITION (QVBM_FIRST + 4)
#define QVBM_GETPICTUREPOSITION (QVBM_FIRST + 5)

/*
 * The size the picture is drawn at, in pixels.
 *   QVBM_SETPICTURESIZE wParam: width; lParam: height. Result; QVB_E_OVERFLOW
 *                       for a side beyond -32768 to 32767 or more than
 *                       2048 x 2048 pixels, and then neither side changes.
 *   QVBM_GETPICTURESIZE lParam: SIZE* that receives it. Result.
 */
#define QVBM_SETPICTURESIZE (QVBM_FIRST + 6)
#define QVBM_GETPICTURESIZE (QVBM_FIRST + 7)

/*
 * Colours: an RGB value (COLORREF), or QVB_SYSCOLOR(index) for a system
 * colour such as COLOR_BTNFACE, which follows the system's settings.
 *   QVBM_SETCOLOR wParam: one of QVBC_*; lParam: the colour. Result;
 *                 QVB_E_INVALIDCALL for another wParam.
 *   QVBM_GETCOLOR wParam: one of QVBC_*. Returns the colour; CLR_INVALID
 *                 (0xFFFFFFFF) for another wParam.
 * The mask colour is keyed out of bitmaps: their pixels of that colour let
 * the face show through.
 */
#define QVBM_SETCOLOR (QVBM_FIRST + 8)
#define QVBM_GETCOLOR (QVBM_FIRST + 9)
#define QVBC_BACK 0
#define QVBC_FORE 1
#define QVBC_HOVER 2
#define QVBC_PRESSED 3
#define QVBC_MASK 4
#ifndef CLR_INVALID
#define CLR_INVALID 0xFFFFFFFF
#endif
#define QVB_SYSCOLOR(index) (0x80000000ul | (unsigned long)(index))

/*
 * The button's properties to and from a property file (JSON, UTF-8).
 *   lParam: const WCHAR* file name, not kept. Result.
 * Saving replaces the file in one step. Loading a file refused as a whole
 * changes nothing; one refused at a key keeps what loaded before that key.
 */
#define QVBM_LOADPROPERTIES (QVBM_FIRST + 10)
#define QVBM_SAVEPROPERTIES (QVBM_FIRST + 11)

/*
 * Whether QVBN_MOUSEMOVE is sent, which comes for every move of the pointer
 * over the button; the other notifications always are.
 *   wParam: TRUE or FALSE (the default). Result.
 */
#define QVBM_SETMOVENOTIFY (QVBM_FIRST + 12)

/*
 * The button's switches, each off at first but the focus rectangle:
 *   QVBM_SETFLAG wParam: one of QVBF_*; lParam: TRUE or FALSE. Result.
 *   QVBM_GETFLAG wParam: one of QVBF_*. Returns TRUE or FALSE.
 * Another wParam: QVB_E_INVALIDCALL.
 */
#define QVBM_SETFLAG (QVBM_FIRST + 13)
#define QVBM_GETFLAG (QVBM_FIRST + 14)
#define QVBF_EDGE 0        /* a raised three-dimensional edge, always drawn */
#define QVBF_FOCUSRECT 1   /* the dotted focus rectangle while it has the focus */
#define QVBF_HANDPOINTER 2 /* the hand pointer over the button */

/*
 * Shows the button as input would leave it, for a preview or a designer,
 * until the next input: wParam QVBP_HOVER | QVBP_PRESSED | QVBP_FOCUS, or 0
 * for the normal look. Result.
 */
#define QVBM_PREVIEW (QVBM_FIRST + 15)
#define QVBP_HOVER 1
#define QVBP_PRESSED 2
#define QVBP_FOCUS 4

/*
 * Notifications: each event of the button, as WM_NOTIFY to its parent,
 * right after the event, in the order the events come. lParam is an
 * NMQVBUTTON*, valid only while the parent handles the message: copy what
 * you keep. The parent returns 0; the button reads nothing back. A click
 * sends QVBN_CLICK, then WM_COMMAND/BN_CLICKED as before.
 */
#define QVBN_FIRST (0U - 2100U)
#define QVBN_CLICK (QVBN_FIRST - 0)
#define QVBN_KEYDOWN (QVBN_FIRST - 1)
#define QVBN_KEYPRESS (QVBN_FIRST - 2)
#define QVBN_KEYUP (QVBN_FIRST - 3)
#define QVBN_MOUSEDOWN (QVBN_FIRST - 4)
#define QVBN_MOUSEMOVE (QVBN_FIRST - 5)
#define QVBN_MOUSEUP (QVBN_FIRST - 6)
#define QVBN_MOUSEIN (QVBN_FIRST - 7)
#define QVBN_MOUSEOUT (QVBN_FIRST - 8)

/* Mouse buttons in NMQVBUTTON.button, and the keys in NMQVBUTTON.shift, as flags. */
#define QVB_LEFT 1
#define QVB_RIGHT 2
#define QVB_MIDDLE 4
#define QVB_SHIFT 1
#define QVB_CTRL 2
#define QVB_ALT 4

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

#endif /* QUORVELINDE_BUTTON_H */

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
 * This header holds the button's numbers, which need no system header;
 * quorvelinde/button_win.h, which this header includes on Windows, holds
 * what needs windows.h.
 *
 * Link with Quorvelinde::button (a static library, or with
 * QUORVELINDE_BUTTON_SHARED the DLL quorvelinde_button.dll and its import
 * library), or load quorvelinde_button.dll yourself: its exports are the two
 * functions of button_win.h, undecorated, with the WINAPI (stdcall) convention.
 */
#ifndef QUORVELINDE_BUTTON_H
#define QUORVELINDE_BUTTON_H

/* The window class, for CreateWindowExW and dialog templates. */
#define QV_BUTTON_CLASS L"QuorvelindeButton"

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

/* On Windows the same header declares the functions and the notification
 * structure too; their part needs windows.h and lives beside this one. */
#ifdef _WIN32
#include "quorvelinde/button_win.h"
#endif

#endif /* QUORVELINDE_BUTTON_H */

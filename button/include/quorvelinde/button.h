/*
 * The Quorvelinde button's class name, messages and colour codes: plain C
 * constants, for any language that sends window messages. A C or C++ program
 * includes quorvelinde/button_win.h, which adds the registration.
 */
#ifndef QUORVELINDE_BUTTON_H
#define QUORVELINDE_BUTTON_H

/* The window class, for CreateWindowExW and dialog templates. */
#define QV_BUTTON_CLASS L"QuorvelindeButton"

/* Messages, sent with SendMessageW to the button's window: from WM_USER + 0x400 on. */
#define QVBM_FIRST (0x0400 + 0x0400)

/*
 * The caption, which is also the window text (WM_SETTEXT and WM_GETTEXT
 * work too). These take a length, so that a caption may hold NUL characters.
 *   QVBM_SETCAPTION     wParam: length in WCHARs; lParam: const WCHAR*, not kept. Returns TRUE.
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
 * Returns TRUE, or FALSE for another wParam or a handle of the wrong kind.
 */
#define QVBM_SETPICTURE (QVBM_FIRST + 2)
#define QVBM_SETHOVERPICTURE (QVBM_FIRST + 3)

/*
 * Where the picture goes: 0 above the caption, 1 left of it, 2 right of it,
 * 3 below it.  QVBM_SETPICTUREPOSITION wParam: the position; returns TRUE.
 *              QVBM_GETPICTUREPOSITION returns the position.
 */
#define QVBM_SETPICTUREPOSITION (QVBM_FIRST + 4)
#define QVBM_GETPICTUREPOSITION (QVBM_FIRST + 5)

/*
 * The size the picture is drawn at, in pixels.
 *   QVBM_SETPICTURESIZE wParam: width; lParam: height. Returns TRUE.
 *   QVBM_GETPICTURESIZE lParam: SIZE* that receives it. Returns TRUE.
 */
#define QVBM_SETPICTURESIZE (QVBM_FIRST + 6)
#define QVBM_GETPICTURESIZE (QVBM_FIRST + 7)

/*
 * Colours: an RGB value (COLORREF), or QVB_SYSCOLOR(index) for a system
 * colour such as COLOR_BTNFACE, which follows the system's settings.
 *   QVBM_SETCOLOR wParam: one of QVBC_*; lParam: the colour. Returns TRUE,
 *                 FALSE for an unknown wParam.
 *   QVBM_GETCOLOR wParam: one of QVBC_*. Returns the colour.
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
 *   lParam: const WCHAR* file name, not kept.
 * Saving replaces the file in one step. Loading a file refused as a whole
 * changes nothing; one refused at a key keeps what loaded before that key.
 * Returns 0, or the error number (321 a file that is no property file, 380
 * an unusable value, 481 an unusable picture, 6 a value out of range, 7 out
 * of memory, or the system's error code for a file that cannot be read or
 * written).
 */
#define QVBM_LOADPROPERTIES (QVBM_FIRST + 10)
#define QVBM_SAVEPROPERTIES (QVBM_FIRST + 11)

#endif /* QUORVELINDE_BUTTON_H */

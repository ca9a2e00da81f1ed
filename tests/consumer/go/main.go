// A program in a language without a C compiler at hand, as the guide shows
// it: quorvelinde_button.dll loaded by name, the button placed in a window,
// set up with its messages and read back through its notifications, whose
// fields are read at the offsets the guide gives. Prints one line per check
// and exits with the number that failed.
//
//	GOOS=windows GOARCH=amd64 go build -o button_go.exe   (or GOARCH=386)
package main

import (
	"fmt"
	"os"
	"syscall"
	"unsafe"
)

// [button.md: go]
var (
	button       = syscall.NewLazyDLL("quorvelinde_button.dll")
	qvRegister   = button.NewProc("QvButtonRegister")
	qvUnregister = button.NewProc("QvButtonUnregister")
)

// [button.md: go]
var (
	user32          = syscall.NewLazyDLL("user32.dll")
	createWindowEx  = user32.NewProc("CreateWindowExW")
	defWindowProc   = user32.NewProc("DefWindowProcW")
	destroyWindow   = user32.NewProc("DestroyWindow")
	registerClassEx = user32.NewProc("RegisterClassExW")
	sendMessage     = user32.NewProc("SendMessageW")
	getModuleHandle = syscall.NewLazyDLL("kernel32.dll").NewProc("GetModuleHandleW")
)

const (
	qvbmFirst       = 0x0800
	qvbmSetCaption  = qvbmFirst + 0
	qvbmGetCaption  = qvbmFirst + 1
	qvbmSetColor    = qvbmFirst + 8
	qvbmGetColor    = qvbmFirst + 9
	qvbcHover       = 2
	qvbnFirst       = -2100
	qvbnClick       = qvbnFirst - 0
	qvbnMouseDown   = qvbnFirst - 4
	qvbnMouseUp     = qvbnFirst - 6
	qvbEInvalidCall = int32(-0x7FFBFDFB) // 0x80040205, as a signed 32-bit number
)

// [button.md: go-notify]
// Where NMQVBUTTON's fields lie, as the guide's table gives them for 64-bit and 32-bit programs.
var pointer = unsafe.Sizeof(uintptr(0))

type offsets struct{ id, code, button, x, y uintptr }

var at = map[uintptr]offsets{8: {8, 16, 24, 32, 36}, 4: {4, 8, 12, 20, 24}}[pointer]

type notification struct {
	code   int32
	id     uintptr
	button int32
	x, y   float32
}

var heard []notification

func parentProc(window, message, wParam, lParam uintptr) uintptr {
	const wmNotify, wmCommand = 0x004E, 0x0111
	switch message {
	case wmNotify:
		told := unsafe.Pointer(lParam)
		heard = append(heard, notification{
			code:   *(*int32)(unsafe.Add(told, at.code)),
			id:     *(*uintptr)(unsafe.Add(told, at.id)),
			button: *(*int32)(unsafe.Add(told, at.button)),
			x:      *(*float32)(unsafe.Add(told, at.x)),
			y:      *(*float32)(unsafe.Add(told, at.y)),
		})
		return 0
		// [button.md: go-notify]
	case wmCommand:
		heard = append(heard, notification{code: int32(wParam >> 16), id: wParam & 0xFFFF})
		return 0
	}
	result, _, _ := defWindowProc.Call(window, message, wParam, lParam)
	return result
}

func wide(text string) *uint16 {
	p, _ := syscall.UTF16PtrFromString(text)
	return p
}

func main() {
	failed := 0
	check := func(ok bool, what string) {
		if ok {
			fmt.Println("ok  ", what)
		} else {
			fmt.Println("FAIL", what)
			failed++
		}
	}
	instance, _, _ := getModuleHandle.Call(0)
	// [button.md: go-register]
	if registered, _, err := qvRegister.Call(instance, 0); registered == 0 {
		fmt.Println("FAIL QvButtonRegister:", err)
		os.Exit(1)
	}
	// [button.md: go-register]
	type wndClassEx struct {
		size, style                        uint32
		proc                               uintptr
		classExtra, windowExtra            int32
		instance, icon, cursor, background uintptr
		menuName, className                *uint16
		smallIcon                          uintptr
	}
	class := wndClassEx{proc: syscall.NewCallback(parentProc), instance: instance, className: wide("GoParent")}
	class.size = uint32(unsafe.Sizeof(class))
	registerClassEx.Call(uintptr(unsafe.Pointer(&class)))
	parent, _, _ := createWindowEx.Call(0, uintptr(unsafe.Pointer(wide("GoParent"))), 0, 0xCF0000, 0, 0, 300, 200, 0, 0,
		instance, 0)
	const wsChild, wsVisible = 0x40000000, 0x10000000
	control, _, _ := createWindowEx.Call(0, uintptr(unsafe.Pointer(wide("QuorvelindeButton"))), 0,
		wsChild|wsVisible, 10, 10, 120, 40, parent, 7, instance, 0)
	check(control != 0, "the button is made in a Go program's window")

	caption, _ := syscall.UTF16FromString("Grüße aus Go")
	result, _, _ := sendMessage.Call(control, qvbmSetCaption, uintptr(len(caption)-1), uintptr(unsafe.Pointer(&caption[0])))
	check(result == 0, "QVBM_SETCAPTION answers QVB_OK")
	read := make([]uint16, 64)
	length, _, _ := sendMessage.Call(control, qvbmGetCaption, uintptr(len(read)), uintptr(unsafe.Pointer(&read[0])))
	check(syscall.UTF16ToString(read[:length]) == "Grüße aus Go", "QVBM_GETCAPTION reads it back")
	// An error comes back sign-extended in the LRESULT: compare its low 32 bits as a signed number.
	result, _, _ = sendMessage.Call(control, qvbmSetColor, 9, 0)
	check(int32(result) == qvbEInvalidCall, "a colour index it does not take is QVB_E_INVALIDCALL")
	result, _, _ = sendMessage.Call(control, qvbmGetColor, 9, 0)
	check(uint32(result) == 0xFFFFFFFF, "and reading it answers CLR_INVALID")
	sendMessage.Call(control, qvbmSetColor, qvbcHover, 0x00FA7050)
	result, _, _ = sendMessage.Call(control, qvbmGetColor, qvbcHover, 0)
	check(uint32(result) == 0x00FA7050, "QVBM_GETCOLOR answers the hover colour it was given")

	const wmLButtonDown, wmLButtonUp = 0x0201, 0x0202
	sendMessage.Call(control, wmLButtonDown, 1, 6<<16|5)
	sendMessage.Call(control, wmLButtonUp, 0, 6<<16|5)
	codes := []int32{}
	for _, told := range heard {
		codes = append(codes, told.code)
	}
	check(fmt.Sprint(codes) == fmt.Sprint([]int32{qvbnMouseDown, qvbnClick, 0, qvbnMouseUp}),
		fmt.Sprintf("a click tells QVBN_MOUSEDOWN, QVBN_CLICK, BN_CLICKED, QVBN_MOUSEUP (heard %v)", codes))
	if len(heard) == 4 {
		down := heard[0]
		check(down.id == 7 && down.button == 1 && down.x == 5 && down.y == 6,
			fmt.Sprintf("NMQVBUTTON's fields lie where the guide says (id %d, button %d, at %v, %v)", down.id, down.button,
				down.x, down.y))
		check(heard[2].id == 7, "BN_CLICKED names the button's id")
	}

	destroyWindow.Call(parent)
	unregistered, _, _ := qvUnregister.Call(instance)
	check(unregistered != 0, "QvButtonUnregister once the button is gone")
	fmt.Printf("PASS: %d failed\n", failed)
	os.Exit(failed)
}

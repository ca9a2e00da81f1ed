// The button gallery: every arrangement and look of the button in one window.

#include "GalleryWindow_win.h"

#include "host/base/ComApartment_win.h"
#include "host/base/TopLevelError.h"
#include "host/base/WideText_win.h"

#include <windows.h>

namespace {

void ReportAndEnd(const qv::HostError& error)
{
    const qv::Text prompt = error.Description() + u"\r\n\r\nFehlernummer: " + qv::DecimalText(error.Number());
    MessageBoxW(nullptr, qv::Wide(prompt), L"Schaltflächen-Galerie", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    qv::SetTopLevelErrorHandler(&ReportAndEnd);
    try {
        qv::ComApartment com;
        qv::GalleryWindow gallery(instance);
        return gallery.RunMessageLoop();
    } catch (...) {
        qv::ReportCurrentErrorToTopLevel();
    }
    return 1;
}

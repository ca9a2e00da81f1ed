#include "host/base/ComApartment_win.h"

#include "host/base/Win32Error_win.h"

#include <objbase.h>

namespace qv {

ComApartment::ComApartment()
{
    // S_FALSE (already initialised) also needs its CoUninitialize.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"COM konnte nicht gestartet werden");
    }
}

ComApartment::~ComApartment()
{
    CoUninitialize();
}

}  // namespace qv

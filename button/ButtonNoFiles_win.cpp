// The button built without its JSON property store: the program brings a
// store of its own and calls LoadProperties and SaveProperties with it.

#include "ButtonWindow_win.h"

#include "host/base/HostError.h"

namespace qv {
namespace {

HostError NoFileStore()
{
    return HostError(ErrorNumber::InvalidCall,
                     u"Ungültiger Aufruf: die Schaltfläche ist ohne Eigenschaftsdateien gebaut");
}

}  // namespace

void ButtonWindow::LoadPropertiesFromFile(const Text&)
{
    throw NoFileStore();
}

void ButtonWindow::SavePropertiesToFile(const Text&)
{
    throw NoFileStore();
}

}  // namespace qv

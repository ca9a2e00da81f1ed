#include "host/files/FileOutput.h"

#include "host/base/HostError.h"

namespace qv {

void RemoveLeftovers(FileOutput& files, const Text& fileName, const std::function<void(const Text& line)>& tell)
{
    for (const Text& name : files.Leftovers(fileName)) {
        try {
            files.Remove(name);
            tell(u"Übrig gebliebene Datei entfernt: " + name);
        } catch (const HostError& error) {
            // Still held, by a client that runs from it or by another program.
            tell(u"Übrig gebliebene Datei bleibt: " + name + u" (Fehler " + DecimalText(error.Number()) + u": " +
                 error.Description() + u")");
        }
    }
}

}  // namespace qv

#include "host/shell/LauncherServices.h"

namespace qv {
namespace {

// "C:" or "\\?\C:": a drive, whose root needs its separator kept.
bool IsDrive(const Text& folder)
{
    const std::size_t n = folder.size();
    const bool driveLetter = n >= 2 && folder[n - 1] == u':' &&
                             ((folder[n - 2] >= u'A' && folder[n - 2] <= u'Z') || (folder[n - 2] >= u'a' && folder[n - 2] <= u'z'));
    return driveLetter && (n == 2 || (n == 6 && folder.compare(0, 4, u"\\\\?\\") == 0));
}

}  // namespace

Text FolderOfModule(const Text& modulePath)
{
    const std::size_t last = modulePath.find_last_of(u"\\/");
    if (last == Text::npos) {
        return {};
    }
    Text folder = modulePath.substr(0, last);
    if (IsDrive(folder)) {
        folder += modulePath[last];
    }
    return folder;
}

Text WithTrailingSeparator(const Text& folder)
{
    const bool endsWithSeparator = !folder.empty() && (folder.back() == u'\\' || folder.back() == u'/');
    return endsWithSeparator ? folder : folder + u"\\";
}

}  // namespace qv

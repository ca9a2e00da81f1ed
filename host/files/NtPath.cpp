#include "host/files/NtPath.h"

namespace qv {
namespace {

bool StartsWith(const Text& text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && std::u16string_view(text).substr(0, prefix.size()) == prefix;
}

}  // namespace

Text NtPathOf(const Text& fullPath)
{
    constexpr std::u16string_view Nt = u"\\??\\";
    if (StartsWith(fullPath, Nt)) {
        return fullPath;
    }
    for (const std::u16string_view local : {u"\\\\?\\", u"\\\\.\\"}) {
        if (StartsWith(fullPath, local)) {
            return Text(Nt) + fullPath.substr(local.size());
        }
    }
    if (StartsWith(fullPath, u"\\\\")) {
        return Text(Nt) + u"UNC\\" + fullPath.substr(2);
    }
    return Text(Nt) + fullPath;
}

}  // namespace qv

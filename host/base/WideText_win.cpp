#include "host/base/WideText_win.h"

#include "host/base/HostError.h"
#include "host/base/Win32Error_win.h"

#include <limits>

namespace qv {

Text TextFromAnsi(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) {
        return {};
    }
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw OverflowError();
    }
    const auto source = reinterpret_cast<const char*>(bytes.data());
    const int sourceLength = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, source, sourceLength, nullptr, 0);
    if (length == 0) {
        throw ErrorFromLastError(u"Der Text kann nicht umgewandelt werden");
    }
    Text text(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, source, sourceLength, reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

Text WindowText(HWND window)
{
    Text text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int length = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace qv

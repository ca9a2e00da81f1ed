#include "LauncherStamp.h"

#include "SignerPins.h"

#include "host/base/HostError.h"

namespace qv {
namespace {

constexpr char Header[] = "Quorvelinde-Stempel 1";
constexpr char ServerKey[] = "Server: ";
constexpr char PinKey[] = "Pin: ";
constexpr std::size_t MostHostLength = 253;

HostError StampError(const Text& what)
{
    return HostError(ErrorNumber::InvalidFileFormat, what);
}

bool HostCharacter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

bool StartsWith(const std::string& text, const char* start)
{
    return text.rfind(start, 0) == 0;
}

}  // namespace

void CheckServer(const Text& server)
{
    Text host = server;
    for (const char16_t* scheme : {u"http://", u"https://"}) {
        if (host.rfind(scheme, 0) == 0) {
            host.erase(0, std::char_traits<char16_t>::length(scheme));
            break;
        }
    }
    const std::size_t colon = host.find(u':');
    const Text name = host.substr(0, colon);
    bool valid = !name.empty() && name.size() <= MostHostLength && name.front() != u'.' && name.front() != u'-';
    for (const char16_t c : name) {
        valid = valid && HostCharacter(c);
    }
    if (valid && colon != Text::npos) {
        const Text port = host.substr(colon + 1);
        long number = 0;
        valid = !port.empty() && port.size() <= 5;
        for (const char16_t c : port) {
            valid = valid && c >= u'0' && c <= u'9';
            number = number * 10 + (c - u'0');
        }
        valid = valid && number >= 1 && number <= 65535;
    }
    if (!valid) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"\u201E" + Shortened(server, 40) + u"\u201C ist kein Server: erwartet wird ein Rechnername, "
                                                    u"wahlweise mit :Port und mit http:// oder https:// davor");
    }
}

std::vector<std::uint8_t> StampOf(const LauncherSettings& settings)
{
    CheckServer(settings.server);
    if (settings.pins.empty()) {
        throw HostError(ErrorNumber::InvalidPropertyValue, u"Ein Stempel braucht mindestens einen Schlüssel-Pin");
    }
    std::string text = std::string(Header) + "\n" + ServerKey + Utf8FromText(settings.server) + "\n";
    for (const KeyHash& pin : settings.pins) {
        text += PinKey + Utf8FromText(KeyHashText(pin)) + "\n";
    }
    if (text.size() > MostStampBytes) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"Zu viele Schlüssel-Pins: der Stempel darf höchstens " +
                            DecimalText(static_cast<std::int64_t>(MostStampBytes)) + u" Bytes lang sein");
    }
    return {text.begin(), text.end()};
}

namespace {

LauncherSettings ParseStamp(std::span<const std::uint8_t> stamp)
{
    if (stamp.size() > MostStampBytes) {
        throw StampError(DecimalText(static_cast<std::int64_t>(stamp.size())) + u" Bytes sind mehr als " +
                         DecimalText(static_cast<std::int64_t>(MostStampBytes)));
    }
    const std::string text(stamp.begin(), stamp.end());
    if (text.empty() || text.back() != '\n') {
        throw StampError(u"der Stempel ist abgeschnitten");
    }
    LauncherSettings settings;
    bool hasServer = false;
    std::size_t at = 0;
    for (int number = 1; at < text.size(); ++number) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        try {
            if (number == 1) {
                if (line != Header) {
                    throw StampError(u"der Stempel beginnt nicht mit \u201E" + TextFromAscii(Header) + u"\u201C");
                }
            } else if (StartsWith(line, ServerKey) && !hasServer) {
                settings.server = TextFromUtf8(line.substr(std::char_traits<char>::length(ServerKey)));
                CheckServer(settings.server);
                hasServer = true;
            } else if (StartsWith(line, PinKey)) {
                const auto pins = ParseSignerPins(TextFromUtf8(line.substr(std::char_traits<char>::length(PinKey))));
                if (pins.size() != 1) {
                    throw StampError(u"eine Pin-Zeile ohne genau einen Pin");
                }
                settings.pins.push_back(pins[0]);
            } else {
                throw StampError(u"unerwartete Zeile \u201E" + Shortened(TextFromUtf8(line), 40) + u"\u201C");
            }
        } catch (const HostError& error) {
            throw HostError(error.Number(), u"Zeile " + DecimalText(number) + u": " + error.Description());
        }
    }
    if (!hasServer || settings.pins.empty()) {
        throw StampError(hasServer ? u"der Stempel nennt keinen Schlüssel-Pin" : u"der Stempel nennt keinen Server");
    }
    return settings;
}

}  // namespace

LauncherSettings ReadStamp(std::span<const std::uint8_t> stamp)
{
    try {
        return ParseStamp(stamp);
    } catch (const HostError& error) {
        throw HostError(error.Number(), u"Die eingestempelten Einstellungen dieses Launchers sind unbrauchbar: " + error.Description());
    }
}

Text SettingsText(const LauncherSettings& settings)
{
    return u"Server " + settings.server + u", Signaturprüfung mit " +
           DecimalText(static_cast<std::int64_t>(settings.pins.size())) + u" Schlüssel-Pin(s)";
}

}  // namespace qv

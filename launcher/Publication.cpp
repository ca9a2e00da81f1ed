#include "Publication.h"

#include "ClientFiles.h"
#include "VersionText.h"

#include "host/base/HostError.h"

#include <span>
#include <string>

namespace qv {
namespace {

// The most a client may have for the publish command to keep a copy to put back.
constexpr std::size_t MostClientBytes = 0x7FFFFFFF;

// The text as a launcher compares it, for ASCII versions: without a
// byte-order mark and trailing white space.
Text AnnouncedText(const std::vector<std::uint8_t>& bytes)
{
    std::size_t begin = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    std::size_t end = bytes.size();
    while (end > begin && (bytes[end - 1] == ' ' || bytes[end - 1] == '\t' || bytes[end - 1] == '\r' ||
                           bytes[end - 1] == '\n')) {
        --end;
    }
    Text text;
    for (std::size_t i = begin; i < end; ++i) {
        text += static_cast<char16_t>(bytes[i]);
    }
    return text;
}

Text ClientText(const ServedPair& served)
{
    if (!served.hasClient) {
        return u"keinen Client";
    }
    return served.clientVersion.empty() ? Text(u"einen Client ohne Dateiversion") : u"Client " + served.clientVersion;
}

Text ErrorText(const HostError& error)
{
    return u"Fehler " + DecimalText(error.Number()) + u": " + error.Description();
}

}  // namespace

Text ServedPairText(const ServedPair& served)
{
    Text text = u"Der Server liefert jetzt: " + ClientText(served) + u" mit " +
                (served.versionText ? u"Versionstext " + QuotedForLog(*served.versionText) : Text(u"keinem Versionstext"));
    const bool consistent = served.hasClient && served.versionText && !served.clientVersion.empty() &&
                            *served.versionText == served.clientVersion;
    if (!consistent && (served.hasClient || served.versionText)) {
        text += u"; die beiden passen nicht zusammen: jeder Launcher, der den Client lädt, lädt ihn bei jedem Start wieder";
    }
    return text;
}

ServerFolder::ServerFolder(FileInput& input, FileOutput& output, FileQueries& queries, Text folder)
    : m_input(input), m_output(output), m_queries(queries), m_folder(std::move(folder))
{
}

Text ServerFolder::ClientPath() const
{
    return m_folder + u"\\" + ServerFolderName + u"\\" + ClientFileName;
}

Text ServerFolder::VersionTextPath() const
{
    return m_folder + u"\\" + ServerFolderName + u"\\" + VersionTextFileName;
}

ServedPair ServerFolder::Served()
{
    ServedPair served;
    if (m_queries.FileExists(ClientPath())) {
        served.hasClient = true;
        try {
            served.clientVersion = m_queries.GetFileVersion(ClientPath());
        } catch (const HostError&) {
            // Unreadable is, for a launcher, a client without a version.
            served.clientVersion.clear();
        }
    }
    if (m_queries.FileExists(VersionTextPath())) {
        try {
            served.versionText = AnnouncedText(m_input.ReadAllBytes(VersionTextPath(), static_cast<std::size_t>(MostVersionTextBytes)));
        } catch (const HostError&) {
            // A text no launcher can read is no text for it either.
            served.versionText.reset();
        }
    }
    return served;
}

PublishOutcome ServerFolder::Publish(const ByteSnapshot& client, const Text& version)
{
    const ServedPair before = Served();
    std::vector<std::uint8_t> previousClient;
    try {
        if (before.hasClient) {
            previousClient = m_input.ReadAllBytes(ClientPath(), MostClientBytes);
        }
        m_output.ReplaceWithBytes(ClientPath(), client);
    } catch (const HostError& error) {
        return {PublishExit::NotPublished,
                {u"Nicht veröffentlicht: " + ClientPath() + u" kann nicht geschrieben werden: " + ErrorText(error),
                 ServedPairText(before)}};
    }
    std::vector<Text> lines{u"Geschrieben: " + ClientPath() + u" (" +
                            DecimalText(static_cast<std::int64_t>(client.size)) + u" Bytes)"};

    const std::string text = Utf8FromText(version);
    try {
        m_output.ReplaceWithBytes(
            VersionTextPath(),
            ByteSnapshot::Of(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
    } catch (const HostError& textError) {
        lines.push_back(u"Der Versionstext " + VersionTextPath() + u" kann nicht geschrieben werden: " +
                        ErrorText(textError));
        try {
            if (before.hasClient) {
                m_output.ReplaceWithBytes(ClientPath(), ByteSnapshot::Of(previousClient));
                lines.push_back(u"Nicht veröffentlicht: der bisherige Client ist zurückgelegt");
            } else {
                m_output.Remove(ClientPath());
                lines.push_back(u"Nicht veröffentlicht: der neue Client ist wieder entfernt");
            }
            lines.push_back(ServedPairText(Served()));
            return {PublishExit::NotPublished, std::move(lines)};
        } catch (const HostError& restoreError) {
            lines.push_back(u"Halb veröffentlicht: " + ClientPath() + u" ist der neue Client " + version + u", " +
                            VersionTextPath() + u" ist " +
                            (before.versionText ? u"der bisherige Text " + QuotedForLog(*before.versionText)
                                                : Text(u"nicht vorhanden")) +
                            u"; der bisherige Client kann nicht zurückgelegt werden: " + ErrorText(restoreError));
            lines.push_back(ServedPairText(Served()));
            return {PublishExit::PairSplit, std::move(lines)};
        }
    }
    lines.push_back(u"Geschrieben: " + VersionTextPath() + u" (\u201E" + version + u"\u201C, ohne Zeilenende)");
    lines.push_back(u"Veröffentlicht: Version " + version);
    lines.push_back(ServedPairText(Served()));
    return {PublishExit::Published, std::move(lines)};
}

}  // namespace qv

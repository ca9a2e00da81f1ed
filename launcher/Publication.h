#pragma once
// Writing a client and the text that announces its version into the
// distribution server's folder, as the support desk's publish command does:
// the server never ends up serving a pair that does not belong together
// without the desk being told exactly which file is which.

#include "host/base/ByteStore.h"
#include "host/base/Text.h"
#include "host/files/FileInput.h"
#include "host/files/FileOutput.h"
#include "host/files/FileQueries.h"

#include <optional>
#include <vector>

namespace qv {

// The publish command's exit codes.
enum class PublishExit : int {
    Published = 0,
    // The client was refused before anything was written.
    Refused = 1,
    WrongCommandLine = 2,
    // A write failed; the server serves the pair it served before.
    NotPublished = 3,
    // The new client stands beside the old text (or none): putting the old
    // client back failed too.
    PairSplit = 4,
};

// What a server folder serves.
struct ServedPair {
    bool hasClient = false;
    // The client's file version; empty for a client without one.
    Text clientVersion;
    // Nothing when there is no version text to read.
    std::optional<Text> versionText;
};

// "Der Server liefert jetzt: Client 5.3.1.7 mit Versionstext „5.3.1.7“",
// with a warning when the two do not announce the same version.
Text ServedPairText(const ServedPair& served);

struct PublishOutcome {
    PublishExit exit;
    // What to tell the desk, in order; the last line is what the server serves now.
    std::vector<Text> lines;
};

class ServerFolder {
public:
    // `folder` is the server's root; the files go to its "tamorix" folder,
    // which must exist.
    ServerFolder(FileInput& input, FileOutput& output, FileQueries& queries, Text folder);

    Text ClientPath() const;
    Text VersionTextPath() const;
    // Read now: what a launcher would find.
    ServedPair Served();

    // Writes the client, then the text `version` (without a line end). When
    // the text cannot be written, the client that was there before is put
    // back (or the new one removed, where there was none).
    PublishOutcome Publish(const ByteSnapshot& client, const Text& version);

private:
    FileInput& m_input;
    FileOutput& m_output;
    FileQueries& m_queries;
    Text m_folder;
};

}  // namespace qv

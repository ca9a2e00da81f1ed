#pragma once
// Helpers for the Windows-side tests: the test server's address, the bytes it
// serves under /gen/<n>, temporary folders and whole-file reads.

#include "host/base/Text.h"
#include "host/read/AsyncRead.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace qv::test {

// "http://127.0.0.1:<port>" + pathAndQuery, the server the test runner started.
Text ServerUrl(std::string_view pathAndQuery);

// Byte i is (i*7 + (i>>8)*13 + (i>>16)*31) mod 256, as the server makes it.
std::vector<std::uint8_t> ServedPattern(std::size_t n);

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    // Names of all entries in the folder.
    std::vector<std::wstring> Entries() const;

private:
    std::filesystem::path m_path;
};

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
Text AsText(const std::filesystem::path& path);
std::wstring AsWide(const Text& text);

// Records what a read service reports.
class RecordingSink final : public AsyncReadSink {
public:
    void ReadProgress(const ReadNotification& notification) override;
    void ReadCompleted(const ReadNotification& notification) override;

    bool Ended() const { return completions > 0; }
    // Waits, pumping messages, until the read ended; false when it did not in time.
    bool WaitForEnd(int seconds = 30);
    std::vector<std::uint8_t> Bytes() const;
    std::optional<HostError> Error() const;

    std::vector<std::size_t> progress;
    int completions = 0;
    std::optional<ReadNotification> last;
};

}  // namespace qv::test

#pragma once
// Launcher services whose answers a test scripts. Every call they receive, and
// every caption the status label gets, goes into one shared journal, so a test
// can check both the arguments and the order.

#include "ScriptedHost.h"

#include "host/base/HostError.h"
#include "host/files/RunLog.h"
#include "host/files/SignatureCheck.h"
#include "host/shell/LauncherServices.h"
#include "host/window/MessagePump.h"
#include "host/window/TextLabel.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

class ScriptedFileQueries final : public FileQueries {
public:
    ScriptedFileQueries(Journal& journal, const std::map<Text, Text>& files, const std::map<Text, ProgramShape>& shapes,
                        const std::optional<HostError>& failure)
        : m_journal(journal), m_files(files), m_shapes(shapes), m_failure(failure)
    {
    }
    bool FileExists(const Text& fileName) override;
    Text GetFileVersion(const Text& fileName) override;
    ProgramShape ShapeOfProgramFile(const Text& fileName) override;

private:
    Journal& m_journal;
    const std::map<Text, Text>& m_files;
    const std::map<Text, ProgramShape>& m_shapes;
    const std::optional<HostError>& m_failure;
};

class ScriptedPlatform final : public LauncherServices {
public:
    explicit ScriptedPlatform(Journal& journal) : m_journal(journal) {}

    Text ProgramPath() override { return programPath; }
    std::unique_ptr<FileQueries> CreateFileSystemObject() override;
    // Latin-1, as a single-byte ANSI code page would do it for these bytes.
    Text TextFromAnsiBytes(const std::vector<std::uint8_t>& bytes) override;
    NumberSeparators UserNumberSeparators() override { return {u",", u"."}; }
    // Answers from `shellAnswers` in turn, then 42 (started).
    std::intptr_t ShellExecuteFile(WindowHandle owner, const Text& verb, const Text& file, const Text& parameters,
                          const Text& directory, std::int32_t showCommand) override;
    void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y, std::int32_t cx,
                      std::int32_t cy, std::uint32_t flags) override;
    void ShowMessageBox(WindowHandle owner, const Text& prompt, std::uint32_t style, const Text& title) override;
    void Sleep(std::int32_t milliseconds) override;
    void EndProcess(std::uint32_t exitCode) override;

    Text programPath = u"C:\\Programme\\Fernwartung";
    // Files that exist, with the version each reports; whole programs unless `shapes` says otherwise.
    std::map<Text, Text> files;
    std::map<Text, ProgramShape> shapes;
    // When set, every file query fails with it.
    std::optional<HostError> fileQueryFailure;
    int fileSystemObjectsCreated = 0;
    std::vector<std::intptr_t> shellAnswers;

private:
    Journal& m_journal;
};

// Answers every signature question with `findings`, journalling the file it was asked about.
class ScriptedSignatures final : public SignatureCheck {
public:
    explicit ScriptedSignatures(Journal& journal) : m_journal(journal) {}
    SignatureFindings Inspect(const HeldFile& file) override;

    SignatureFindings findings;

private:
    Journal& m_journal;
};

// Keeps the lines recorded, apart from the journal: recording is no step of the sequence.
class RecordingLog final : public RunLog {
public:
    std::vector<std::string> lines;

protected:
    void Write(const Text& line) override { lines.push_back(Utf8FromText(line)); }
};

class RecordingLabel final : public TextLabel {
public:
    explicit RecordingLabel(Journal& journal) : m_journal(journal) {}
    void SetCaption(const Text& caption) override;
    Text Caption() const override { return m_caption; }
    void Refresh() override { m_journal.push_back("Refresh"); }

private:
    Journal& m_journal;
    Text m_caption = u"<Status>";
};

}  // namespace qv::test

#include "ScriptedLauncher.h"

#include <stdexcept>

namespace qv::test {

bool ScriptedFileQueries::FileExists(const Text& fileName)
{
    m_journal.push_back("FileExists " + Utf8FromText(fileName));
    if (m_failure) {
        throw *m_failure;
    }
    return m_files.count(fileName) > 0;
}

Text ScriptedFileQueries::GetFileVersion(const Text& fileName)
{
    m_journal.push_back("GetFileVersion " + Utf8FromText(fileName));
    if (m_failure) {
        throw *m_failure;
    }
    return m_files.at(fileName);
}

ProgramShape ScriptedFileQueries::ShapeOfProgramFile(const Text& fileName)
{
    m_journal.push_back("ShapeOfProgramFile " + Utf8FromText(fileName));
    if (m_failure) {
        throw *m_failure;
    }
    const auto found = m_shapes.find(fileName);
    return found == m_shapes.end() ? ProgramShape::Whole : found->second;
}

std::unique_ptr<FileQueries> ScriptedPlatform::CreateFileSystemObject()
{
    ++fileSystemObjectsCreated;
    return std::make_unique<ScriptedFileQueries>(m_journal, files, shapes, fileQueryFailure);
}

Text ScriptedPlatform::TextFromAnsiBytes(const std::vector<std::uint8_t>& bytes)
{
    return Text(bytes.begin(), bytes.end());
}

std::intptr_t ScriptedPlatform::ShellExecuteFile(WindowHandle owner, const Text& verb, const Text& file, const Text& parameters,
                                        const Text& directory, std::int32_t showCommand)
{
    m_journal.push_back("ShellExecute owner=" + std::to_string(owner) + " verb=" + Utf8FromText(verb) + " file=" +
                        Utf8FromText(file) + " parameters=[" + Utf8FromText(parameters) + "] directory=[" +
                        Utf8FromText(directory) + "] show=" + std::to_string(showCommand));
    if (shellAnswers.empty()) {
        return 42;
    }
    const std::intptr_t answer = shellAnswers.front();
    shellAnswers.erase(shellAnswers.begin());
    return answer;
}

void ScriptedPlatform::SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                                    std::int32_t cx, std::int32_t cy, std::uint32_t flags)
{
    m_journal.push_back("SetWindowPos window=" + std::to_string(window) + " after=" +
                        std::to_string(static_cast<std::intptr_t>(insertAfter)) + " " + std::to_string(x) + "," +
                        std::to_string(y) + "," + std::to_string(cx) + "," + std::to_string(cy) +
                        " flags=" + std::to_string(flags));
}

void ScriptedPlatform::ShowMessageBox(WindowHandle owner, const Text& prompt, std::uint32_t style, const Text& title)
{
    m_journal.push_back("MessageBox owner=" + std::to_string(owner) + " style=" + std::to_string(style) +
                        " title=" + Utf8FromText(title) + " prompt=" + Utf8FromText(prompt));
}

void ScriptedPlatform::Sleep(std::int32_t milliseconds)
{
    m_journal.push_back("Sleep " + std::to_string(milliseconds));
}

void ScriptedPlatform::EndProcess(std::uint32_t exitCode)
{
    m_journal.push_back("EndProcess " + std::to_string(exitCode));
}

SignatureFindings ScriptedSignatures::Inspect(const HeldFile& file)
{
    m_journal.push_back("Inspect " + Utf8FromText(file.path));
    return findings;
}

void RecordingLabel::SetCaption(const Text& caption)
{
    m_caption = caption;
    m_journal.push_back("Status " + Utf8FromText(caption));
}

}  // namespace qv::test

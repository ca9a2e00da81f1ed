#include "ScriptedHost.h"

#include <algorithm>
#include <stdexcept>

namespace qv::test {

void ScriptedReadService::AsyncRead(const Text& target, ResultKind kind, const Text& readName, std::int32_t options)
{
    reads.push_back({target, kind, readName, options});
    if (refuseReads) {
        throw *refuseReads;
    }
}

void ScriptedReadService::CancelAsyncRead(const Text& readName)
{
    cancels.push_back(readName);
    const bool known = std::any_of(reads.begin(), reads.end(), [&](const ReadRequest& r) { return r.name == readName; });
    if (!known) {
        throw HostError(ErrorNumber::InvalidCall, u"Kein Lesevorgang namens " + readName);
    }
}

void ScriptedReadService::Arrive(const std::string& bytes)
{
    data->Append({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

void ScriptedReadService::Progress(ReadValue value, ResultKind kind)
{
    m_sink->ReadProgress({kind, std::move(value)});
}

void ScriptedReadService::Complete(ReadValue value, ResultKind kind)
{
    m_sink->ReadCompleted({kind, std::move(value)});
}

void RecordingFileOutput::ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes,
                                           const WrittenFileCheck& check)
{
    if (journal) {
        journal->push_back("Save " + Utf8FromText(fileName));
    }
    if (refuse) {
        throw *refuse;
    }
    RefuseIfNamed(fileName);
    if (check) {
        checked.push_back(bytes.ToVector());
        if (!check(HeldFile{checkedName})) {
            throw HostError(ErrorNumber::FileRefused, u"Prüfung nicht bestanden");
        }
    }
    files[fileName] = bytes.ToVector();
}

void RecordingFileOutput::Remove(const Text& fileName)
{
    if (journal) {
        journal->push_back("Remove " + Utf8FromText(fileName));
    }
    RefuseIfNamed(fileName);
    files.erase(fileName);
}

void RecordingFileOutput::RefuseIfNamed(const Text& fileName) const
{
    if (std::find(refusedNames.begin(), refusedNames.end(), fileName) != refusedNames.end()) {
        throw HostError(5, u"Zugriff verweigert: " + fileName);
    }
}

void ScriptedPump::PumpStep()
{
    // A wait that never ends would otherwise hang the test run.
    if (++steps > 100000) {
        throw std::runtime_error("the message pump ran 100000 steps without end");
    }
    m_journal.push_back("Pump");
    if (onStep) {
        // A copy: the step may replace itself.
        const auto step = onStep;
        step();
    }
}

void ScriptedPump::WaitForMessages(std::int32_t milliseconds)
{
    m_journal.push_back("Wait " + std::to_string(milliseconds));
}

std::string AsString(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace qv::test

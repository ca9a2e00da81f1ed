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
    Note("Save " + Utf8FromText(fileName));
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

class RecordingPendingFile final : public PendingFile {
public:
    RecordingPendingFile(RecordingFileOutput& output, Text target) : m_output(output), m_target(std::move(target)) {}
    ~RecordingPendingFile() override
    {
        if (!m_placed) {
            m_output.Note("Discard " + Utf8FromText(m_target));
        }
    }

    void CatchUp(const ByteSnapshot& bytes) override
    {
        const std::vector<std::uint8_t> all = bytes.ToVector();
        if (m_output.writeFailure && all.size() >= m_output.writeFailsAfter) {
            throw *m_output.writeFailure;
        }
        if (all.size() > m_bytes.size()) {
            m_bytes.insert(m_bytes.end(), all.begin() + static_cast<std::ptrdiff_t>(m_bytes.size()), all.end());
        }
    }
    HeldFile Written() override { return {m_output.checkedName}; }
    const ByteSource& Bytes() override
    {
        m_source.emplace(m_bytes);
        return *m_source;
    }
    void Replace() override { Place(); }
    Text PlaceKeepingPrevious() override
    {
        auto& failures = m_output.placeFailures;
        if (!failures.empty()) {
            const HostError failure = failures.front();
            failures.erase(failures.begin());
            m_output.Note("Place refused " + Utf8FromText(m_target));
            throw failure;
        }
        Text aside;
        if (m_output.files.count(m_target)) {
            aside = m_target + u".~alt";
            m_output.files[aside] = m_output.files[m_target];
        }
        Place();
        return aside;
    }

private:
    void Place()
    {
        m_output.Note("Save " + Utf8FromText(m_target));
        m_output.RefuseIfNamed(m_target);
        m_output.files[m_target] = m_bytes;
        m_placed = true;
    }

    RecordingFileOutput& m_output;
    Text m_target;
    std::vector<std::uint8_t> m_bytes;
    std::optional<BytesInMemory> m_source;
    bool m_placed = false;
};

std::unique_ptr<PendingFile> RecordingFileOutput::BeginReplace(const Text& fileName)
{
    Note("Begin " + Utf8FromText(fileName));
    if (refuse) {
        throw *refuse;
    }
    return std::make_unique<RecordingPendingFile>(*this, fileName);
}

void RecordingFileOutput::MoveReplacing(const Text& from, const Text& to)
{
    Note("Move " + Utf8FromText(from) + " -> " + Utf8FromText(to));
    RefuseIfNamed(from);
    files[to] = files.at(from);
    files.erase(from);
}

void RecordingFileOutput::Remove(const Text& fileName)
{
    Note("Remove " + Utf8FromText(fileName));
    RefuseIfNamed(fileName);
    files.erase(fileName);
}

std::vector<Text> RecordingFileOutput::Leftovers(const Text&)
{
    return leftovers;
}

std::unique_ptr<FileLock> RecordingFileOutput::TryLock(const Text& fileName)
{
    Note("Lock " + Utf8FromText(fileName));
    if (lockFailure) {
        throw *lockFailure;
    }
    if (lockHeldTimes > 0) {
        --lockHeldTimes;
        return nullptr;
    }
    return std::make_unique<FileLock>();
}

void RecordingFileOutput::Note(const std::string& entry)
{
    if (journal) {
        journal->push_back(entry);
    }
}

void RecordingFileOutput::RefuseIfNamed(const Text& fileName) const
{
    if (std::find(refusedNames.begin(), refusedNames.end(), fileName) != refusedNames.end()) {
        throw HostError(5, u"Zugriff verweigert: " + fileName, ErrorOrigin::SystemCode);
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

#pragma once
// Host services whose behaviour a test scripts: a read service that records
// requests and lets the test deliver notifications, a settable tick counter
// and a file output that records or refuses writes.

#include "host/base/TickCounter.h"
#include "host/files/FileOutput.h"
#include "host/read/AsyncRead.h"
#include "host/window/MessagePump.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

// What scripted services were asked, in order.
using Journal = std::vector<std::string>;

struct ReadRequest {
    Text target;
    ResultKind kind;
    Text name;
    std::int32_t options;
};

class ScriptedReadService final : public AsyncReadService {
public:
    void SetSink(AsyncReadSink* sink) override { m_sink = sink; }
    AsyncReadSink* Sink() const override { return m_sink; }
    void AsyncRead(const Text& target, ResultKind kind, const Text& readName, std::int32_t options) override;
    void CancelAsyncRead(const Text& readName) override;

    // What the host was asked to do.
    std::vector<ReadRequest> reads;
    std::vector<Text> cancels;

    // Set to make the next requests fail. Cancel fails, as with a real host,
    // for a name that no request used.
    std::optional<HostError> refuseReads;

    // A read's delivery so far; notifications carry snapshots of it.
    std::shared_ptr<ByteStore> data = std::make_shared<ByteStore>();
    void Arrive(const std::string& bytes);
    ByteSnapshot Snapshot() const { return {data, data->Size()}; }

    void Progress(ReadValue value, ResultKind kind = ResultKind::ByteArray);
    void Complete(ReadValue value, ResultKind kind = ResultKind::ByteArray);

private:
    AsyncReadSink* m_sink = nullptr;
};

class ScriptedTicks final : public TickCounter {
public:
    std::int32_t TickCount() override { return now; }
    std::int32_t now = 1000;
};

class RecordingFileOutput final : public FileOutput {
public:
    void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check = {}) override;
    std::unique_ptr<PendingFile> BeginReplace(const Text& fileName) override;
    void MoveReplacing(const Text& from, const Text& to) override;
    void Remove(const Text& fileName) override;
    std::vector<Text> Leftovers(const Text& fileName) override;
    std::unique_ptr<FileLock> TryLock(const Text& fileName) override;

    std::map<Text, std::vector<std::uint8_t>> files;
    // The name under which a checked file is offered to its check, and what it held.
    Text checkedName = u"C:\\Temp\\geprueft.tmp";
    std::vector<std::vector<std::uint8_t>> checked;
    std::optional<HostError> refuse;
    // Writes and removals of these names fail, as a locked or read-only file would.
    std::vector<Text> refusedNames;
    // A pending file's writes fail with this once it holds `writeFailsAfter` bytes or more.
    std::optional<HostError> writeFailure;
    std::size_t writeFailsAfter = 0;
    // The next placements of a pending file fail with these, one each, in order.
    std::vector<HostError> placeFailures;
    // What Leftovers reports.
    std::vector<Text> leftovers;
    // TryLock finds the lock held this many times; with `lockFailure` it throws that.
    int lockHeldTimes = 0;
    std::optional<HostError> lockFailure;
    // When set, each save is journalled as "Save <file name>", each removal as "Remove <file name>", and so on.
    Journal* journal = nullptr;

private:
    friend class RecordingPendingFile;
    void Note(const std::string& entry);
    void RefuseIfNamed(const Text& fileName) const;
};

class ScriptedPump final : public MessagePump {
public:
    explicit ScriptedPump(Journal& journal) : m_journal(journal) {}
    void PumpStep() override;
    void WaitForMessages(std::int32_t milliseconds) override;

    // Runs inside each step, as the platform's notifications would.
    std::function<void()> onStep;
    int steps = 0;

private:
    Journal& m_journal;
};

std::string AsString(const std::vector<std::uint8_t>& bytes);

}  // namespace qv::test

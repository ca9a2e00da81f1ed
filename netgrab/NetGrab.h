#pragma once
// Fetches one URL at a time into memory through the host's read service,
// measures how long it took and can save what it fetched to a file.
// All members and events run on the UI thread; events are raised synchronously
// and the control's state is already updated when they are, so a handler may
// read Busy, Bytes and Duration or call SaveAs and DownloadStart.

#include "host/base/ByteStore.h"
#include "host/base/HostError.h"
#include "host/base/Text.h"
#include "host/base/TickCounter.h"
#include "host/files/FileOutput.h"
#include "host/read/AsyncRead.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qv {

struct NetGrabEvents {
    // May throw: the error becomes DownloadFailed right after.
    std::function<void(std::int32_t nBytes)> DownloadComplete;
    std::function<void(std::int32_t ErrNum, const Text& ErrDesc)> DownloadFailed;
    // An error thrown here is discarded, like every error of a progress step.
    std::function<void(std::int32_t nBytes)> DownloadProgress;
};

class NetGrab final : private AsyncReadSink {
public:
    // Mode 16 asks the platform for the newest copy from the server, not a cached one.
    static constexpr std::int32_t ModeNewestVersion = 16;

    // `reads` must have no sink yet: it becomes this control's. Throws HostError otherwise.
    NetGrab(AsyncReadService& reads, TickCounter& ticks, FileOutput& files, NetGrabEvents events = {});
    ~NetGrab();
    NetGrab(const NetGrab&) = delete;
    NetGrab& operator=(const NetGrab&) = delete;

    void SetEvents(NetGrabEvents events) { m_events = std::move(events); }

    bool Busy() const noexcept { return m_reading; }
    std::vector<std::uint8_t> Bytes() const { return m_buffer.ToVector(); }
    // The same bytes without a copy, for an owner that writes them out as they come.
    const ByteSnapshot& Received() const noexcept { return m_buffer; }
    std::int32_t Duration() const noexcept { return m_durationMs; }

    void DownloadCancel();
    void DownloadStart(const Text& URL, std::int32_t Mode);
    // The host refused the last DownloadStart's read: no event will come for it.
    bool StartRefused() const noexcept { return m_startRefused; }
    bool SaveAs(const Text& FileName);
    // As SaveAs, but the bytes replace FileName only when `check` passes them
    // where they lie written on disk; false when it does not.
    bool SaveAs(const Text& FileName, const WrittenFileCheck& check);
    // Why the last SaveAs returned false, for a log; nothing after one that saved.
    const std::optional<HostError>& LastSaveError() const noexcept { return m_saveError; }

private:
    // The read's name with the host: the decimal start tick.
    Text ReadName() const { return DecimalText(m_startTick); }
    // Takes the notification's bytes as the buffer; returns their count.
    std::int32_t TakeBytes(const ReadNotification& notification);

    void ReadProgress(const ReadNotification& notification) override;
    void ReadCompleted(const ReadNotification& notification) override;

    AsyncReadService& m_reads;
    TickCounter& m_ticks;
    FileOutput& m_files;
    NetGrabEvents m_events;

    std::int32_t m_startTick = 0;
    // Kept apart from the start tick, which may be 0 on a running read.
    bool m_reading = false;
    bool m_startRefused = false;
    ByteSnapshot m_buffer;
    std::optional<HostError> m_saveError;
    std::int32_t m_byteCount = 0;
    std::int32_t m_durationMs = 0;
};

}  // namespace qv

#include "NetGrab.h"

#include "host/base/HostError.h"

#include <limits>

namespace qv {
namespace {

std::int32_t CountOf(const ByteSnapshot& bytes)
{
    if (bytes.size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(bytes.size);
}

}  // namespace

NetGrab::NetGrab(AsyncReadService& reads, TickCounter& ticks, FileOutput& files, NetGrabEvents events)
    : m_reads(reads), m_ticks(ticks), m_files(files), m_events(std::move(events))
{
    // Each control needs a service of its own: sharing one would hand one control's reads to the other.
    if (m_reads.Sink()) {
        throw HostError(ErrorNumber::InvalidCall, u"Der Lesedienst gehört schon einem anderen Download-Steuerelement");
    }
    m_reads.SetSink(this);
}

NetGrab::~NetGrab()
{
    m_reads.SetSink(nullptr);
}

void NetGrab::DownloadCancel()
{
    try {
        m_reads.CancelAsyncRead(ReadName());
    } catch (const HostError&) {
        // An idle control cancels the name "0", which names no read: nothing to report.
    }
}

void NetGrab::DownloadStart(const Text& URL, std::int32_t Mode)
{
    if (URL.empty()) {
        return;
    }
    if (m_reading) {
        DownloadCancel();
    }
    m_durationMs = 0;
    m_startTick = m_ticks.TickCount();
    m_reading = true;
    m_startRefused = false;
    try {
        m_reads.AsyncRead(URL, ResultKind::ByteArray, ReadName(), Mode);
    } catch (const HostError&) {
        // A refused read raises no event; the control stays busy until the next start,
        // and an owner that waits for one can tell from StartRefused.
        m_startRefused = true;
    }
}

bool NetGrab::SaveAs(const Text& FileName)
{
    return SaveAs(FileName, {});
}

bool NetGrab::SaveAs(const Text& FileName, const WrittenFileCheck& check)
{
    m_saveError.reset();
    if (m_byteCount == 0) {
        m_saveError = HostError(ErrorNumber::InvalidCall, u"Es gibt nichts zu speichern");
        return false;
    }
    try {
        m_files.ReplaceWithBytes(FileName, m_buffer, check);
    } catch (const HostError& error) {
        // The answer is the boolean; the reason stays for whoever wants to record it.
        m_saveError = error;
        return false;
    }
    return true;
}

std::int32_t NetGrab::TakeBytes(const ReadNotification& notification)
{
    m_buffer = notification.value.Bytes();
    m_byteCount = CountOf(m_buffer);
    return m_byteCount;
}

void NetGrab::ReadProgress(const ReadNotification& notification)
{
    if (notification.kind != ResultKind::ByteArray) {
        return;
    }
    try {
        const std::int32_t count = TakeBytes(notification);
        if (m_events.DownloadProgress) {
            m_events.DownloadProgress(count);
        }
    } catch (...) {
        // Progress is advisory: a value that cannot be read, or a failing handler, changes nothing more.
    }
}

void NetGrab::ReadCompleted(const ReadNotification& notification)
{
    m_durationMs = ElapsedTicks(m_startTick, m_ticks.TickCount());
    m_startTick = 0;
    m_reading = false;
    if (notification.kind != ResultKind::ByteArray) {
        return;
    }
    try {
        const std::int32_t count = TakeBytes(notification);
        if (m_events.DownloadComplete) {
            m_events.DownloadComplete(count);
        }
    } catch (...) {
        const HostError error = CurrentErrorAsHostError();
        m_byteCount = 0;
        if (m_events.DownloadFailed) {
            m_events.DownloadFailed(error.Number(), error.Description());
        }
    }
}

}  // namespace qv

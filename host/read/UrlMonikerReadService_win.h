#pragma once
// The read service on URL monikers. A read fails, beyond what urlmon reports,
// when the HTTP status is outside 200-299, when fewer bytes arrive than the
// response announced, and when no byte arrives for the stall limit.

#include "host/read/AsyncRead.h"
#include "host/read/UrlMonikerTransfer_win.h"
#include "host/window/BoundWindow_win.h"

#include <windows.h>

#include <chrono>
#include <map>
#include <optional>

namespace qv {

class UrlMonikerReadService final : public AsyncReadService, private TransferListener, private BoundWindow {
public:
    static constexpr std::chrono::milliseconds DefaultStallLimit{30'000};

    explicit UrlMonikerReadService(std::chrono::milliseconds stallLimit = DefaultStallLimit, ReadLimits limits = {});
    ~UrlMonikerReadService() override;
    UrlMonikerReadService(const UrlMonikerReadService&) = delete;
    UrlMonikerReadService& operator=(const UrlMonikerReadService&) = delete;

    void SetSink(AsyncReadSink* sink) override { m_sink = sink; }
    AsyncReadSink* Sink() const override { return m_sink; }
    void AsyncRead(const Text& target, ResultKind kind, const Text& readName, std::int32_t options) override;
    void CancelAsyncRead(const Text& readName) override;
    // Lines ("Name: value\r\n") added to each request of later reads, where the protocol has them.
    void SetRequestHeaders(Text headers) { m_requestHeaders = std::move(headers); }

private:
    void TransferProgressed(UrlMonikerTransfer& transfer) override;
    void TransferEnded(UrlMonikerTransfer& transfer, const ReadNotification& outcome) override;

    void Forget(UrlMonikerTransfer& transfer);
    void Deliver(const ReadNotification& outcome);
    void CheckForStalls();
    // The service's message-only window carries the stall timer and the
    // outcomes that must wait for the message loop.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::chrono::milliseconds m_stallLimit;
    ReadLimits m_limits;
    Text m_requestHeaders;
    AsyncReadSink* m_sink = nullptr;
    std::map<Text, ComPtr<UrlMonikerTransfer>> m_transfers;
    // A read that ends while AsyncRead still starts it is delivered from the loop.
    bool m_starting = false;
    std::optional<ReadNotification> m_endedWhileStarting;
};

}  // namespace qv

#pragma once
// One read on URL monikers: the bind-status callback of an asynchronous pull
// bind to a stream. urlmon calls it on the thread that started the bind, from
// inside that thread's message loop.

#include "host/base/ByteStore.h"
#include "host/base/ComPtr_win.h"
#include "host/read/AsyncRead.h"
#include "host/read/ReadPace.h"

#include <windows.h>
#include <urlmon.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace qv {

class UrlMonikerTransfer;

class TransferListener {
public:
    virtual void TransferProgressed(UrlMonikerTransfer& transfer) = 0;
    // The transfer is detached from its listener before this is called.
    virtual void TransferEnded(UrlMonikerTransfer& transfer, const ReadNotification& outcome) = 0;

protected:
    ~TransferListener() = default;
};

// How much one read may take in.
struct ReadLimits {
    // The counts of a read are signed 32-bit: a read that passes this fails with Overflow (6).
    std::uint64_t maxBytes = 0x7FFFFFFF;
    // Memory the received bytes may take; beyond it the read fails as out of
    // memory (error 7). For tests: running out of memory is hard to arrange.
    std::size_t memoryBudget = SIZE_MAX;
    // Below this pace a read fails, however steadily it trickles.
    PaceFloor pace;
};

class UrlMonikerTransfer final : public IBindStatusCallback, public IHttpNegotiate, public IAuthenticate {
public:
    // `requestHeaders`: lines ("Name: value\r\n") added to an HTTP request.
    static ComPtr<UrlMonikerTransfer> Create(TransferListener& listener, std::int32_t bindOptions,
                                             const ReadLimits& limits = {}, Text requestHeaders = {});

    // No more notifications; a running bind is aborted.
    void Cancel();
    // Fails the read with `reason`; the outcome reaches the listener.
    void Abandon(const HostError& reason);

    ByteSnapshot Received() const { return {m_data, m_data->Size()}; }
    ULONGLONG LastActivity() const noexcept { return m_lastActivity; }
    const ReadPace& Pace() const noexcept { return m_pace; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IBindStatusCallback
    STDMETHODIMP OnStartBinding(DWORD reserved, IBinding* binding) override;
    STDMETHODIMP GetPriority(LONG* priority) override;
    STDMETHODIMP OnLowResource(DWORD reserved) override;
    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode, LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
    STDMETHODIMP GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
    STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP OnObjectAvailable(REFIID riid, IUnknown* object) override;

    // IHttpNegotiate
    STDMETHODIMP BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved, LPWSTR* additionalHeaders) override;
    STDMETHODIMP OnResponse(DWORD statusCode, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                            LPWSTR* additionalRequestHeaders) override;

    // IAuthenticate: a server or proxy that wants a password gets none and
    // nobody is asked for one; the read fails with its status. What the
    // platform answers by itself with the user's logon stays its own.
    STDMETHODIMP Authenticate(HWND* window, LPWSTR* userName, LPWSTR* password) override;

private:
    UrlMonikerTransfer(TransferListener& listener, std::int32_t bindOptions, const ReadLimits& limits,
                       Text requestHeaders);
    ~UrlMonikerTransfer() = default;

    // The server answered with a status outside 200-299.
    bool StatusFailed() const;
    // The read must come fresh from the server (BINDF_GETNEWESTVERSION).
    bool Fresh() const noexcept { return (m_bindOptions & BINDF_GETNEWESTVERSION) != 0; }
    // Reads what the stream holds now and reports progress along the way.
    void ReadAvailable();
    ReadNotification Outcome(HRESULT result, LPCWSTR error) const;
    void End(const ReadNotification& outcome);

    ULONG m_refs = 1;
    TransferListener* m_listener;
    std::int32_t m_bindOptions;
    std::uint64_t m_maxBytes;
    Text m_requestHeaders;
    ComPtr<IBinding> m_binding;
    ComPtr<IStream> m_stream;
    std::shared_ptr<ByteStore> m_data;
    DWORD m_httpStatus = 0;
    Text m_statusText;
    std::optional<std::uint64_t> m_contentLength;
    ULONGLONG m_lastActivity;
    ReadPace m_pace;
    // Why the read was given up from this side: a stall, too much data, no memory.
    std::optional<HostError> m_abandonReason;
};

}  // namespace qv

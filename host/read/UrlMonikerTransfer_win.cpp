#include "host/read/UrlMonikerTransfer_win.h"

#include "host/read/HttpHeaders.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"

#include <cstring>
#include <cwchar>
#include <cwctype>

namespace qv {
namespace {

constexpr std::size_t ReadPiece = 1024 * 1024;
// On a fast link the stream always has more and one notification reads the
// whole download: the owner still hears of its progress this often.
constexpr ULONGLONG ProgressIntervalMs = 50;

HostError TransferError(HRESULT result, LPCWSTR error)
{
    Text what;
    switch (static_cast<DWORD>(result)) {
    case 0x800C0004: what = u"Verbindung zum Server nicht möglich"; break;
    case 0x800C0005: what = u"Server nicht gefunden"; break;
    case 0x800C0007: what = u"Keine Daten vom Server"; break;
    case 0x800C0008: what = u"Übertragung fehlgeschlagen"; break;
    case 0x800C000B: what = u"Zeitüberschreitung der Verbindung"; break;
    default: what = u"Übertragung fehlgeschlagen"; break;
    }
    HostError detail = ErrorFromHresult(result, what);
    Text description = detail.Description();
    if (error && *error) {
        description += u": " + FromWide(error);
    }
    return HostError(ErrorNumber::TransferFailed, description);
}

}  // namespace

ComPtr<UrlMonikerTransfer> UrlMonikerTransfer::Create(TransferListener& listener, std::int32_t bindOptions,
                                                      const ReadLimits& limits, Text requestHeaders)
{
    // A COM object owns itself through its reference count; Adopt takes the creation reference.
    return ComPtr<UrlMonikerTransfer>::Adopt(
        new UrlMonikerTransfer(listener, bindOptions, limits, std::move(requestHeaders)));
}

UrlMonikerTransfer::UrlMonikerTransfer(TransferListener& listener, std::int32_t bindOptions, const ReadLimits& limits,
                                       Text requestHeaders)
    : m_listener(&listener), m_bindOptions(bindOptions), m_maxBytes(limits.maxBytes),
      m_requestHeaders(std::move(requestHeaders)),
      m_data(std::make_shared<ByteStore>(limits.memoryBudget)), m_lastActivity(GetTickCount64()),
      m_pace(limits.pace, m_lastActivity)
{
}

void UrlMonikerTransfer::Cancel()
{
    m_listener = nullptr;
    if (m_binding) {
        m_binding->Abort();
    }
}

void UrlMonikerTransfer::Abandon(const HostError& reason)
{
    if (!m_listener) {
        return;
    }
    m_abandonReason = reason;
    // Without a binding to abort, or when urlmon refuses, the outcome is ours to send.
    if (!m_binding || FAILED(m_binding->Abort())) {
        End({ResultKind::ByteArray, ReadValue::Failed(reason)});
    }
}

STDMETHODIMP UrlMonikerTransfer::QueryInterface(REFIID riid, void** object)
{
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
        *object = static_cast<IBindStatusCallback*>(this);
    } else if (IsEqualIID(riid, IID_IHttpNegotiate)) {
        *object = static_cast<IHttpNegotiate*>(this);
    } else if (IsEqualIID(riid, __uuidof(IAuthenticate))) {
        *object = static_cast<IAuthenticate*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) UrlMonikerTransfer::AddRef()
{
    return ++m_refs;
}

STDMETHODIMP_(ULONG) UrlMonikerTransfer::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0) {
        delete this;
    }
    return refs;
}

STDMETHODIMP UrlMonikerTransfer::OnStartBinding(DWORD, IBinding* binding)
{
    m_binding = ComPtr<IBinding>(binding);
    if (!m_listener) {
        // Cancelled before urlmon handed over the binding.
        binding->Abort();
    }
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::GetPriority(LONG* priority)
{
    if (!priority) {
        return E_POINTER;
    }
    *priority = THREAD_PRIORITY_NORMAL;
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::OnLowResource(DWORD)
{
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::OnProgress(ULONG, ULONG, ULONG, LPCWSTR)
{
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo)
{
    if (!bindFlags || !bindInfo) {
        return E_POINTER;
    }
    // Nothing is ever asked of the user, not even about a certificate: a
    // problem fails the read.
    *bindFlags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA | BINDF_NO_UI | BINDF_SILENTOPERATION |
                 static_cast<DWORD>(m_bindOptions);
    if (Fresh()) {
        // Past every cache: the platform's, which then holds nothing to
        // revalidate with a conditional request, and the proxies' on the way.
        *bindFlags |= BINDF_PRAGMA_NO_CACHE | BINDF_NOWRITECACHE;
    }
    const ULONG size = bindInfo->cbSize;
    ZeroMemory(bindInfo, size);
    bindInfo->cbSize = size;
    bindInfo->dwBindVerb = BINDVERB_GET;
    return S_OK;
}

bool UrlMonikerTransfer::StatusFailed() const
{
    return m_httpStatus != 0 && (m_httpStatus < 200 || m_httpStatus > 299);
}

void UrlMonikerTransfer::ReadAvailable()
{
    ComPtr<UrlMonikerTransfer> keepAlive(this);
    ULONGLONG lastReport = GetTickCount64();
    bool unreported = false;
    // An error page's body is read to its end but is no progress of the download.
    const bool reportProgress = !StatusFailed();
    // A progress handler may cancel the read: then nothing more is read or reported.
    while (m_listener) {
        const auto space = m_data->AppendSpace(ReadPiece);
        ULONG got = 0;
        const HRESULT hr = m_stream->Read(space.data(), static_cast<ULONG>(space.size()), &got);
        // E_PENDING may come with the bytes that were there: they count like any others.
        m_data->Commit(got);
        if (m_data->Size() > m_maxBytes) {
            throw HostError(ErrorNumber::Overflow,
                            u"Overflow: mehr als " + DecimalText(static_cast<std::int64_t>(m_maxBytes)) + u" Bytes");
        }
        if (got > 0) {
            m_lastActivity = GetTickCount64();
            m_pace.Note(m_lastActivity, m_data->Size());
            unreported = true;
        }
        if (hr != S_OK || got == 0) {
            // E_PENDING: more comes with the next notification; S_FALSE: the end;
            // a failure comes with the stop.
            break;
        }
        if (reportProgress && m_lastActivity - lastReport >= ProgressIntervalMs) {
            lastReport = m_lastActivity;
            unreported = false;
            m_listener->TransferProgressed(*this);
        }
    }
    if (reportProgress && unreported && m_listener) {
        m_listener->TransferProgressed(*this);
    }
}

STDMETHODIMP UrlMonikerTransfer::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM* medium)
{
    ComPtr<UrlMonikerTransfer> keepAlive(this);
    try {
        if (!m_stream && medium && medium->tymed == TYMED_ISTREAM && medium->pstm) {
            m_stream = ComPtr<IStream>(medium->pstm);
        }
        if (m_stream && m_listener) {
            ReadAvailable();
        }
    } catch (...) {
        // Too much data or no memory for it: this read fails, nothing crosses into urlmon.
        Abandon(CurrentErrorAsHostError());
    }
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::OnObjectAvailable(REFIID, IUnknown*)
{
    return S_OK;
}

ReadNotification UrlMonikerTransfer::Outcome(HRESULT result, LPCWSTR error) const
{
    auto failed = [](HostError reason) { return ReadNotification{ResultKind::ByteArray, ReadValue::Failed(std::move(reason))}; };
    if (m_abandonReason) {
        return failed(*m_abandonReason);
    }
    if (FAILED(result)) {
        return failed(TransferError(result, error));
    }
    if (StatusFailed()) {
        return failed(HostError(ErrorNumber::HttpStatus, m_statusText));
    }
    if (m_contentLength && m_data->Size() < *m_contentLength) {
        return failed(HostError(ErrorNumber::Truncated, u"Verbindung abgebrochen nach " + DecimalText(static_cast<std::int64_t>(m_data->Size())) +
                                                              u" von " + DecimalText(static_cast<std::int64_t>(*m_contentLength)) + u" Bytes"));
    }
    return {ResultKind::ByteArray, ReadValue::OfBytes(Received())};
}

void UrlMonikerTransfer::End(const ReadNotification& outcome)
{
    TransferListener* listener = m_listener;
    m_listener = nullptr;
    if (listener) {
        listener->TransferEnded(*this, outcome);
    }
}

STDMETHODIMP UrlMonikerTransfer::OnStopBinding(HRESULT result, LPCWSTR error)
{
    ComPtr<UrlMonikerTransfer> keepAlive(this);
    try {
        if (m_listener && !m_abandonReason && SUCCEEDED(result) && m_stream) {
            ReadAvailable();
        }
    } catch (...) {
        m_abandonReason = CurrentErrorAsHostError();
    }
    m_binding.Reset();
    m_stream.Reset();
    if (m_listener) {
        End(Outcome(result, error));
    }
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders)
{
    if (!additionalHeaders) {
        return S_OK;
    }
    *additionalHeaders = nullptr;
    try {
        // Where the platform's own flag sends no header (Wine's urlmon), these lines do.
        const Text headers = RequestHeadersFor(Fresh(), m_requestHeaders);
        if (!headers.empty()) {
            // urlmon frees what it is given with CoTaskMemFree.
            const std::size_t bytes = (headers.size() + 1) * sizeof(wchar_t);
            if (auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes))) {
                std::memcpy(copy, headers.c_str(), bytes);
                *additionalHeaders = copy;
            }
        }
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::OnResponse(DWORD statusCode, LPCWSTR responseHeaders, LPCWSTR, LPWSTR* additionalRequestHeaders)
{
    if (additionalRequestHeaders) {
        *additionalRequestHeaders = nullptr;
    }
    m_httpStatus = statusCode;
    try {
        const Text headers = responseHeaders ? FromWide(responseHeaders) : Text();
        m_contentLength = ContentLengthFromHeaders(headers);
        if (StatusFailed()) {
            m_statusText = HttpStatusText(statusCode, headers);
        }
    } catch (...) {
        Abandon(CurrentErrorAsHostError());
    }
    m_lastActivity = GetTickCount64();
    return S_OK;
}

STDMETHODIMP UrlMonikerTransfer::Authenticate(HWND* window, LPWSTR* userName, LPWSTR* password)
{
    for (LPWSTR* out : {userName, password}) {
        if (out) {
            *out = nullptr;
        }
    }
    if (window) {
        *window = nullptr;
    }
    return E_ACCESSDENIED;
}

}  // namespace qv

#include "host/read/UrlMonikerReadService_win.h"

#include "host/base/TopLevelError.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"

#include <vector>

namespace qv {
namespace {

constexpr UINT_PTR StallTimer = 1;
constexpr UINT DeliverEnded = WM_APP + 1;
constexpr wchar_t WindowClass[] = L"QuorvelindeReadService";

}  // namespace

UrlMonikerReadService::UrlMonikerReadService(std::chrono::milliseconds stallLimit, ReadLimits limits)
    : m_stallLimit(stallLimit), m_limits(limits)
{
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = &BoundWindowProc;
    windowClass.lpszClassName = WindowClass;
    RegisterWindowClass(windowClass);
    CreateWindowExW(0, WindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                    static_cast<BoundWindow*>(this));
    if (!Handle()) {
        throw ErrorFromLastError(u"Fenster kann nicht angelegt werden");
    }
    const auto period = m_stallLimit.count() / 4;
    SetTimer(Handle(), StallTimer, static_cast<UINT>(period < 50 ? 50 : period > 1000 ? 1000 : period), nullptr);
}

UrlMonikerReadService::~UrlMonikerReadService()
{
    m_sink = nullptr;
    auto transfers = std::move(m_transfers);
    for (auto& [name, transfer] : transfers) {
        transfer->Cancel();
    }
    DestroyWindow(Handle());
}

void UrlMonikerReadService::AsyncRead(const Text& target, ResultKind kind, const Text& readName, std::int32_t options)
{
    if (kind != ResultKind::ByteArray) {
        throw HostError(ErrorNumber::InvalidCall, u"Nur Byte-Arrays können gelesen werden");
    }
    if (m_transfers.count(readName)) {
        throw HostError(ErrorNumber::InvalidCall, u"Ein Lesevorgang namens " + readName + u" läuft bereits");
    }
    ComPtr<IMoniker> moniker;
    HRESULT hr = CreateURLMonikerEx(nullptr, Wide(target), moniker.Put(), URL_MK_UNIFORM);
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"Ungültige Adresse");
    }
    ComPtr<IBindCtx> context;
    hr = CreateBindCtx(0, context.Put());
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"Lesevorgang kann nicht gestartet werden");
    }
    ComPtr<UrlMonikerTransfer> transfer = UrlMonikerTransfer::Create(*this, options, m_limits, m_requestHeaders);
    hr = RegisterBindStatusCallback(context.Get(), transfer.Get(), nullptr, 0);
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"Lesevorgang kann nicht gestartet werden");
    }
    m_transfers.emplace(readName, transfer);

    m_starting = true;
    m_endedWhileStarting.reset();
    ComPtr<IStream> stream;
    hr = moniker->BindToStorage(context.Get(), nullptr, IID_IStream, reinterpret_cast<void**>(stream.Put()));
    m_starting = false;
    if (FAILED(hr)) {
        m_endedWhileStarting.reset();
        transfer->Cancel();
        m_transfers.erase(readName);
        throw HostError(ErrorNumber::ReadRefused, ErrorFromHresult(hr, u"Lesevorgang kann nicht gestartet werden").Description());
    }
    if (m_endedWhileStarting) {
        // The caller is still starting the read: its outcome waits for the message loop.
        PostMessageW(Handle(), DeliverEnded, 0, 0);
    }
}

void UrlMonikerReadService::CancelAsyncRead(const Text& readName)
{
    const auto found = m_transfers.find(readName);
    if (found == m_transfers.end()) {
        throw HostError(ErrorNumber::InvalidCall, u"Kein Lesevorgang namens " + readName);
    }
    ComPtr<UrlMonikerTransfer> transfer = found->second;
    m_transfers.erase(found);
    transfer->Cancel();
}

void UrlMonikerReadService::Forget(UrlMonikerTransfer& transfer)
{
    for (auto it = m_transfers.begin(); it != m_transfers.end(); ++it) {
        if (it->second.Get() == &transfer) {
            m_transfers.erase(it);
            return;
        }
    }
}

void UrlMonikerReadService::TransferProgressed(UrlMonikerTransfer& transfer)
{
    if (!m_sink) {
        return;
    }
    try {
        m_sink->ReadProgress({ResultKind::ByteArray, ReadValue::OfBytes(transfer.Received())});
    } catch (...) {
        ReportCurrentErrorToTopLevel();
    }
}

void UrlMonikerReadService::TransferEnded(UrlMonikerTransfer& transfer, const ReadNotification& outcome)
{
    Forget(transfer);
    if (m_starting) {
        m_endedWhileStarting = outcome;
        return;
    }
    Deliver(outcome);
}

void UrlMonikerReadService::Deliver(const ReadNotification& outcome)
{
    if (!m_sink) {
        return;
    }
    try {
        m_sink->ReadCompleted(outcome);
    } catch (...) {
        ReportCurrentErrorToTopLevel();
    }
}

void UrlMonikerReadService::CheckForStalls()
{
    const ULONGLONG now = GetTickCount64();
    std::vector<std::pair<ComPtr<UrlMonikerTransfer>, HostError>> failing;
    for (const auto& [name, transfer] : m_transfers) {
        if (now - transfer->LastActivity() >= static_cast<ULONGLONG>(m_stallLimit.count())) {
            failing.emplace_back(transfer, HostError(ErrorNumber::Stalled, u"Zeitüberschreitung: seit " +
                                                                               DecimalText(m_stallLimit.count() / 1000) +
                                                                               u" s keine Daten vom Server"));
        } else if (transfer->Pace().Crawling(now)) {
            const PaceFloor& floor = m_limits.pace;
            failing.emplace_back(
                transfer, HostError(ErrorNumber::TooSlow,
                                    u"Zu langsam: " + DecimalText(static_cast<std::int64_t>(transfer->Pace().BytesInWindow(now))) +
                                        u" Bytes in den letzten " + DecimalText(static_cast<std::int64_t>(floor.windowMs / 1000)) +
                                        u" s, mindestens " + DecimalText(static_cast<std::int64_t>(floor.leastBytes)) +
                                        u" erwartet"));
        }
    }
    for (auto& [transfer, reason] : failing) {
        transfer->Abandon(reason);
    }
}

LRESULT UrlMonikerReadService::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == StallTimer) {
        CheckForStalls();
        return 0;
    }
    if (message == DeliverEnded) {
        if (auto outcome = std::exchange(m_endedWhileStarting, std::nullopt)) {
            Deliver(*outcome);
        }
        return 0;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace qv

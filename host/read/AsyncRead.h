#pragma once
// The control host's asynchronous read service: a read is started under a name
// and reports its progress and its end through notifications that arrive on
// the user-interface thread while messages are pumped.

#include "host/base/ByteStore.h"
#include "host/base/HostError.h"
#include "host/base/Text.h"

#include <cstdint>
#include <variant>

namespace qv {

enum class ResultKind : std::int32_t {
    Picture = 0,
    File = 1,
    ByteArray = 2,
};

// The value a notification carries. Reading it fails with the transfer's error
// when the transfer failed, and with a type error when it holds no byte array.
class ReadValue {
public:
    static ReadValue Missing() { return ReadValue(std::monostate{}); }
    static ReadValue OfBytes(ByteSnapshot bytes) { return ReadValue(std::move(bytes)); }
    static ReadValue OfOtherType() { return ReadValue(OtherType{}); }
    static ReadValue Failed(HostError error) { return ReadValue(std::move(error)); }

    const ByteSnapshot& Bytes() const;

private:
    struct OtherType {};
    using Content = std::variant<std::monostate, ByteSnapshot, OtherType, HostError>;
    explicit ReadValue(Content content) : m_content(std::move(content)) {}

    Content m_content;
};

struct ReadNotification {
    ResultKind kind;
    ReadValue value;
};

// Implemented by the control that owns the reads. Called on the UI thread from
// inside a message-pump step; a handler may start or cancel reads.
class AsyncReadSink {
public:
    virtual void ReadProgress(const ReadNotification& notification) = 0;
    virtual void ReadCompleted(const ReadNotification& notification) = 0;

protected:
    ~AsyncReadSink() = default;
};

class AsyncReadService {
public:
    virtual ~AsyncReadService() = default;

    // Notifications of all reads go to this sink; nullptr stops them.
    virtual void SetSink(AsyncReadSink* sink) = 0;
    virtual AsyncReadSink* Sink() const = 0;

    // Throws HostError when the read cannot be started.
    virtual void AsyncRead(const Text& target, ResultKind kind, const Text& readName, std::int32_t options) = 0;

    // Throws HostError when no read has that name. A cancelled read sends no
    // further notification.
    virtual void CancelAsyncRead(const Text& readName) = 0;
};

}  // namespace qv

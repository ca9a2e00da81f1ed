#pragma once
// The program's one error type: a number and a description, as the control
// host reports errors. Converted to and from platform errors at the boundary.

#include "host/base/Text.h"

#include <cstdint>
#include <exception>
#include <string>

namespace qv {

namespace ErrorNumber {
constexpr std::int32_t InvalidCall = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t ObjectMissing = 91;
constexpr std::int32_t InvalidFileFormat = 321;
constexpr std::int32_t InvalidPropertyValue = 380;
constexpr std::int32_t InvalidPicture = 481;
constexpr std::int32_t Internal = 51;
// The read service's own failures.
constexpr std::int32_t HttpStatus = 31001;
constexpr std::int32_t Truncated = 31002;
constexpr std::int32_t Stalled = 31003;
constexpr std::int32_t TransferFailed = 31004;
constexpr std::int32_t ReadRefused = 31005;
// Data comes, but too slowly for the read ever to end in reasonable time.
constexpr std::int32_t TooSlow = 31007;
// A written file that its check did not pass.
constexpr std::int32_t FileRefused = 31006;
}  // namespace ErrorNumber

// Where an error's number comes from: the program's own (ErrorNumber), or
// the system's, an error code (Win32's) or a result code (an HRESULT). Each
// is its own number space: 5 is "invalid call" here and "access denied" there.
enum class ErrorOrigin { Program, SystemCode, SystemResult };

class HostError : public std::exception {
public:
    HostError(std::int32_t number, Text description, ErrorOrigin origin = ErrorOrigin::Program);

    std::int32_t Number() const noexcept { return m_number; }
    ErrorOrigin Origin() const noexcept { return m_origin; }
    const Text& Description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::int32_t m_number;
    ErrorOrigin m_origin;
    Text m_description;
    std::string m_what;
};

HostError OverflowError();

// Turns whatever is in flight into a HostError, so that every boundary reports
// the same kind of thing. Call only from inside a catch block.
HostError CurrentErrorAsHostError();

}  // namespace qv

#pragma once
// What a support desk stamps into a built launcher: its server and its
// signing keys' pins, one raw-data resource that the launcher reads at start
// in place of the values it was built with. The stamp is UTF-8 text:
//
//   Quorvelinde-Stempel 1
//   Server: updates.example.com
//   Pin: 36f4f683f0860f1399ee19375ce5da2e3e136958df52950e5946c84c988f3e61
//
// one line each, each ending with a line feed, at least one pin.

#include "host/base/Text.h"
#include "host/files/SignatureCheck.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

struct LauncherSettings {
    // A host, optionally with ":port", optionally after "http://" or "https://".
    Text server;
    std::vector<KeyHash> pins;
};

// The most bytes a stamp may hold: a server and some dozen pins.
inline constexpr std::size_t MostStampBytes = 4096;

// The stamp for `settings`; throws HostError for settings a launcher would refuse.
std::vector<std::uint8_t> StampOf(const LauncherSettings& settings);

// The settings a stamp holds. Throws HostError (321, with what is wrong in
// German) for one that is cut off, too long, not of this form, or names a
// server that is not a host or a pin that is not 64 hexadecimal digits.
LauncherSettings ReadStamp(std::span<const std::uint8_t> stamp);

// Throws HostError (380) for a server that is not a host.
void CheckServer(const Text& server);

// "Server updates.example.com, Signaturprüfung mit 2 Schlüssel-Pin(s)"
Text SettingsText(const LauncherSettings& settings);

}  // namespace qv

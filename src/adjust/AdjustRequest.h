#pragma once
// What a clock-setting run is and where it asks: the record a worker copies before its thread
// starts, built from the settings (or, for a test, from the options dialog's fields).

#include "settings/Settings.h"

#include <cstdint>
#include <string>

namespace lumora {

// The numbers are those of the result protocol: they choose the title's first word.
enum class AdjustKind : uint8_t { Test = 0, Automatic = 1, Startup = 2, Manual = 3 };

enum class AdjustSource { Ntp, Http, Kit };

struct AdjustRequest {
    AdjustKind Kind = AdjustKind::Test;
    std::wstring Server;      // host name, URL, or the kit's serial port name
    std::wstring ProxyServer; // HTTP only; empty: no proxy
    uint16_t Port = 0;        // SNTP: local UDP port; HTTP: proxy port; kit: unused
    int32_t TimeOut = 10;     // seconds
    int32_t Offset = 0;       // milliseconds added to the received time

    bool operator==(const AdjustRequest&) const = default;
};

inline AdjustRequest MakeAdjustRequest(AdjustSource source, AdjustKind kind, const AdjustClockSettings& s) {
    switch (source) {
    case AdjustSource::Ntp:
        return {kind, s.CurrentNTPServer, {}, static_cast<uint16_t>(s.NTPLocalPort), s.NTPTimeOut, s.NTPOffset};
    case AdjustSource::Http:
        return {kind,          s.CurrentHTTPServer, s.HTTPProxyServer, static_cast<uint16_t>(s.HTTPProxyPort),
                s.HTTPTimeOut, s.HTTPOffset};
    case AdjustSource::Kit:
        break;
    }
    return {kind, s.CurrentJJYPort, {}, 0, s.JJYTimeOut, s.JJYOffset};
}

} // namespace lumora

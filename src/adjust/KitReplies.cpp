#include "adjust/KitReplies.h"

#include "clock/DateTime.h"

#include <algorithm>

namespace lumora {
namespace {

// Unreadable fields take values that can never pass the date-time check.
constexpr int NotANumberDate = 0;
constexpr int NotANumberTime = 65535;

constexpr double JapanOffsetDays = 9.0 / 24;

// 1-based positions; a reply that ends inside the field has no number there.
int Decimal(std::string_view reply, size_t first, size_t last, int otherwise) {
    if (last > reply.size()) {
        return otherwise;
    }
    const std::string_view field = reply.substr(first - 1, last - first + 1);
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') {
            return otherwise;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

struct KitDate {
    int Year;
    int Month;
    int Day;

    bool operator==(const KitDate&) const = default;
};

KitDate ReadDate(std::string_view reply) {
    return {Decimal(reply, 1, 4, NotANumberDate), Decimal(reply, 6, 7, NotANumberDate),
            Decimal(reply, 9, 10, NotANumberDate)};
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

KitStatus ReadKitStatus(std::string_view reply) {
    // The reply lands in a zeroed buffer, so trailing NULs are no different from nothing.
    std::string_view text = reply;
    while (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    if (reply.empty() || text == KitStatusCommand) {
        return KitStatus::NoCommunication;
    }
    constexpr std::string_view Valid = "valid";
    if (reply.size() < Valid.size()) {
        return KitStatus::NotReady;
    }
    for (size_t i = 0; i < Valid.size(); ++i) {
        if (AsciiLower(reply[i]) != Valid[i]) {
            return KitStatus::NotReady;
        }
    }
    return KitStatus::Ready;
}

KitTime ReadKitTime(std::string_view firstDate, std::string_view time, std::string_view secondDate, bool repeated) {
    const KitDate date = ReadDate(firstDate);
    if (ReadDate(secondDate) != date) {
        return {repeated ? KitVerdict::Failed : KitVerdict::Retry};
    }
    const auto japan = TryComposeDateTime(date.Year, date.Month, date.Day, Decimal(time, 1, 2, NotANumberTime),
                                          Decimal(time, 4, 5, NotANumberTime), Decimal(time, 7, 8, NotANumberTime), 0);
    if (!japan) {
        return {KitVerdict::Failed};
    }
    return {KitVerdict::Accepted, *japan - JapanOffsetDays};
}

std::wstring SerialDevicePath(std::wstring_view portName) {
    constexpr std::wstring_view DeviceNamespace = L"\\\\.\\";
    const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };

    const bool comPort = portName.size() > 3 && lower(portName[0]) == L'c' && lower(portName[1]) == L'o' &&
                         lower(portName[2]) == L'm' && std::all_of(portName.begin() + 3, portName.end(), isDigit);
    const bool plainName = portName.size() == 4 && portName[3] >= L'1' && portName[3] <= L'9';
    // Names already in the device namespace, and anything that is not a COM port, go unchanged.
    if (!comPort || plainName) {
        return std::wstring(portName);
    }
    return std::wstring(DeviceNamespace) + std::wstring(portName);
}

} // namespace lumora

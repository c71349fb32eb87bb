#pragma once
// The radio-clock kit's serial exchange: its commands, what its replies mean, and the time read
// from them. The kit keeps Japan Standard Time (UTC + 9 hours).

#include <cstddef>
#include <string>
#include <string_view>

namespace lumora {

// Four letters and a line end, written in one write.
constexpr std::string_view KitStatusCommand = "DCST\r\n";
constexpr std::string_view KitTimeCommand = "STIM\r\n";
constexpr std::string_view KitDateCommand = "DATE\r\n";

// Bytes asked for in the one read after each command.
constexpr size_t KitStatusReplyLength = 7;
constexpr size_t KitTimeReplyLength = 10;
constexpr size_t KitDateReplyLength = 16;

enum class KitStatus {
    Ready,
    NoCommunication, // nothing read, or the command came back unchanged (a looped-back port)
    NotReady,        // the kit has not decoded a time yet
};

// reply: the bytes read after "DCST"; "valid" in any letter case at the start means ready.
KitStatus ReadKitStatus(std::string_view reply);

enum class KitVerdict {
    Accepted,
    Retry,  // the date changed during the exchange: run it once more
    Failed, // no valid date and time
};

struct KitTime {
    KitVerdict Verdict = KitVerdict::Failed;
    double Utc = 0; // set when accepted
};

// The exchange is "DATE", "STIM", "DATE": at midnight the time can still belong to the day before
// the second date, so the time counts only when both dates agree. repeated: this is the second
// exchange, after which a changed date fails instead of asking for another.
// Replies: the bytes read. Time at positions 1-2, 4-5, 7-8 (hh:mm:ss); date at 1-4, 6-7, 9-10
// (yyyy/mm/dd).
KitTime ReadKitTime(std::string_view firstDate, std::string_view time, std::string_view secondDate, bool repeated);

// Only COM1-COM9 open by their plain name; other ports need the device namespace ("\\.\COM10").
std::wstring SerialDevicePath(std::wstring_view portName);

} // namespace lumora

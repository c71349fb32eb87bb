#pragma once
// What the player tells the user when a sound will not start, and the rules for playing one track
// of an audio CD.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

enum class SoundMessage { FileMissing, DeviceBusy, NoDevice, CannotOpen, Corrupt, UnsupportedFormat, Other };

// mciError: the code of the failed open or play. anyOutputDevice: a wave-out or MIDI-out device
// exists. The file is looked for only after a failure, so a missing file wins over any code.
SoundMessage ClassifySoundFailure(bool fileExists, uint32_t mciError, bool anyOutputDevice);

// systemText: mciGetErrorString's text for the code, used only by SoundMessage::Other.
std::wstring SoundMessageText(SoundMessage message, std::wstring_view systemText);

// Audio-CD track files are named "Track01.cda" ... "Track99.cda": characters 6 and 7 are the track.
// Anything else there (a short name, a blank, a letter, track 0) plays from the first track.
int CdTrackNumber(std::wstring_view fileNameWithoutFolder);

// The MCI TMSF time format: track in the low byte, then minute, second, frame.
constexpr uint32_t Tmsf(int track, int minute, int second, int frame) {
    return (static_cast<uint32_t>(track) & 0xFF) | ((static_cast<uint32_t>(minute) & 0xFF) << 8) |
           ((static_cast<uint32_t>(second) & 0xFF) << 16) | ((static_cast<uint32_t>(frame) & 0xFF) << 24);
}

// One track of a disc; the last track has no end point and plays to the end of the disc.
struct CdPlayRange {
    uint32_t From = 0;
    std::optional<uint32_t> To;

    bool operator==(const CdPlayRange&) const = default;
};

CdPlayRange CdRange(int track, int numberOfTracks);

} // namespace lumora

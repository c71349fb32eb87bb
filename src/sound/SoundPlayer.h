#pragma once
// The one sound player of the program: MCI, one sound at a time, asynchronous. MCI reports the end
// of playback to the master window as MM_MCINOTIFY, which the master hands to Notified; the
// player then closes the device and tells whoever started the sound.

#include <windows.h>

#include <string>

namespace lumora {

// Whoever starts a sound hears its end: played out, failed, stopped, or replaced by another
// sound. The device is closed by then.
class SoundListener {
public:
    virtual void SoundEnded(bool successful) = 0;

protected:
    ~SoundListener() = default;
};

class SoundPlayer {
public:
    explicit SoundPlayer(HWND master) : master_(master) {}
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Whatever plays ends first. listener hears the end of the new sound; owner takes the error
    // message of an interactive play; captionButton (null for none) shows "停止" while it plays,
    // and an interactive press on the button of the playing sound stops it instead.
    void Play(SoundListener& listener, HWND owner, HWND captionButton, const std::wstring& fileName, bool interactive,
              bool accelCaption);
    // MM_MCINOTIFY to the master: the end of playback, well or by an error, ends the sound.
    void Notified(WPARAM flags);
    // Ends what plays; its listener hears a successful end.
    void Stop();
    // Ends the sound only when it is listener's.
    void StopFor(const SoundListener& listener);

    bool Playing() const { return playing_; }
    bool PlayingFor(const SoundListener& listener) const { return playing_ && listener_ == &listener; }
    HWND CaptionButton() const { return captionButton_; }

private:
    bool Open(const std::wstring& fileName, DWORD& error);
    DWORD Start(const std::wstring& fileName);
    // Stops and closes every device; the listener, if any, hears the end.
    void End(bool successful);
    void CloseDevice();
    void ReportFailure(HWND owner, const std::wstring& fileName, DWORD error) const;

    HWND master_;
    UINT deviceId_ = 0; // not cleared on close
    SoundListener* listener_ = nullptr;
    HWND captionButton_ = nullptr;
    bool playing_ = false;
};

} // namespace lumora

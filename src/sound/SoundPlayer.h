#pragma once
// The one sound player of the program: MCI, one sound at a time, asynchronous, with the end of
// playback reported to a window as MM_MCINOTIFY.

#include <windows.h>

#include <string>

namespace lumora {

class SoundPlayer {
public:
    explicit SoundPlayer(HWND master) : master_(master) {}
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // notifyWindow gets MM_MCINOTIFY at the end (and owns the error message); captionButton
    // shows "停止" while playing (the master window when no button is involved). An interactive
    // press on the button of the playing sound stops it instead; only interactive plays
    // report failures.
    void Play(HWND notifyWindow, HWND captionButton, const std::wstring& fileName, bool interactive, bool accelCaption);

    // What every window does on the end-of-playback notification: stop, close every device.
    void CloseDevice();

    bool Playing() const { return playing_; }
    HWND CaptionButton() const { return captionButton_; }
    void ClearCaptionButton() { captionButton_ = nullptr; }

private:
    bool Open(const std::wstring& fileName, DWORD& error);
    DWORD Start(HWND notifyWindow, const std::wstring& fileName);
    void ReportFailure(HWND owner, const std::wstring& fileName, DWORD error) const;

    HWND master_;
    UINT deviceId_ = 0; // not cleared on close
    HWND notifyWindow_ = nullptr;
    HWND captionButton_ = nullptr;
    bool playing_ = false;
};

} // namespace lumora

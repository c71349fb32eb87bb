#include "sound/SoundPlayer.h"

#include "shell/FileIo.h"
#include "shell/MessageBoxes.h"
#include "shell/PathText.h"

#include "shell/AppNames.h"
#include "sound/SoundErrors.h"

#include <mmsystem.h>
// after mmsystem.h, whose types it uses
#include <digitalv.h>

#include <utility>

namespace lumora {
namespace {

constexpr wchar_t StopCaption[] = L"\u505C\u6B62";          // 停止
constexpr wchar_t StopCaptionAccel[] = L"\u505C\u6B62(&S)"; // 停止(&S)

// A closed device unloads its MCI driver, and under Wine the wave driver's playing thread can
// still be on its way out of the driver's code then: it faults in the unloaded image and takes
// the program down. The drivers stay loaded for the run instead, which costs nothing.
void KeepMciDriversLoaded() {
    static constexpr const wchar_t* Drivers[] = {L"mciwave.dll", L"mciseq.dll", L"mcicda.dll", L"mciqtz32.dll",
                                                 L"mciavi32.dll"};
    for (const wchar_t* driver : Drivers) {
        HMODULE module = nullptr;
        // Only a driver that is loaded now is pinned; the others load with their first device.
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, driver, &module);
    }
}

std::wstring MciErrorText(DWORD error) {
    wchar_t text[256] = {};
    return mciGetErrorStringW(error, text, static_cast<UINT>(std::size(text))) ? text : L"";
}

} // namespace

bool SoundPlayer::Open(const std::wstring& fileName, DWORD& error) {
    // MCI takes the name through a non-const pointer but does not write to it.
    std::wstring element = fileName;
    MCI_DGV_OPEN_PARMSW open{};
    open.lpstrElementName = element.data();
    open.dwStyle = WS_CHILD | WS_DISABLED;
    open.hWndParent = master_;
    error = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT | MCI_DGV_OPEN_PARENT | MCI_DGV_OPEN_WS,
                            reinterpret_cast<DWORD_PTR>(&open));
    if (error == 0) {
        deviceId_ = open.wDeviceID;
        KeepMciDriversLoaded();
        return true;
    }
    // Devices without a video window refuse the window flags.
    MCI_OPEN_PARMSW plain{};
    plain.lpstrElementName = element.data();
    error = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&plain));
    if (error == 0) {
        deviceId_ = plain.wDeviceID;
        KeepMciDriversLoaded();
    }
    return error == 0;
}

DWORD SoundPlayer::Start(const std::wstring& fileName) {
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_TMSF;
    mciSendCommandW(deviceId_, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&format));

    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(master_);
    DWORD flags = MCI_NOTIFY;
    MCI_STATUS_PARMS type{};
    type.dwItem = MCI_CDA_STATUS_TYPE_TRACK;
    type.dwTrack = 1;
    if (mciSendCommandW(deviceId_, MCI_STATUS, MCI_STATUS_ITEM | MCI_TRACK, reinterpret_cast<DWORD_PTR>(&type)) == 0 &&
        type.dwReturn == MCI_CDA_TRACK_AUDIO) {
        // An audio-CD track file: play that track only.
        MCI_STATUS_PARMS tracks{};
        tracks.dwItem = MCI_STATUS_NUMBER_OF_TRACKS;
        mciSendCommandW(deviceId_, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&tracks));
        const CdPlayRange range = CdRange(CdTrackNumber(FileNameOf(fileName)), static_cast<int>(tracks.dwReturn));
        play.dwFrom = range.From;
        flags |= MCI_FROM;
        if (range.To) {
            play.dwTo = *range.To;
            flags |= MCI_TO;
        }
    }
    return mciSendCommandW(deviceId_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play));
}

void SoundPlayer::Play(SoundListener& listener, HWND owner, HWND captionButton, const std::wstring& fileName,
                       bool interactive, bool accelCaption) {
    const bool sameButton = captionButton != nullptr && captionButton == captionButton_;
    End(true);
    if (interactive && sameButton) {
        return; // the press was a stop
    }
    DWORD error = 0;
    if (Open(fileName, error) && deviceId_ != 0) {
        error = Start(fileName);
    }
    if (error == 0) {
        listener_ = &listener;
        captionButton_ = captionButton;
        if (captionButton != nullptr) {
            SetWindowTextW(captionButton, accelCaption ? StopCaptionAccel : StopCaption);
        }
        playing_ = true;
        return;
    }
    if (interactive) {
        ReportFailure(owner, fileName, error);
    }
    CloseDevice();
    listener.SoundEnded(false);
}

void SoundPlayer::Notified(WPARAM flags) {
    // A failed play also ends (Wine without a wave device reports failure only here): left open,
    // the device would count as playing for ever.
    if (flags == MCI_NOTIFY_SUCCESSFUL || flags == MCI_NOTIFY_FAILURE) {
        End(flags == MCI_NOTIFY_SUCCESSFUL);
    }
}

void SoundPlayer::Stop() {
    End(true);
}

void SoundPlayer::StopFor(const SoundListener& listener) {
    if (listener_ == &listener) {
        End(true);
    }
}

void SoundPlayer::End(bool successful) {
    CloseDevice();
    captionButton_ = nullptr;
    if (SoundListener* listener = std::exchange(listener_, nullptr)) {
        listener->SoundEnded(successful);
    }
}

void SoundPlayer::CloseDevice() {
    if (deviceId_ != 0) {
        MCI_GENERIC_PARMS stop{};
        mciSendCommandW(deviceId_, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&stop));
    }
    MCI_GENERIC_PARMS close{};
    mciSendCommandW(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
    playing_ = false;
}

void SoundPlayer::ReportFailure(HWND owner, const std::wstring& fileName, DWORD error) const {
    const bool anyDevice = waveOutGetNumDevs() > 0 || midiOutGetNumDevs() > 0;
    const SoundMessage kind = ClassifySoundFailure(FileExists(fileName), error, anyDevice);
    const std::wstring text = SoundMessageText(kind, kind == SoundMessage::Other ? MciErrorText(error) : L"");
    MessageBoxW(owner, text.c_str(), names::ProductName, MB_ICONERROR | MB_OK | UnaskedBoxFlags);
}

} // namespace lumora

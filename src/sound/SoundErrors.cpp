#include "sound/SoundErrors.h"

namespace lumora {

SoundMessage ClassifySoundFailure(bool fileExists, uint32_t mciError, bool anyOutputDevice) {
    if (!fileExists) {
        return SoundMessage::FileMissing;
    }
    switch (mciError) {
    case 4:   // MMSYSERR_ALLOCATED
    case 33:  // WAVERR_STILLPLAYING
    case 65:  // MIDIERR_STILLPLAYING
    case 320: // MCIERR_WAVE_OUTPUTSINUSE
    case 337: // MCIERR_SEQ_PORT_INUSE
        return SoundMessage::DeviceBusy;
    case 6:   // MMSYSERR_NODRIVER
    case 306: // MCIERR_DEVICE_NOT_INSTALLED
    case 326: // MCIERR_WAVE_OUTPUTSUNSUITABLE
    case 338: // MCIERR_SEQ_PORT_NONEXISTENT
    case 343: // MCIERR_SEQ_NOMIDIPRESENT
        return SoundMessage::NoDevice;
    case 275: // MCIERR_FILE_NOT_FOUND: there, but locked by another program
        return SoundMessage::CannotOpen;
    case 277: // MCIERR_INTERNAL: a decoder choking on the data, or no device to decode for
        return anyOutputDevice ? SoundMessage::Corrupt : SoundMessage::NoDevice;
    case 281: // MCIERR_EXTENSION_NOT_FOUND
        return SoundMessage::UnsupportedFormat;
    case 296: // MCIERR_INVALID_FILE
        return SoundMessage::Corrupt;
    default:
        return SoundMessage::Other;
    }
}

std::wstring SoundMessageText(SoundMessage message, std::wstring_view systemText) {
    switch (message) {
    case SoundMessage::FileMissing:
        return L"指定したサウンド ファイルは存在しません。正しいファイル名を指定してください。";
    case SoundMessage::DeviceBusy:
        return L"他のプログラムがサウンドを再生しています。\r\n"
               L"このコンピュータのサウンド デバイスでは、一度に複数のサウンドを再生できません。";
    case SoundMessage::NoDevice:
        return L"サウンドを再生できません。\r\n"
               L"サウンド デバイスがコンピュータに装着されていないか、正しくインストールされていません。";
    case SoundMessage::CannotOpen:
        return L"指定したサウンド ファイルは開けません。\r\n"
               L"他のプログラムがファイルを使用している可能性があります。";
    case SoundMessage::Corrupt:
        return L"指定したサウンド ファイルは壊れています。\r\n"
               L"このファイルをインターネットから入手した場合は、正しいファイルをダウンロードし直してください。";
    case SoundMessage::UnsupportedFormat:
        return L"指定したサウンド ファイルは、このコンピュータでは再生できない形式です。\r\n"
               L"サウンドを再生するためのデコーダが正しくインストールされていない可能性があります。";
    case SoundMessage::Other:
        break;
    }
    // The text comes from a fixed-size buffer; whatever follows its terminator is not text.
    return std::wstring(L"サウンドを再生できません。\r\n") + std::wstring(systemText.substr(0, systemText.find(L'\0')));
}

int CdTrackNumber(std::wstring_view fileNameWithoutFolder) {
    if (fileNameWithoutFolder.size() < 7) {
        return 1;
    }
    const wchar_t tens = fileNameWithoutFolder[5];
    const wchar_t ones = fileNameWithoutFolder[6];
    const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    if (!isDigit(tens) || !isDigit(ones)) {
        return 1;
    }
    const int track = (tens - L'0') * 10 + (ones - L'0');
    // Discs number their tracks from 1; "00" would only make the play fail.
    return track == 0 ? 1 : track;
}

CdPlayRange CdRange(int track, int numberOfTracks) {
    CdPlayRange range{.From = Tmsf(track, 0, 0, 0), .To = std::nullopt};
    if (track < numberOfTracks) {
        range.To = Tmsf(track + 1, 0, 0, 0);
    }
    return range;
}

} // namespace lumora

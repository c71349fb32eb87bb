#pragma once
// The open dialogs of the options dialog's "…" buttons: "画像の選択" for pictures and
// "サウンドの選択" for sounds, which adds a row with "試聴(&S)" and "自動的に試聴する(&A)".

#include <windows.h>

#include <string>
#include <vector>

namespace lumora {

class SoundPlayer;

struct FileOpenRequest {
    HWND Owner = nullptr;
    std::wstring Preset;  // the field's text: its folder and name are offered when the folder exists
    bool Several = false; // the user may choose several files
};

// The chosen files as full paths; empty when the user cancels.
std::vector<std::wstring> ChooseImageFile(const FileOpenRequest& request);

// `autoPlay` is the automatic preview's box, read at the start and stored back at the end. The
// options dialog (the owner) stops its own preview when the dialog shows.
std::vector<std::wstring> ChooseSoundFiles(const FileOpenRequest& request, SoundPlayer* sound, bool& autoPlay);

} // namespace lumora

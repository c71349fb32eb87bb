#pragma once
// What the options dialog's open dialogs decide without Windows: the names a multiple choice
// returns, which hour takes which of several chosen sounds, and when the sound dialog previews
// by itself.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// The open dialog's buffer: one full path, or the folder followed by the chosen names, each
// ended by a null character and the list by a second one. Full paths, in the buffer's order.
std::vector<std::wstring> ChosenFiles(std::wstring_view buffer);

// Several selected rows and the files chosen for them: one file goes to every row; otherwise
// the i-th file goes to the i-th row (in list order) while files remain. `table` is indexed by
// row; rows outside it are skipped.
void AssignChosenFiles(std::span<const int> rows, std::span<const std::wstring> files, std::span<std::wstring> table);

// The preview button and automatic preview of the sound dialog. The dialog reports the first
// selection itself when it opens; only the user's later selections play.
class SoundDialogPreview {
public:
    struct Selection {
        bool SetEnabled = false; // the preview button follows the file, unless a preview plays
        bool Enabled = false;
        bool Play = false; // automatically; the caller then reports AutoPlayStarted
    };

    void Opened() { selectedOnce_ = false; }
    Selection SelectionChanged(bool fileExists, bool autoPlay);
    void AutoPlayStarted() { autoPlayed_ = true; }
    // The end of a preview: whether the button is enabled again.
    bool PlaybackEnded(bool fileExists);

private:
    bool selectedOnce_ = false;
    bool autoPlayed_ = false;
};

} // namespace lumora

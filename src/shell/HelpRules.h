#pragma once
// The order in which opening the help decides what to do: nothing over a minimised window, a
// message when there is no help viewer or no file, the topic asked for, then the file's first
// page when the topic cannot be shown, and a message when not even that opens.

#include <functional>

namespace lumora {

enum class HelpOutcome { Nothing, Shown, NoViewer, NoFile, NotPermitted };

struct HelpProbe {
    bool OwnerMinimized = false;
    bool ViewerAvailable = false;
    bool FileExists = false;
    std::function<bool()> ShowTopic;     // the viewer at the topic asked for: true when it opened
    std::function<bool()> FileReadable;  // the file can be opened for reading
    std::function<bool()> ShowFirstPage; // the viewer at the file's first page
};

HelpOutcome OpenHelp(const HelpProbe& probe);

} // namespace lumora

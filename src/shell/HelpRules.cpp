#include "shell/HelpRules.h"

namespace lumora {

HelpOutcome OpenHelp(const HelpProbe& probe) {
    if (probe.OwnerMinimized) {
        return HelpOutcome::Nothing;
    }
    if (!probe.ViewerAvailable) {
        return HelpOutcome::NoViewer;
    }
    if (!probe.FileExists) {
        return HelpOutcome::NoFile;
    }
    if (probe.ShowTopic()) {
        return HelpOutcome::Shown;
    }
    // A topic the file does not have: its first page, when the file can be read at all.
    if (probe.FileReadable() && probe.ShowFirstPage()) {
        return HelpOutcome::Shown;
    }
    return HelpOutcome::NotPermitted;
}

} // namespace lumora

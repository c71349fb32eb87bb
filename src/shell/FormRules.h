#pragma once
// Rules of the base form that do not need a window to be decided.

namespace lumora {

// Where a dialog's first show puts the pointer when the system snaps it to the default button.
enum class SnapTarget { DefaultButton, CancelButton, ClientCentre, Nowhere };

// What the dialog offers: a button counts when it exists, is enabled and is visible.
struct SnapCandidates {
    bool DefaultButtonFocusable = false;
    bool CancelButtonFocusable = false;
    bool DialogFocusable = false; // the dialog itself is enabled and visible
};

// The default button, else the cancel button, else the middle of the client area.
SnapTarget ChooseSnapTarget(const SnapCandidates& candidates);

} // namespace lumora

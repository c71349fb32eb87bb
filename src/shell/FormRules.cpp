#include "shell/FormRules.h"

namespace lumora {

SnapTarget ChooseSnapTarget(const SnapCandidates& candidates) {
    if (candidates.DefaultButtonFocusable) {
        return SnapTarget::DefaultButton;
    }
    if (candidates.CancelButtonFocusable) {
        return SnapTarget::CancelButton;
    }
    return candidates.DialogFocusable ? SnapTarget::ClientCentre : SnapTarget::Nowhere;
}

} // namespace lumora

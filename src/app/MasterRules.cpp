#include "app/MasterRules.h"

namespace lumora {

ClickPlan PlanClick(ClickSender sender, bool captionOpen) {
    ClickPlan plan;
    plan.CloseCaption = true;
    // After a caption, or on a click on the clock itself, the pass draws only what changed.
    plan.FullRedraw = !captionOpen && sender != ClickSender::Clock;
    plan.FromIcon = sender == ClickSender::Icon;
    return plan;
}

bool CommandAccepted(CommandId command, const Settings& settings, const MenuContext& context) {
    const CommandState state = CommandStateOf(command, settings, context);
    return state.Visible && state.Enabled;
}

} // namespace lumora

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

bool RunsInPlace(CommandId command) {
    switch (command) {
    case CommandId::ScreenSave:
    case CommandId::ScreenSaveConfig:
    case CommandId::MonitorOff:
    case CommandId::Help:
    case CommandId::TimeDateCpl:
    case CommandId::WebSite:
        return true;
    default:
        return false;
    }
}

bool CommandAccepted(CommandId command, const Settings& settings, const MenuContext& context) {
    const CommandState state = CommandStateOf(command, settings, context);
    return state.Visible && state.Enabled;
}

} // namespace lumora

#pragma once
// What a click on the icon or on the clock, or the program's own temporary display, brings about,
// and which commands the master carries out when another program asks for them.

#include "menu/CommandIds.h"
#include "menu/MenuModel.h"
#include "settings/Settings.h"

namespace lumora {

// Who clicked: the notification icon, the clock window, or the master itself (the temporary
// display of the visible hours).
enum class ClickSender { Icon, Clock, Master };

struct ClickPlan {
    bool CloseCaption = true;
    // The pass after the click draws the whole face anew.
    bool FullRedraw = true;
    // The clock and an open calendar come to the foreground; a single click may open the calendar.
    bool FromIcon = false;
};
// captionOpen: a caption window is open when the click comes.
ClickPlan PlanClick(ClickSender sender, bool captionOpen);

// A command another program sends: carried out only when the menu, as it stands now, would offer
// it shown and usable.
bool CommandAccepted(CommandId command, const Settings& settings, const MenuContext& context);

} // namespace lumora

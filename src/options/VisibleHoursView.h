#pragma once
// The visible-hours editor on page 4 "表示|表示時間": a tab per weekday, the hour to edit, and
// that hour's 60 minutes as three-state boxes in six columns, with a popup menu of presets.
// The page's view hands these calls on; the week itself is the page's VisibleHoursEditor.

#include "options/OptionPageView.h"

namespace lumora {

// Fills the tabs, the hours and the minutes once; the editor starts at Monday, 0 時, with
// minute 0 selected.
void PrepareVisibleHours(PageControls& page);
void ExchangeVisibleHours(PageControls& page, VisibleHoursEditor& editor);
// The hour box, the boxes and the popup menu; true when the page is to be loaded again.
bool VisibleHoursCommand(HWND page, int id, int code, VisibleHoursEditor& editor, OptionActions& actions);
// The day tabs.
bool VisibleHoursNotify(HWND page, const NMHDR& header, VisibleHoursEditor& editor);
bool DrawMinuteBox(const DRAWITEMSTRUCT& item);

} // namespace lumora

#pragma once
// One pass of the master tick as every part sees it: the displayed time, its parts and whether
// the pass redraws everything.

#include "clock/DateTime.h"

namespace lumora {

struct PassContext {
    double Displayed = 0; // the displayed time with the animation lead
    DateTimeParts Taken;  // the displayed time before the lead: hour, minute and second rules
    bool FullRedraw = false;
};

} // namespace lumora

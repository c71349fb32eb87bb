#include "app/SystemRules.h"

#include "settings/Settings.h"

namespace lumora {

int TimeZoneBiasMinutes(int bias, int standardBias, int daylightBias, TimeZoneState state) {
    switch (state) {
    case TimeZoneState::Daylight:
        return bias + daylightBias;
    case TimeZoneState::Standard:
        return bias + standardBias;
    case TimeZoneState::Unknown:
        break;
    }
    return bias;
}

bool AutoSizedFaceFollows(int digitType, int digitFontSize, ScreenSize stored, ScreenSize reported) {
    return digitType == DigitTypeFont && digitFontSize == 0 && reported.Width != stored.Width &&
           reported.Height != stored.Height;
}

} // namespace lumora

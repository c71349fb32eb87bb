#pragma once
// Sizes laid out in pixels for 96 DPI (100 %) taken to the DPI of a monitor: 150 % is 144 DPI,
// 200 % is 192. Rounded to the nearest pixel, halves away from zero, as the system's MulDiv does,
// so that a size scaled here meets the same size scaled by the system.

#include <optional>

namespace lumora {

constexpr int BaseDpi = 96;

// The DPI as reported, or 96 where the system reported none (0 or less).
int UsableDpi(int dpi);
// pixels (at 96 DPI) at dpi.
int ScaleToDpi(int pixels, int dpi);
// pixels measured at DPI from, taken to DPI to.
int ScaleBetweenDpi(int pixels, int to, int from);

// A window the system made at one DPI (from its template's units) that has to stand at another:
// the scaling it still needs, none when the system made it at that DPI already.
struct DpiStep {
    int From = BaseDpi;
    int To = BaseDpi;

    bool operator==(const DpiStep&) const = default;
};
std::optional<DpiStep> StepToDpi(int madeAt, int wanted);

} // namespace lumora

#include "shell/DpiScale.h"

#include <cstdint>

namespace lumora {

int UsableDpi(int dpi) {
    return dpi > 0 ? dpi : BaseDpi;
}

int ScaleToDpi(int pixels, int dpi) {
    return ScaleBetweenDpi(pixels, UsableDpi(dpi), BaseDpi);
}

int ScaleBetweenDpi(int pixels, int to, int from) {
    to = UsableDpi(to);
    from = UsableDpi(from);
    const int64_t product = int64_t{pixels} * to;
    const int64_t magnitude = (product < 0 ? -product : product) + from / 2;
    const int64_t rounded = magnitude / from;
    return static_cast<int>(product < 0 ? -rounded : rounded);
}

std::optional<DpiStep> StepToDpi(int madeAt, int wanted) {
    madeAt = UsableDpi(madeAt);
    wanted = UsableDpi(wanted);
    if (madeAt == wanted) {
        return std::nullopt;
    }
    return DpiStep{madeAt, wanted};
}

} // namespace lumora

#include "shell/ScreenGeometry.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ScreenGeometry, ClampIntoWorkArea) {
    struct Row {
        const char* what;
        ScreenRect window;
        ScreenRect workArea;
        ScreenPoint expected;
    };
    constexpr ScreenRect Bottom{0, 0, 1280, 760}; // taskbar at the bottom
    constexpr ScreenRect Top{0, 40, 1280, 800};   // taskbar at the top
    constexpr ScreenRect Left{60, 0, 1280, 800};  // taskbar on the left
    const Row rows[] = {
        {"inside stays", {100, 100, 500, 400}, Bottom, {100, 100}},
        {"past the bottom comes up", {100, 600, 500, 900}, Bottom, {100, 460}},
        {"past the right comes left", {1000, 100, 1400, 400}, Bottom, {880, 100}},
        {"under a top taskbar comes down", {100, 10, 500, 310}, Top, {100, 40}},
        {"bottom edge of a top-taskbar work area", {100, 600, 500, 900}, Top, {100, 500}},
        {"under a left taskbar comes right", {20, 100, 420, 400}, Left, {60, 100}},
        {"right edge of a left-taskbar work area", {1000, 100, 1400, 400}, Left, {880, 100}},
        {"larger than the work area: top-left corner", {-50, -50, 1450, 950}, Top, {0, 40}},
        {"on a second monitor to the left", {-900, 200, -500, 500}, Bottom, {0, 200}},
        {"on a second monitor above", {200, -700, 600, -400}, Top, {200, 40}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ClampIntoWorkArea(r.window, r.workArea), r.expected) << r.what;
    }
}

} // namespace
} // namespace lumora

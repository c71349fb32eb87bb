#pragma once
// The digit transitions: per character cell the outgoing character and how far the change has
// come, what to draw for it in a pass, and how far it moves on for the next pass.

#include "clock/FaceComposer.h"
#include "settings/Settings.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace lumora {

// Progress value of a cell whose transition is over.
constexpr int32_t ProgressDone = INT32_MAX;

constexpr int AnimationNone = 0;
constexpr int AnimationHorizontalRotation = 1;
constexpr int AnimationVerticalRotation = 2;
constexpr int AnimationRise = 3;
constexpr int AnimationSink = 4;
constexpr int AnimationPushUp = 5;
constexpr int AnimationPushDown = 6;
constexpr int AnimationCrossFade = 7;
constexpr int AnimationCutFade = 8;

// Types the face knows; any other value draws like no transition at all.
constexpr bool IsAnimated(int type) {
    return type >= AnimationHorizontalRotation && type <= AnimationCutFade;
}

// Types 1, 7 and 8 run along the cell's width, the others along its height.
constexpr bool AnimatesAlongX(int type) {
    return type == AnimationHorizontalRotation || type == AnimationCrossFade || type == AnimationCutFade;
}

struct CellProgress {
    int32_t X = ProgressDone;
    int32_t Y = ProgressDone;

    bool operator==(const CellProgress&) const = default;
};

// One stretch of a glyph into the image: source is within the glyph's cell.
struct CellDrawOp {
    int Glyph = -1;
    Rect Destination;
    Rect Source;
    int Alpha = 255;

    bool operator==(const CellDrawOp&) const = default;
};

// What to draw for a cell at cell (its place from CellRect; width and height are the glyph's)
// with progress p in the type's axis. Outgoing first, then incoming; characters without a glyph
// and empty stretches are left out.
std::vector<CellDrawOp> CellDrawOps(int type, wchar_t outgoing, wchar_t incoming, int32_t p, const Rect& cell);

// Where the progress of a type stops: W for the horizontal and H for the vertical rotation, 0
// for the rest.
int32_t ProgressEnd(int type, int cellWidth, int cellHeight);

// Progress added per pass, and for step 1 the passes waited between single steps.
int32_t AnimationStep(int length, int speed);
int32_t AnimationWait(int type, int length, int speed);

class CellAnimation {
public:
    // Starts a pass over text: one cell per character, cells 1-based. Cells whose character
    // differs from previousText (all on a full redraw) start their transition.
    void Begin(std::wstring_view text, std::wstring_view previousText, bool fullRedraw,
               const AnimationSettings& animation, int cellWidth, int cellHeight);

    // Draw operations of cell k this pass, current its character in the text.
    std::vector<CellDrawOp> DrawOps(int k, wchar_t current, const Rect& cell, int type) const;

    // Moves cell k on after it was drawn. Returns true when the cell was still changing, so the
    // window needs an update.
    bool Step(int k, int type, int speed, int cellWidth, int cellHeight);

    // A hide can complete: some cell's transition has reached its hide point in the type's axis.
    bool ReachedHidePoint(int type) const;

    int CellCount() const { return static_cast<int>(progress_.size()) - 1; }
    wchar_t Outgoing(int k) const { return outgoing_[static_cast<size_t>(k)]; }
    CellProgress Progress(int k) const { return progress_[static_cast<size_t>(k)]; }
    int32_t Wait(int k) const { return wait_[static_cast<size_t>(k)]; }

private:
    // Index 0 unused, so cell k is element k.
    std::vector<wchar_t> outgoing_ = {0};
    std::vector<CellProgress> progress_ = {CellProgress{}};
    std::vector<int32_t> wait_ = {0};
};

} // namespace lumora

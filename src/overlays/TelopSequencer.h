#pragma once
// The caption's timeline: the title (flashing or not), the message lines (shown whole or typed
// out one character at a time), the closing line, all twice with a pause between, then the end.
// The shell's timer calls AdvanceTo with the current time and shows the frame.

#include "settings/Settings.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace lumora {

// The shortest interval a window timer runs at; a speed of 0 or less from the file runs at it.
constexpr int32_t ShortestTelopInterval = 10;

// What the caption window shows.
struct TelopFrame {
    bool Visible = false;
    bool Closed = false;
    size_t Line = 0;     // the line on the image
    bool Typing = false; // Line is typed out: only its first Typed characters are on the image
    size_t Typed = 0;

    bool operator==(const TelopFrame&) const = default;
};

class TelopSequencer {
public:
    // characterCounts: one per line as LayOutTelop gives them. No line closes at once.
    TelopSequencer(std::vector<size_t> characterCounts, const TelopSettings& settings, int64_t startMs);

    // Runs every tick that is due by nowMs.
    void AdvanceTo(int64_t nowMs);

    const TelopFrame& Frame() const { return frame_; }
    // How many times a tick has put the caption on top of the screen: at every flash step that
    // shows it and at every new line, also when it shows already, so a window that came over it
    // meanwhile goes under again.
    uint64_t Shows() const { return shows_; }
    // When the next tick is due; never once closed.
    int64_t NextTickAt() const { return frame_.Closed ? std::numeric_limits<int64_t>::max() : tickAt_; }

private:
    void TelopTick();
    void StartTelop();
    void RenderTelop();
    void Restart(int32_t interval);
    void Close();
    void Show();
    bool TypedLine() const;

    std::vector<size_t> counts_;
    bool flash_ = false;
    bool scroll_ = false;
    int64_t flashSteps_ = 0;
    int32_t flashSpeed_ = 0;
    int32_t changeSpeed_ = 0;
    int32_t scrollSpeed_ = 0;

    int64_t step_ = 0; // title ticks, then one per line or character; -2 and -1 on the closing line when typing
    int pass_ = 0;
    size_t lineIndex_ = 0;
    size_t charIndex_ = 0;
    int32_t interval_ = 0;
    int64_t tickAt_ = 0;
    TelopFrame frame_;
    uint64_t shows_ = 0;
};

} // namespace lumora

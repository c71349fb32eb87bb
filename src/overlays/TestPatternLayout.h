#pragma once
// The test pattern: colour bars that fill a monitor exactly, nine columns in the manner of
// high-definition bars on screens at least 1.7 times as wide as high, seven in the manner of
// standard-definition bars on the others; and the captions of a test transmission, their texts,
// sizes and places.

#include "clock/PixelBuffer.h"
#include "settings/Settings.h"

#include <string>

namespace lumora {

bool WideTestPattern(int width, int height);

// Paints the bars over the whole image.
void DrawColourBars(PixelBuffer& image);

// The station's name (or "テレビ"), an empty line, and its call sign with "-DTV" or "-TV".
std::wstring StationBlock(const OmakeSettings& omake);
// "<channel>チャンネル", an empty line, and "親局: " with the parent station (or "本社").
std::wstring ChannelBlock(const OmakeSettings& omake);
// "試験電波発射中", and on a system with several monitors a second line naming this one (from 1).
std::wstring BannerText(int monitorCount, int monitorNumber);

// A caption's font cell height and the radius of its black rim.
struct CaptionLook {
    int FontHeight = 0;
    int Rim = 0;

    bool operator==(const CaptionLook&) const = default;
};
CaptionLook BannerLook(int clientHeight, int primaryDisplayHeight);
CaptionLook BlockLook(int clientHeight);

// Top-left corners of the captions; text is the measured block (width, height).
struct CaptionPlace {
    int X = 0;
    int Y = 0;

    bool operator==(const CaptionPlace&) const = default;
};
// The banner spans the window between the rims, centred line by line; only its top is computed.
int BannerTop(int clientHeight, int textHeight, int rim);
CaptionPlace StationBlockPlace(int clientWidth, int clientHeight, int textHeight);
CaptionPlace ChannelBlockPlace(int clientWidth, int clientHeight, int textWidth, int textHeight);

} // namespace lumora

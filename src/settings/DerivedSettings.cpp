#include "settings/DerivedSettings.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace lumora {
namespace {

// Key colours are tried in this order: the first one no part of the face uses wins.
constexpr std::array<Colour, 8> KeyColourCandidates{0xFF00FF, 0x0000FF, 0xFFFF00, 0x00FFFF,
                                                    0x00FF00, 0xFF0000, 0x000000, 0xFFFFFF};

std::optional<Colour> FirstUnusedCandidate(std::initializer_list<Colour> used, const SystemColourTable& system) {
    for (Colour candidate : KeyColourCandidates) {
        const bool taken = std::any_of(used.begin(), used.end(),
                                       [&](Colour c) { return (ResolveColour(c, system) & 0xFFFFFF) == candidate; });
        if (!taken) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace

Colour ResolveColour(Colour colour, const SystemColourTable& system) {
    if (!IsSystemColour(colour)) {
        return colour;
    }
    const auto index = static_cast<size_t>(SystemColourIndex(colour));
    return index < system.size() ? system[index] : 0;
}

std::wstring BuildTimeFormat(const FormatSettings& f) {
    if (!f.Hour && !f.Minute && !f.Second) {
        return L"h:nn";
    }
    std::wstring pattern;
    if (f.Hour) {
        pattern += f.HourDouble ? L"hh" : L"h";
    }
    if (f.Minute) {
        pattern += f.Hour ? L":" : L"";
        pattern += f.MinuteDouble ? L"nn" : L"n";
    }
    if (f.Second) {
        pattern += f.Minute ? L";" : L"";
        pattern += f.SecondDouble ? L"ss" : L"s";
    }
    return pattern;
}

Colour ChooseClockKeyColour(const DesignSettings& d, const SystemColourTable& system) {
    const Colour fill = ResolveColour(d.Color, system);
    if (d.BackGroundType == BackGroundColour) {
        return fill;
    }
    return FirstUnusedCandidate({d.DigitColor, d.OuterFrameColor, d.InnerFrameColor, d.ShadowColor}, system)
        .value_or(fill);
}

Colour ChooseHoleColour(const DesignSettings& d, const SystemColourTable& system) {
    return FirstUnusedCandidate({d.DigitColor, d.OuterFrameColor, d.InnerFrameColor, d.ShadowColor, d.Color}, system)
        .value_or(KeyColourCandidates.front());
}

DerivedSettings DeriveSettings(const Settings& settings, const SystemColourTable& system) {
    return {BuildTimeFormat(settings.Format), ChooseClockKeyColour(settings.Design, system),
            ChooseHoleColour(settings.Design, system)};
}

} // namespace lumora

#include "options/DesignPages.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int32_t BoldBit = 1;
constexpr int32_t ItalicBit = 2;
constexpr int BackGroundCentred = 0;

FrameGroup LoadFrame(bool on, Colour colour, int32_t size, bool relative) {
    return {on, colour, NumberText(size), relative};
}

void ApplyFrame(FrameGroup& group, bool& on, Colour& colour, int32_t& size, bool& relative) {
    on = group.On;
    colour = group.Color;
    size = TakeNumber(group.Size, FramePage::SizeRange);
    relative = group.Relative;
}

} // namespace

DigitPage DigitPage::Load(const Settings& s, const FontChoices& fonts) {
    const auto& d = s.Design;
    DigitPage page;
    page.DigitType = d.DigitType;
    page.DigitStyle = d.DigitStyle;
    page.DigitSize = d.DigitSize;
    page.FontName = ListedFont(fonts.Families, d.DigitFontName, fonts.ListFont);
    page.FontSize = FontSizeText(d.DigitFontSize);
    page.Bold = (d.DigitFontStyle & BoldBit) != 0;
    page.Italic = (d.DigitFontStyle & ItalicBit) != 0;
    page.FullWidth = d.DigitFontFullWidth;
    page.DigitFile = d.DigitFile;
    page.Untouched = d.DigitUntouched;
    page.FontColour = d.DigitColor;
    page.Spacing = NumberText(d.DigitSpacing);
    page.SpacingRelative = d.DigitSpacingRelative;
    return page;
}

void DigitPage::Apply(Settings& s, bool fullWidthEnabled) {
    auto& d = s.Design;
    d.DigitType = DigitType;
    d.DigitStyle = DigitStyle;
    d.DigitSize = DigitSize;
    if (!FontName.empty()) {
        d.DigitFontName = FontName;
    }
    d.DigitFontSize = TakeFontSize(FontSize);
    d.DigitFontStyle = (Bold ? BoldBit : 0) | (Italic ? ItalicBit : 0);
    d.DigitFontFullWidth = fullWidthEnabled && FullWidth;
    d.DigitFile = DigitFile;
    d.DigitUntouched = Untouched;
    d.DigitColor = FontColour;
    d.DigitSpacing = TakeNumber(Spacing, SpacingRange);
    d.DigitSpacingRelative = SpacingRelative;
}

DigitPage::Rules DigitPage::Evaluate(std::optional<bool> fontHasShiftJis) const {
    Rules r;
    r.BuiltInShown = DigitType == DigitTypeBuiltIn;
    r.FontShown = DigitType == DigitTypeFont;
    r.FileShown = DigitType == DigitTypeFile;
    r.FullWidthEnabled = fontHasShiftJis.value_or(false);
    r.SpacingRelativeEnabled = ParseInteger(Spacing).value_or(0) != 0;
    r.FontColourEnabled = !(DigitType == DigitTypeFile && Untouched);
    return r;
}

FramePage FramePage::Load(const Settings& s) {
    const auto& d = s.Design;
    return {LoadFrame(d.OuterFrame, d.OuterFrameColor, d.OuterFrameSize, d.OuterFrameRelative),
            LoadFrame(d.InnerFrame, d.InnerFrameColor, d.InnerFrameSize, d.InnerFrameRelative),
            LoadFrame(d.Shadow, d.ShadowColor, d.ShadowSize, d.ShadowRelative)};
}

void FramePage::Apply(Settings& s) {
    auto& d = s.Design;
    ApplyFrame(Outer, d.OuterFrame, d.OuterFrameColor, d.OuterFrameSize, d.OuterFrameRelative);
    ApplyFrame(Inner, d.InnerFrame, d.InnerFrameColor, d.InnerFrameSize, d.InnerFrameRelative);
    ApplyFrame(Shadow, d.Shadow, d.ShadowColor, d.ShadowSize, d.ShadowRelative);
}

FramePage::Rules FramePage::Evaluate(bool fontColourEnabled) const {
    Rules r;
    r.OuterCheckEnabled = fontColourEnabled;
    r.InnerCheckEnabled = fontColourEnabled && Outer.On;
    r.ShadowCheckEnabled = fontColourEnabled;
    r.OuterEnabled = r.OuterCheckEnabled && Outer.On;
    r.InnerEnabled = r.InnerCheckEnabled && Inner.On;
    r.ShadowEnabled = r.ShadowCheckEnabled && Shadow.On;
    return r;
}

BackgroundPage BackgroundPage::Load(const Settings& s) {
    const auto& d = s.Design;
    BackgroundPage page;
    page.Type = d.BackGroundType;
    page.Fill = d.Color;
    page.Gradation1 = d.GradationColor1;
    page.Gradation2 = d.GradationColor2;
    page.Direction = d.GradationStyle ? 1 : 0;
    page.File = d.BackGroundFile;
    page.Style = d.BackGroundStyle;
    // The slider keeps its position within its range.
    page.Opacity = 255 - std::clamp(d.BackGroundAlpha, 0, 255);
    for (size_t i = 0; i < page.Margins.size(); ++i) {
        page.Margins[i] = NumberText(d.DigitMargin[i]);
    }
    return page;
}

void BackgroundPage::Apply(Settings& s) {
    auto& d = s.Design;
    d.BackGroundType = Type;
    d.Color = Fill;
    d.GradationColor1 = Gradation1;
    d.GradationColor2 = Gradation2;
    d.GradationStyle = Direction == 1;
    d.BackGroundFile = File;
    d.BackGroundStyle = Style;
    d.BackGroundAlpha = 255 - Opacity;
    for (size_t i = 0; i < Margins.size(); ++i) {
        d.DigitMargin[i] = TakeNumber(Margins[i], MarginRange);
    }
}

BackgroundPage::Rules BackgroundPage::Evaluate(const DisplayFacts& display) const {
    Rules r;
    r.FillShown = Type == BackGroundColour || Type == BackGroundPicture;
    // A picture centred leaves a border that the fill colour paints; a tiled or stretched one
    // covers everything.
    r.FillEnabled = Type == BackGroundColour || (Type == BackGroundPicture && Style == BackGroundCentred);
    r.GradientShown = Type == BackGroundGradient;
    r.ImageShown = Type == BackGroundPicture;
    r.OpacityShown = Type != BackGroundTransparent;
    r.OpacityEnabled = display.BitsPerPixel >= 16 && display.LayeredWindowsAvailable;
    return r;
}

FormatPage FormatPage::Load(const Settings& s) {
    const auto& f = s.Format;
    return {s.Design.Alignment,
            HourChoice(f),
            f.Hour0,
            f.Hour24,
            PartChoice(f.Minute, f.MinuteDouble),
            PartChoice(f.Second, f.SecondDouble)};
}

void FormatPage::Apply(Settings& s) const {
    auto& f = s.Format;
    s.Design.Alignment = Alignment;
    ApplyHourChoice(Hour, f);
    f.Hour0 = Hour0;
    f.Hour24 = Hour24;
    ApplyPartChoice(Minute, f.Minute, f.MinuteDouble);
    ApplyPartChoice(Second, f.Second, f.SecondDouble);
}

FormatPage::Rules FormatPage::Evaluate() const {
    return {Hour == 1 || Hour == 2, Hour == 3 || Hour == 4};
}

} // namespace lumora

#include "options/DesignPages.h"

#include "options/PageBinding.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int32_t BoldBit = 1;
constexpr int32_t ItalicBit = 2;
constexpr int BackGroundCentred = 0;

// One outline or shadow group and its four settings.
template <class Io, class Flag, class Col, class Size>
void BindFrame(const Io& io, FrameGroup& group, Flag& on, Col& colour, Size& size, Flag& relative) {
    io.Same(group.On, on);
    io.Same(group.Color, colour);
    io.Number(group.Size, size, FramePage::SizeRange);
    io.Same(group.Relative, relative);
}

} // namespace

template <class Io, class S> void DigitPage::Bind(const Io& io, S& s) {
    auto& d = s.Design;
    io.Same(DigitType, d.DigitType);
    io.Same(DigitStyle, d.DigitStyle);
    io.Same(DigitSize, d.DigitSize);
    io.Convert(FontName, d.DigitFontName, AsIs, NamedOnly);
    io.Convert(FontSize, d.DigitFontSize, FontSizeText, TakeFontSize);
    // Bold and italic are bits of one setting; Apply writes both and clears the others.
    if constexpr (Io::Loading) {
        Bold = (d.DigitFontStyle & BoldBit) != 0;
        Italic = (d.DigitFontStyle & ItalicBit) != 0;
    } else {
        d.DigitFontStyle = (Bold ? BoldBit : 0) | (Italic ? ItalicBit : 0);
    }
    io.Same(FullWidth, d.DigitFontFullWidth);
    io.Same(DigitFile, d.DigitFile);
    io.Same(Untouched, d.DigitUntouched);
    io.Same(FontColour, d.DigitColor);
    io.Number(Spacing, d.DigitSpacing, SpacingRange);
    io.Same(SpacingRelative, d.DigitSpacingRelative);
}

template <class Io, class S> void FramePage::Bind(const Io& io, S& s) {
    auto& d = s.Design;
    BindFrame(io, Outer, d.OuterFrame, d.OuterFrameColor, d.OuterFrameSize, d.OuterFrameRelative);
    BindFrame(io, Inner, d.InnerFrame, d.InnerFrameColor, d.InnerFrameSize, d.InnerFrameRelative);
    BindFrame(io, Shadow, d.Shadow, d.ShadowColor, d.ShadowSize, d.ShadowRelative);
}

template <class Io, class S> void BackgroundPage::Bind(const Io& io, S& s) {
    auto& d = s.Design;
    io.Same(Type, d.BackGroundType);
    io.Same(Fill, d.Color);
    io.Same(Gradation1, d.GradationColor1);
    io.Same(Gradation2, d.GradationColor2);
    io.Convert(
        Direction, d.GradationStyle, [](bool vertical) { return vertical ? 1 : 0; },
        [](int direction) { return direction == 1; });
    io.Same(File, d.BackGroundFile);
    io.Same(Style, d.BackGroundStyle);
    // The slider shows opacity, the setting transparency; the slider keeps its position within its range.
    io.Convert(
        Opacity, d.BackGroundAlpha, [](int32_t alpha) { return 255 - std::clamp(alpha, 0, 255); },
        [](int opacity) { return 255 - opacity; });
    for (size_t i = 0; i < Margins.size(); ++i) {
        io.Number(Margins[i], d.DigitMargin[i], MarginRange);
    }
}

template <class Io, class S> void FormatPage::Bind(const Io& io, S& s) {
    auto& f = s.Format;
    io.Same(Alignment, s.Design.Alignment);
    // The hour, minute and second choices each stand for two or three settings.
    if constexpr (Io::Loading) {
        Hour = HourChoice(f);
        Minute = PartChoice(f.Minute, f.MinuteDouble);
        Second = PartChoice(f.Second, f.SecondDouble);
    } else {
        ApplyHourChoice(Hour, f);
        ApplyPartChoice(Minute, f.Minute, f.MinuteDouble);
        ApplyPartChoice(Second, f.Second, f.SecondDouble);
    }
    io.Same(Hour0, f.Hour0);
    io.Same(Hour24, f.Hour24);
}

DigitPage DigitPage::Load(const Settings& s, const FontChoices& fonts) {
    auto page = LoadedPage<DigitPage>(s);
    page.FontName = ListedFont(fonts.Families, page.FontName, fonts.ListFont);
    return page;
}

void DigitPage::Apply(Settings& s, bool fullWidthEnabled) {
    Bind(PageApply{}, s);
    // A greyed-out box stores off; it keeps its tick for a font that allows it again.
    if (!fullWidthEnabled) {
        s.Design.DigitFontFullWidth = false;
    }
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
    return LoadedPage<FramePage>(s);
}

void FramePage::Apply(Settings& s) {
    Bind(PageApply{}, s);
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
    return LoadedPage<BackgroundPage>(s);
}

void BackgroundPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
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
    return LoadedPage<FormatPage>(s);
}

void FormatPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
}

FormatPage::Rules FormatPage::Evaluate() const {
    return {Hour == 1 || Hour == 2, Hour == 3 || Hour == 4};
}

} // namespace lumora

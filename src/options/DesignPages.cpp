#include "options/DesignPages.h"

#include "options/PageBinding.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int32_t BoldBit = 1;
constexpr int32_t ItalicBit = 2;
constexpr int BackGroundCentred = 0;

template <class Io, class S> void BindDigit(const Io& io, DigitPage& page, S& s) {
    auto& d = s.Design;
    io.Same(page.DigitType, d.DigitType);
    io.Same(page.DigitStyle, d.DigitStyle);
    io.Same(page.DigitSize, d.DigitSize);
    io.Convert(page.FontName, d.DigitFontName, AsIs, NamedOnly);
    io.Convert(page.FontSize, d.DigitFontSize, FontSizeText, TakeFontSize);
    // Bold and italic are bits of one setting; Apply writes both and clears the others.
    if constexpr (Io::Loading) {
        page.Bold = (d.DigitFontStyle & BoldBit) != 0;
        page.Italic = (d.DigitFontStyle & ItalicBit) != 0;
    } else {
        d.DigitFontStyle = (page.Bold ? BoldBit : 0) | (page.Italic ? ItalicBit : 0);
    }
    io.Same(page.FullWidth, d.DigitFontFullWidth);
    io.Same(page.DigitFile, d.DigitFile);
    io.Same(page.Untouched, d.DigitUntouched);
    io.Same(page.FontColour, d.DigitColor);
    io.Number(page.Spacing, d.DigitSpacing, DigitPage::SpacingRange);
    io.Same(page.SpacingRelative, d.DigitSpacingRelative);
}

// One outline or shadow group and its four settings.
template <class Io, class Flag, class Col, class Size>
void BindFrame(const Io& io, FrameGroup& group, Flag& on, Col& colour, Size& size, Flag& relative) {
    io.Same(group.On, on);
    io.Same(group.Color, colour);
    io.Number(group.Size, size, FramePage::SizeRange);
    io.Same(group.Relative, relative);
}

template <class Io, class S> void BindFrames(const Io& io, FramePage& page, S& s) {
    auto& d = s.Design;
    BindFrame(io, page.Outer, d.OuterFrame, d.OuterFrameColor, d.OuterFrameSize, d.OuterFrameRelative);
    BindFrame(io, page.Inner, d.InnerFrame, d.InnerFrameColor, d.InnerFrameSize, d.InnerFrameRelative);
    BindFrame(io, page.Shadow, d.Shadow, d.ShadowColor, d.ShadowSize, d.ShadowRelative);
}

template <class Io, class S> void BindBackground(const Io& io, BackgroundPage& page, S& s) {
    auto& d = s.Design;
    io.Same(page.Type, d.BackGroundType);
    io.Same(page.Fill, d.Color);
    io.Same(page.Gradation1, d.GradationColor1);
    io.Same(page.Gradation2, d.GradationColor2);
    io.Convert(
        page.Direction, d.GradationStyle, [](bool vertical) { return vertical ? 1 : 0; },
        [](int direction) { return direction == 1; });
    io.Same(page.File, d.BackGroundFile);
    io.Same(page.Style, d.BackGroundStyle);
    // The slider shows opacity, the setting transparency; the slider keeps its position within its range.
    io.Convert(
        page.Opacity, d.BackGroundAlpha, [](int32_t alpha) { return 255 - std::clamp(alpha, 0, 255); },
        [](int opacity) { return 255 - opacity; });
    for (size_t i = 0; i < page.Margins.size(); ++i) {
        io.Number(page.Margins[i], d.DigitMargin[i], BackgroundPage::MarginRange);
    }
}

template <class Io, class S> void BindFormat(const Io& io, FormatPage& page, S& s) {
    auto& f = s.Format;
    io.Same(page.Alignment, s.Design.Alignment);
    // The hour, minute and second choices each stand for two or three settings.
    if constexpr (Io::Loading) {
        page.Hour = HourChoice(f);
        page.Minute = PartChoice(f.Minute, f.MinuteDouble);
        page.Second = PartChoice(f.Second, f.SecondDouble);
    } else {
        ApplyHourChoice(page.Hour, f);
        ApplyPartChoice(page.Minute, f.Minute, f.MinuteDouble);
        ApplyPartChoice(page.Second, f.Second, f.SecondDouble);
    }
    io.Same(page.Hour0, f.Hour0);
    io.Same(page.Hour24, f.Hour24);
}

} // namespace

DigitPage DigitPage::Load(const Settings& s, const FontChoices& fonts) {
    DigitPage page;
    BindDigit(PageLoad{}, page, s);
    page.FontName = ListedFont(fonts.Families, page.FontName, fonts.ListFont);
    return page;
}

void DigitPage::Apply(Settings& s, bool fullWidthEnabled) {
    BindDigit(PageApply{}, *this, s);
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
    FramePage page;
    BindFrames(PageLoad{}, page, s);
    return page;
}

void FramePage::Apply(Settings& s) {
    BindFrames(PageApply{}, *this, s);
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
    BackgroundPage page;
    BindBackground(PageLoad{}, page, s);
    return page;
}

void BackgroundPage::Apply(Settings& s) {
    BindBackground(PageApply{}, *this, s);
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
    FormatPage page;
    BindFormat(PageLoad{}, page, s);
    return page;
}

void FormatPage::Apply(Settings& s) {
    BindFormat(PageApply{}, *this, s);
}

FormatPage::Rules FormatPage::Evaluate() const {
    return {Hour == 1 || Hour == 2, Hour == 3 || Hour == 4};
}

} // namespace lumora

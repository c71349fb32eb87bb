#include "settings/SettingsChanges.h"

#include <initializer_list>

namespace lumora {
namespace {

template <class Section, class... Fields>
bool Differ(const Section& before, const Section& after, Fields Section::*... fields) {
    return ((before.*fields != after.*fields) || ...);
}

void Mark(bool changed, std::initializer_list<bool SettingsChanges::*> parts, SettingsChanges& changes) {
    if (changed) {
        for (auto part : parts) {
            changes.*part = true;
        }
    }
}

using C = SettingsChanges;
using D = DesignSettings;

void CompareDesign(const D& a, const D& b, SettingsChanges& c) {
    // The glyphs' shape: the cell size and the spacing are measured on it.
    Mark(Differ(a, b, &D::DigitType, &D::DigitStyle, &D::DigitSize, &D::DigitFontName, &D::DigitFontSize,
                &D::DigitFontStyle, &D::DigitFontFullWidth, &D::DigitFile, &D::DigitUntouched, &D::DigitSpacing,
                &D::DigitSpacingRelative, &D::InnerFrame, &D::OuterFrame, &D::InnerFrameSize, &D::OuterFrameSize,
                &D::InnerFrameRelative, &D::OuterFrameRelative, &D::Shadow, &D::ShadowSize, &D::ShadowRelative),
         {&C::GlyphStrip, &C::WindowSize}, c);
    // The face's colours choose the key colour, and the strip is laid out on the key colour.
    Mark(Differ(a, b, &D::DigitColor, &D::InnerFrameColor, &D::OuterFrameColor, &D::ShadowColor),
         {&C::GlyphStrip, &C::KeyColours}, c);
    Mark(Differ(a, b, &D::Color, &D::BackGroundType), {&C::GlyphStrip, &C::KeyColours, &C::Background}, c);
    Mark(Differ(a, b, &D::GradationColor1, &D::GradationColor2, &D::GradationStyle, &D::BackGroundStyle,
                &D::BackGroundFile, &D::BackGroundAlpha),
         {&C::Background}, c);
    // Trimming sizes the face by the text rather than by the cell count.
    Mark(Differ(a, b, &D::DigitMargin, &D::Alignment), {&C::WindowSize}, c);
}

void CompareView(const ViewSettings& a, const ViewSettings& b, SettingsChanges& c) {
    using V = ViewSettings;
    // The saved left and top only place the first showing; the window keeps its own position.
    Mark(a.Placement.ZOrder != b.Placement.ZOrder, {&C::Stacking}, c);
    Mark(Differ(a, b, &V::VisibleHours, &V::AutoHideTime, &V::AutoHideTiming, &V::VisibleChangeType), {&C::Visibility},
         c);
    Mark(Differ(a, b, &V::AlphaBlend), {&C::Opacity, &C::Menu}, c);
    Mark(Differ(a, b, &V::ToolTipStyle, &V::ToolTipFormat, &V::TaskTrayToolTipFormat), {&C::ToolTips}, c);
    Mark(Differ(a, b, &V::TaskTrayIcon), {&C::TrayIcon}, c);
    Mark(Differ(a, b, &V::HideTaskTrayClock), {&C::TaskbarClock}, c);
    Mark(Differ(a, b, &V::ShowMenuIcon, &V::UseModernMenu), {&C::Menu}, c);
    Mark(Differ(a, b, &V::CalendarFontName), {&C::Calendar}, c);
}

void CompareOperation(const OperationSettings& a, const OperationSettings& b, SettingsChanges& c) {
    using O = OperationSettings;
    Mark(Differ(a, b, &O::OnMouseHideType), {&C::Visibility, &C::ClickThrough}, c);
    Mark(Differ(a, b, &O::OnMouseHideThreshold, &O::OnMouseHoleSize, &O::OnMouseAbortKey, &O::VisibleChangeKey),
         {&C::Visibility}, c);
    // Held as the check mark of the fixed-position command.
    Mark(Differ(a, b, &O::Fixed), {&C::Menu}, c);
}

void CompareAdjustClock(const AdjustClockSettings& a, const AdjustClockSettings& b, SettingsChanges& c) {
    using A = AdjustClockSettings;
    // The method and its source also decide which adjustment commands the menu shows.
    Mark(Differ(a, b, &A::AdjustType, &A::CurrentNTPServer, &A::CurrentHTTPServer, &A::CurrentJJYPort),
         {&C::AdjustSchedule, &C::Menu}, c);
    Mark(Differ(a, b, &A::AutoAdjust, &A::BootAdjust, &A::AutoAdjustInterval), {&C::AdjustSchedule}, c);
}

void CompareOverlays(const Settings& a, const Settings& b, SettingsChanges& c) {
    using O = OmakeSettings;
    const O& x = a.Omake;
    const O& y = b.Omake;
    // The caption font is the overlays' font too; the caption itself copies its settings when it opens.
    const bool font = a.Telop.FontName != b.Telop.FontName;
    Mark(font || Differ(x, y, &O::StationName, &O::CallSign, &O::DigitalMaster), {&C::CallSigns, &C::TestPattern}, c);
    Mark(Differ(x, y, &O::CallSignWindow, &O::CallSignAlignment, &O::TestingWave), {&C::CallSigns}, c);
    Mark(Differ(x, y, &O::Channel, &O::ParentBureauName), {&C::TestPattern}, c);
    Mark(Differ(x, y, &O::LogoWindow, &O::LogoAlignment, &O::LogoFile), {&C::Logos}, c);
    Mark(Differ(x, y, &O::ShowTestPattern), {&C::Menu}, c);
    // OmakeWindow only counts at the clock's first showing, LogoRelative nowhere.
}

} // namespace

SettingsChanges CompareSettings(const Settings& a, const Settings& b) {
    SettingsChanges c;
    CompareDesign(a.Design, b.Design, c);
    CompareView(a.View, b.View, c);
    CompareOperation(a.Operation, b.Operation, c);
    CompareAdjustClock(a.AdjustClock, b.AdjustClock, c);
    CompareOverlays(a, b, c);

    using F = FormatSettings;
    // Hour12, Hour0 and Hour24 correct the text on every pass.
    Mark(Differ(a.Format, b.Format, &F::Hour, &F::Minute, &F::Second), {&C::TimeFormat, &C::WindowSize}, c);
    Mark(Differ(a.Format, b.Format, &F::HourDouble, &F::MinuteDouble, &F::SecondDouble), {&C::TimeFormat}, c);

    // The displayed time follows the world clock on every pass; the calendar and the menu's check
    // mark show it too.
    using W = WorldClockSettings;
    Mark(Differ(a.WorldClock, b.WorldClock, &W::WorldClockMode, &W::TimeDiffTime, &W::WorldClockTime),
         {&C::Calendar, &C::Menu}, c);

    // The other Boot keys only count at the next start.
    Mark(a.Boot.Priority != b.Boot.Priority, {&C::Priority}, c);
    return c;
}

} // namespace lumora

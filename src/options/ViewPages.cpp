#include "options/ViewPages.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr NumberRange AutoHideTimeRange{1, 60};
constexpr NumberRange AutoHideTimingRange{-600000, 600000};
constexpr NumberRange AnimationTimingRange{-1000, 1000};
constexpr NumberRange ToolTipTimeRange{0, 30000};
constexpr NumberRange FlashCountRange{1, 10};
constexpr int AllEffects = 9;
constexpr int EffectsWithoutFades = 7;

void FillEmptyFormat(std::wstring& format, const SystemDefaults& system) {
    if (format.empty()) {
        format = DefaultToolTipFormat(system);
    }
}

} // namespace

VisibleTimePage VisibleTimePage::Load(const Settings& s) {
    return {NumberText(s.View.AutoHideTime), NumberText(s.View.AutoHideTiming)};
}

void VisibleTimePage::Apply(Settings& s) {
    s.View.AutoHideTime = TakeNumber(AutoHideTime, AutoHideTimeRange);
    s.View.AutoHideTiming = TakeNumber(AutoHideTiming, AutoHideTimingRange);
}

int EffectsPage::EffectEntryCount(const DisplayFacts& display) {
    return display.LayeredWindowsAvailable && display.BitsPerPixel >= 16 ? AllEffects : EffectsWithoutFades;
}

EffectsPage EffectsPage::Load(const Settings& s, const DisplayFacts& display) {
    const auto& a = s.Animation;
    EffectsPage page;
    page.Effect = a.Type >= 0 && a.Type < EffectEntryCount(display) ? a.Type : -1;
    page.Speed = std::clamp(a.Speed, 0, 120);
    page.Timing = NumberText(a.Timing);
    page.FlashColon = a.FlashColonType;
    page.ReverseFlash = a.ReverseFlash;
    return page;
}

void EffectsPage::Apply(Settings& s) {
    auto& a = s.Animation;
    // An effect the box does not offer stays as stored.
    if (Effect >= 0) {
        a.Type = Effect;
    }
    a.Speed = Speed;
    a.Timing = TakeNumber(Timing, AnimationTimingRange);
    a.FlashColonType = FlashColon;
    a.ReverseFlash = ReverseFlash;
}

EffectsPage::Rules EffectsPage::Evaluate() const {
    return {Effect != 0, FlashColon != 0};
}

const std::array<std::wstring_view, 14> ToolTipDatePatterns{
    L"yyyy/mm/dd",
    L"yy/mm/dd",
    L"yy/m/d",
    L"yyyy/m/d",
    L"yy/mm/dd' ('ddd')'",
    L"yy/m/d' ('ddd')'",
    L"yyyy/mm/dd' ('ddd')'",
    L"yyyy-mm-dd",
    L"yyyy'年'm'月'd'日'",
    L"yyyy'年'mm'月'dd'日'",
    L"yyyy'年'm'月'd'日 ('ddd')'",
    L"yyyy'年'mm'月'dd'日 ('ddd')'",
    L"yyyy'年'm'月'd'日' dddd",
    L"yyyy'年'mm'月'dd'日' dddd",
};

ToolTipPage ToolTipPage::Load(const Settings& s) {
    return {s.View.ToolTipStyle, NumberText(s.View.ToolTipTime), s.View.ToolTipFormat};
}

void ToolTipPage::Apply(Settings& s, const SystemDefaults& system) {
    s.View.ToolTipStyle = Style;
    s.View.ToolTipTime = TakeNumber(Time, ToolTipTimeRange);
    FillEmptyFormat(Format, system);
    s.View.ToolTipFormat = Format;
}

ToolTipPage::Rules ToolTipPage::Evaluate() const {
    return {Style != 0};
}

TrayPage TrayPage::Load(const Settings& s, const FontChoices& fonts) {
    const auto& v = s.View;
    return {v.TaskTrayIcon, v.TaskTrayToolTipFormat, v.HideTaskTrayClock, v.ShowCalendar,
            ListedFont(fonts.Families, v.CalendarFontName, fonts.ListFont)};
}

void TrayPage::Apply(Settings& s, const SystemDefaults& system) {
    auto& v = s.View;
    v.TaskTrayIcon = ShowIcon;
    FillEmptyFormat(Format, system);
    v.TaskTrayToolTipFormat = Format;
    v.HideTaskTrayClock = HideTaskbarClock;
    v.ShowCalendar = ShowCalendar;
    if (!CalendarFont.empty()) {
        v.CalendarFontName = CalendarFont;
    }
}

TrayPage::Rules TrayPage::Evaluate() const {
    return {ShowIcon, ShowIcon, ShowIcon && ShowCalendar};
}

WindowsPage WindowsPage::Load(const Settings& s) {
    return {s.IgnoreWindows};
}

void WindowsPage::Apply(Settings& s) const {
    s.IgnoreWindows = Windows;
}

TelopPage TelopPage::Load(const Settings& s, const FontChoices& fonts) {
    const auto& t = s.Telop;
    TelopPage page;
    page.FontName = ListedFont(fonts.Families, t.FontName, fonts.ListFont);
    page.Title = t.Title;
    // The sliders keep their positions within their ranges.
    page.ChangeSpeed = std::clamp(t.ChangeSpeed, 500, 10000);
    page.Scroll = t.Scroll;
    page.ScrollSpeed = std::clamp(t.ScrollSpeed - 1, 0, 250);
    page.Flash = t.Flash;
    page.FlashCount = NumberText(t.FlashCount);
    page.FlashSpeed = std::clamp(t.FlashSpeed, 100, 1000);
    page.Sound = t.Sound;
    page.SoundFile = t.SoundFile;
    return page;
}

void TelopPage::Apply(Settings& s) {
    auto& t = s.Telop;
    if (!FontName.empty()) {
        t.FontName = FontName;
    }
    t.Title = Title;
    t.ChangeSpeed = ChangeSpeed;
    t.Scroll = Scroll;
    t.ScrollSpeed = ScrollSpeed + 1;
    t.Flash = Flash;
    t.FlashCount = TakeNumber(FlashCount, FlashCountRange);
    t.FlashSpeed = FlashSpeed;
    t.Sound = Sound;
    t.SoundFile = SoundFile;
}

TelopPage::Rules TelopPage::Evaluate() const {
    return {Scroll, Flash, Sound, Sound && !SoundFile.empty()};
}

MenuPage MenuPage::Load(const Settings& s) {
    return {s.View.ShowMenuIcon, s.View.UseModernMenu};
}

void MenuPage::Apply(Settings& s) const {
    s.View.ShowMenuIcon = MenuIcon;
    s.View.UseModernMenu = ModernMenu;
}

MenuPage::Rules MenuPage::Evaluate() const {
    return {MenuIcon};
}

} // namespace lumora

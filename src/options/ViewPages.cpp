#include "options/ViewPages.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int AllEffects = 9;
constexpr int EffectsWithoutFades = 7;

void FillEmptyFormat(std::wstring& format, const SystemDefaults& system) {
    if (format.empty()) {
        format = DefaultToolTipFormat(system);
    }
}

} // namespace

VisibleTimePage VisibleTimePage::Load(const Settings& s) {
    return {NumberText(s.View.AutoHideTime), NumberText(s.View.AutoHideTiming), VisibleHoursEditor::Load(s)};
}

void VisibleTimePage::Apply(Settings& s) {
    s.View.AutoHideTime = TakeNumber(AutoHideTime, TimeRange);
    s.View.AutoHideTiming = TakeNumber(AutoHideTiming, TimingRange);
    Hours.Apply(s);
}

VisibleTimePage::Rules VisibleTimePage::Evaluate() const {
    return {Hours.TemporaryShowingUsed()};
}

int EffectsPage::EffectEntryCount(const DisplayFacts& display) {
    return display.LayeredWindowsAvailable && display.BitsPerPixel >= 16 ? AllEffects : EffectsWithoutFades;
}

EffectsPage EffectsPage::Load(const Settings& s, const DisplayFacts& display) {
    const auto& a = s.Animation;
    EffectsPage page;
    page.Effect = a.Type >= 0 && a.Type < EffectEntryCount(display) ? a.Type : -1;
    page.Speed = std::clamp(a.Speed, 0, MaxSpeed);
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
    a.Timing = TakeNumber(Timing, TimingRange);
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
    s.View.ToolTipTime = TakeNumber(Time, TimeRange);
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

TrayPage::Rules TrayPage::Evaluate(const Facts& facts) const {
    return {ShowIcon, ShowIcon, ShowIcon && ShowCalendar, facts.TaskbarClockFound};
}

WindowsPage WindowsPage::Load(const Settings& s) {
    return {s.IgnoreWindows};
}

int WindowsPage::RemoveRows(std::vector<int> rows) {
    const int count = static_cast<int>(Windows.size());
    std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
    if (rows.empty()) {
        return -1;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        Windows.erase(Windows.begin() + *row);
    }
    const int lastRow = static_cast<int>(Windows.size()) - 1;
    return std::max(std::min(rows.front() - 1, lastRow), -1);
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
    page.ChangeSpeed = std::clamp(t.ChangeSpeed, ChangeSpeedRange.Min, ChangeSpeedRange.Max);
    page.Scroll = t.Scroll;
    page.ScrollSpeed = std::clamp(t.ScrollSpeed - 1, ScrollSpeedRange.Min, ScrollSpeedRange.Max);
    page.Flash = t.Flash;
    page.FlashCount = NumberText(t.FlashCount);
    page.FlashSpeed = std::clamp(t.FlashSpeed, FlashSpeedRange.Min, FlashSpeedRange.Max);
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

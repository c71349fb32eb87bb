#include "options/ViewPages.h"

#include "options/PageBinding.h"

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

void ShowListedFont(std::wstring& name, const FontChoices& fonts) {
    name = ListedFont(fonts.Families, name, fonts.ListFont);
}

} // namespace

template <class Io, class S> void VisibleTimePage::Bind(const Io& io, S& s) {
    io.Number(AutoHideTime, s.View.AutoHideTime, TimeRange);
    io.Number(AutoHideTiming, s.View.AutoHideTiming, TimingRange);
    io.Nested(Hours, s);
}

template <class Io, class S> void EffectsPage::Bind(const Io& io, S& s) {
    auto& a = s.Animation;
    io.Convert(Effect, a.Type, AsIs, ChosenOnly);
    io.Convert(Speed, a.Speed, KeptWithin({0, MaxSpeed}), AsIs);
    io.Number(Timing, a.Timing, TimingRange);
    io.Same(FlashColon, a.FlashColonType);
    io.Same(ReverseFlash, a.ReverseFlash);
}

template <class Io, class S> void ToolTipPage::Bind(const Io& io, S& s) {
    io.Same(Style, s.View.ToolTipStyle);
    io.Number(Time, s.View.ToolTipTime, TimeRange);
    io.Same(Format, s.View.ToolTipFormat);
}

template <class Io, class S> void TrayPage::Bind(const Io& io, S& s) {
    auto& v = s.View;
    io.Same(ShowIcon, v.TaskTrayIcon);
    io.Same(Format, v.TaskTrayToolTipFormat);
    io.Same(HideTaskbarClock, v.HideTaskTrayClock);
    io.Same(ShowCalendar, v.ShowCalendar);
    io.Convert(CalendarFont, v.CalendarFontName, AsIs, NamedOnly);
}

template <class Io, class S> void WindowsPage::Bind(const Io& io, S& s) {
    io.Same(Windows, s.IgnoreWindows);
}

template <class Io, class S> void TelopPage::Bind(const Io& io, S& s) {
    auto& t = s.Telop;
    io.Convert(FontName, t.FontName, AsIs, NamedOnly);
    io.Same(Title, t.Title);
    io.Convert(ChangeSpeed, t.ChangeSpeed, KeptWithin(ChangeSpeedRange), AsIs);
    io.Same(Scroll, t.Scroll);
    // The slider counts from 0, the setting from 1.
    io.Convert(
        ScrollSpeed, t.ScrollSpeed, [](int32_t speed) { return KeptWithin(ScrollSpeedRange)(speed - 1); },
        [](int position) { return position + 1; });
    io.Same(Flash, t.Flash);
    io.Number(FlashCount, t.FlashCount, FlashCountRange);
    io.Convert(FlashSpeed, t.FlashSpeed, KeptWithin(FlashSpeedRange), AsIs);
    io.Same(Sound, t.Sound);
    io.Same(SoundFile, t.SoundFile);
}

template <class Io, class S> void MenuPage::Bind(const Io& io, S& s) {
    io.Same(MenuIcon, s.View.ShowMenuIcon);
    io.Same(ModernMenu, s.View.UseModernMenu);
}

VisibleTimePage VisibleTimePage::Load(const Settings& s) {
    return LoadedPage<VisibleTimePage>(s);
}

void VisibleTimePage::Apply(Settings& s) {
    Bind(PageApply{}, s);
}

VisibleTimePage::Rules VisibleTimePage::Evaluate() const {
    return {Hours.TemporaryShowingUsed()};
}

int EffectsPage::EffectEntryCount(const DisplayFacts& display) {
    return display.LayeredWindowsAvailable && display.BitsPerPixel >= 16 ? AllEffects : EffectsWithoutFades;
}

EffectsPage EffectsPage::Load(const Settings& s, const DisplayFacts& display) {
    auto page = LoadedPage<EffectsPage>(s);
    // An effect the box does not offer selects no entry, and Apply keeps it as stored.
    if (page.Effect < 0 || page.Effect >= EffectEntryCount(display)) {
        page.Effect = -1;
    }
    return page;
}

void EffectsPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
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
    return LoadedPage<ToolTipPage>(s);
}

void ToolTipPage::Apply(Settings& s, const SystemDefaults& system) {
    FillEmptyFormat(Format, system);
    Bind(PageApply{}, s);
}

ToolTipPage::Rules ToolTipPage::Evaluate() const {
    return {Style != 0};
}

TrayPage TrayPage::Load(const Settings& s, const FontChoices& fonts) {
    auto page = LoadedPage<TrayPage>(s);
    ShowListedFont(page.CalendarFont, fonts);
    return page;
}

void TrayPage::Apply(Settings& s, const SystemDefaults& system) {
    FillEmptyFormat(Format, system);
    Bind(PageApply{}, s);
}

TrayPage::Rules TrayPage::Evaluate(const Facts& facts) const {
    return {ShowIcon, ShowIcon, ShowIcon && ShowCalendar, facts.TaskbarClockFound};
}

WindowsPage WindowsPage::Load(const Settings& s) {
    return LoadedPage<WindowsPage>(s);
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

void WindowsPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
}

TelopPage TelopPage::Load(const Settings& s, const FontChoices& fonts) {
    auto page = LoadedPage<TelopPage>(s);
    ShowListedFont(page.FontName, fonts);
    return page;
}

void TelopPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
}

TelopPage::Rules TelopPage::Evaluate() const {
    return {Scroll, Flash, Sound, Sound && !SoundFile.empty()};
}

MenuPage MenuPage::Load(const Settings& s) {
    return LoadedPage<MenuPage>(s);
}

void MenuPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
}

MenuPage::Rules MenuPage::Evaluate() const {
    return {MenuIcon};
}

} // namespace lumora

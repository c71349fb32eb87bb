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

template <class Io, class S> void BindVisibleTime(const Io& io, VisibleTimePage& page, S& s) {
    io.Number(page.AutoHideTime, s.View.AutoHideTime, VisibleTimePage::TimeRange);
    io.Number(page.AutoHideTiming, s.View.AutoHideTiming, VisibleTimePage::TimingRange);
    io.Nested(page.Hours, s);
}

template <class Io, class S> void BindEffects(const Io& io, EffectsPage& page, S& s) {
    auto& a = s.Animation;
    io.Convert(page.Effect, a.Type, AsIs, ChosenOnly);
    io.Convert(page.Speed, a.Speed, KeptWithin({0, EffectsPage::MaxSpeed}), AsIs);
    io.Number(page.Timing, a.Timing, EffectsPage::TimingRange);
    io.Same(page.FlashColon, a.FlashColonType);
    io.Same(page.ReverseFlash, a.ReverseFlash);
}

template <class Io, class S> void BindToolTip(const Io& io, ToolTipPage& page, S& s) {
    io.Same(page.Style, s.View.ToolTipStyle);
    io.Number(page.Time, s.View.ToolTipTime, ToolTipPage::TimeRange);
    io.Same(page.Format, s.View.ToolTipFormat);
}

template <class Io, class S> void BindTray(const Io& io, TrayPage& page, S& s) {
    auto& v = s.View;
    io.Same(page.ShowIcon, v.TaskTrayIcon);
    io.Same(page.Format, v.TaskTrayToolTipFormat);
    io.Same(page.HideTaskbarClock, v.HideTaskTrayClock);
    io.Same(page.ShowCalendar, v.ShowCalendar);
    io.Convert(page.CalendarFont, v.CalendarFontName, AsIs, NamedOnly);
}

template <class Io, class S> void BindWindows(const Io& io, WindowsPage& page, S& s) {
    io.Same(page.Windows, s.IgnoreWindows);
}

template <class Io, class S> void BindTelop(const Io& io, TelopPage& page, S& s) {
    auto& t = s.Telop;
    io.Convert(page.FontName, t.FontName, AsIs, NamedOnly);
    io.Same(page.Title, t.Title);
    io.Convert(page.ChangeSpeed, t.ChangeSpeed, KeptWithin(TelopPage::ChangeSpeedRange), AsIs);
    io.Same(page.Scroll, t.Scroll);
    // The slider counts from 0, the setting from 1.
    io.Convert(
        page.ScrollSpeed, t.ScrollSpeed,
        [](int32_t speed) { return KeptWithin(TelopPage::ScrollSpeedRange)(speed - 1); },
        [](int position) { return position + 1; });
    io.Same(page.Flash, t.Flash);
    io.Number(page.FlashCount, t.FlashCount, TelopPage::FlashCountRange);
    io.Convert(page.FlashSpeed, t.FlashSpeed, KeptWithin(TelopPage::FlashSpeedRange), AsIs);
    io.Same(page.Sound, t.Sound);
    io.Same(page.SoundFile, t.SoundFile);
}

template <class Io, class S> void BindMenu(const Io& io, MenuPage& page, S& s) {
    io.Same(page.MenuIcon, s.View.ShowMenuIcon);
    io.Same(page.ModernMenu, s.View.UseModernMenu);
}

void ShowListedFont(std::wstring& name, const FontChoices& fonts) {
    name = ListedFont(fonts.Families, name, fonts.ListFont);
}

} // namespace

VisibleTimePage VisibleTimePage::Load(const Settings& s) {
    VisibleTimePage page;
    BindVisibleTime(PageLoad{}, page, s);
    return page;
}

void VisibleTimePage::Apply(Settings& s) {
    BindVisibleTime(PageApply{}, *this, s);
}

VisibleTimePage::Rules VisibleTimePage::Evaluate() const {
    return {Hours.TemporaryShowingUsed()};
}

int EffectsPage::EffectEntryCount(const DisplayFacts& display) {
    return display.LayeredWindowsAvailable && display.BitsPerPixel >= 16 ? AllEffects : EffectsWithoutFades;
}

EffectsPage EffectsPage::Load(const Settings& s, const DisplayFacts& display) {
    EffectsPage page;
    BindEffects(PageLoad{}, page, s);
    // An effect the box does not offer selects no entry, and Apply keeps it as stored.
    if (page.Effect < 0 || page.Effect >= EffectEntryCount(display)) {
        page.Effect = -1;
    }
    return page;
}

void EffectsPage::Apply(Settings& s) {
    BindEffects(PageApply{}, *this, s);
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
    ToolTipPage page;
    BindToolTip(PageLoad{}, page, s);
    return page;
}

void ToolTipPage::Apply(Settings& s, const SystemDefaults& system) {
    FillEmptyFormat(Format, system);
    BindToolTip(PageApply{}, *this, s);
}

ToolTipPage::Rules ToolTipPage::Evaluate() const {
    return {Style != 0};
}

TrayPage TrayPage::Load(const Settings& s, const FontChoices& fonts) {
    TrayPage page;
    BindTray(PageLoad{}, page, s);
    ShowListedFont(page.CalendarFont, fonts);
    return page;
}

void TrayPage::Apply(Settings& s, const SystemDefaults& system) {
    FillEmptyFormat(Format, system);
    BindTray(PageApply{}, *this, s);
}

TrayPage::Rules TrayPage::Evaluate(const Facts& facts) const {
    return {ShowIcon, ShowIcon, ShowIcon && ShowCalendar, facts.TaskbarClockFound};
}

WindowsPage WindowsPage::Load(const Settings& s) {
    WindowsPage page;
    BindWindows(PageLoad{}, page, s);
    return page;
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
    BindWindows(PageApply{}, *this, s);
}

TelopPage TelopPage::Load(const Settings& s, const FontChoices& fonts) {
    TelopPage page;
    BindTelop(PageLoad{}, page, s);
    ShowListedFont(page.FontName, fonts);
    return page;
}

void TelopPage::Apply(Settings& s) {
    BindTelop(PageApply{}, *this, s);
}

TelopPage::Rules TelopPage::Evaluate() const {
    return {Scroll, Flash, Sound, Sound && !SoundFile.empty()};
}

MenuPage MenuPage::Load(const Settings& s) {
    MenuPage page;
    BindMenu(PageLoad{}, page, s);
    return page;
}

void MenuPage::Apply(Settings& s) {
    BindMenu(PageApply{}, *this, s);
}

MenuPage::Rules MenuPage::Evaluate() const {
    return {MenuIcon};
}

} // namespace lumora

#include "app/ToolWindows.h"

#include "adjust/SystemClock.h"
#include "clock/TimeText.h"
#include "shell/Monitors.h"
#include "shell/ScreenGeometry.h"
#include "tools/AboutForm.h"
#include "tools/AlphaBlendForm.h"
#include "tools/CalendarForm.h"
#include "tools/CalendarModel.h"
#include "tools/SplashForm.h"
#include "tools/WorldClockForm.h"

#include <utility>

namespace lumora {
namespace {

// The notification area's window; with no taskbar (as under Wine) the bottom-right corner.
ScreenRect NotificationAreaRect(int screenWidth, int screenHeight) {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    HWND area = taskbar != nullptr ? FindWindowExW(taskbar, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
    RECT rect{};
    if (area == nullptr || !GetWindowRect(area, &rect)) {
        return {screenWidth, screenHeight, screenWidth, screenHeight};
    }
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

ToolWindows::ToolWindows(HWND master, const Settings& settings, const SystemFacts& facts, bool layeredWindows,
                         Announcer& announcer, Outlets outlets)
    : master_(master), settings_(settings), facts_(facts), layeredWindows_(layeredWindows),
      outlets_(std::move(outlets)),
      timer_(
          settings, windows_, announcer,
          {.CurrentSettings = [this] { return settings_.Timer; },
           .ChangeSettings =
               [this](const TimerSettings& timer) { ApplyChanged([&timer](Settings& next) { next.Timer = timer; }); },
           .DisplayedNow = [this] { return outlets_.DisplayedNow(); }}) {}

void ToolWindows::ApplyChanged(const std::function<void(Settings&)>& change) {
    Settings next = settings_;
    change(next);
    outlets_.ApplySettings(next);
}

void ToolWindows::ShowSplashes(std::function<bool()> startupFinished) {
    const bool fade = TSplashForm::FadeEnabled();
    for (const MonitorArea& monitor : EnumerateMonitors()) {
        windows_.Adopt(WindowKind::Splash, TSplashForm::Create(monitor.Work, fade, startupFinished));
    }
}

bool ToolWindows::BringForward(WindowKind kind) {
    TKZForm* open = windows_.Find(kind);
    if (open != nullptr) {
        SetForegroundWindow(open->Handle());
    }
    return open != nullptr;
}

// The world clock's changes reach the clock at once; the menu's check marks are read from the
// settings when the menu opens; an open calendar follows the clock's date.
void ToolWindows::OpenWorldClock() {
    if (BringForward(WindowKind::WorldClock)) {
        return;
    }
    WorldClockContext context;
    context.Settings = settings_.WorldClock;
    context.Apply = [this](const WorldClockSettings& worldClock) {
        ApplyChanged([&worldClock](Settings& next) { next.WorldClock = worldClock; });
        RefreshCalendar();
    };
    context.TimeZoneBias = [this] { return facts_.TimeZoneBias; };
    context.Locale = facts_.Locale;
    context.Help = &help_;
    windows_.Adopt(WindowKind::WorldClock, TWorldClockForm::Create(master_, std::move(context)));
}

void ToolWindows::OpenAlphaBlend() {
    if (BringForward(WindowKind::AlphaBlend)) {
        return;
    }
    AlphaBlendContext context;
    context.Opacity = settings_.View.AlphaBlend;
    context.Apply = [this](int opacity) {
        ApplyChanged([opacity](Settings& next) { next.View.AlphaBlend = opacity; });
    };
    context.Layered = layeredWindows_;
    context.ColourDepth = facts_.ColourDepth;
    context.Help = &help_;
    windows_.Adopt(WindowKind::AlphaBlend, TAlphaBlendForm::Create(master_, std::move(context)));
}

void ToolWindows::OpenAbout() {
    if (BringForward(WindowKind::About)) {
        return;
    }
    // The link runs the web-site command: one browser start at a time, as from anywhere else.
    windows_.Adopt(WindowKind::About, TAboutForm::Create(
                                          master_, [this] { outlets_.RunCommand(CommandId::WebSite); }, &help_));
}

void ToolWindows::OpenTimer() {
    if (!BringForward(WindowKind::Timer)) {
        timer_.Open(master_);
    }
}

void ToolWindows::OpenOptions(OptionContext context) {
    context.Help = &help_;
    windows_.Adopt(WindowKind::Option, TOptionForm::Create(master_, std::move(context)));
}

HWND ToolWindows::OptionsWindow() const {
    const TKZForm* options = windows_.Find(WindowKind::Option);
    return options != nullptr ? options->Handle() : nullptr;
}

void ToolWindows::OpenCalendar() {
    if (windows_.IsOpen(WindowKind::Calendar)) {
        return;
    }
    CalendarFormContext context;
    context.Today = [this] { return CalendarToday(LocalNow(), settings_.WorldClock, facts_.TimeZoneBias); };
    context.Locale = [this] { return facts_.Locale; };
    context.FontName = [this] { return settings_.View.CalendarFontName; };
    context.ColourDepth = facts_.ColourDepth;
    context.Help = &help_;
    std::unique_ptr<TCalendarForm> form = TCalendarForm::Create(master_, std::move(context));
    RECT window{};
    RECT work{};
    if (!form || !GetWindowRect(form->Handle(), &window) || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        return; // a failure says nothing; the command stays usable
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const ScreenPoint corner = CalendarCorner({work.left, work.top, work.right, work.bottom}, screenWidth, screenHeight,
                                              NotificationAreaRect(screenWidth, screenHeight),
                                              window.right - window.left, window.bottom - window.top);
    if (auto* calendar = windows_.Adopt(WindowKind::Calendar, std::move(form))) {
        calendar->ShowAt({corner.X, corner.Y});
    }
}

void ToolWindows::RefreshCalendar() {
    if (auto* calendar = windows_.Find<TCalendarForm>(WindowKind::Calendar)) {
        calendar->Refresh(true, false);
    }
}

} // namespace lumora

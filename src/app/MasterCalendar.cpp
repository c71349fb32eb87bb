// The master's part in the calendar: the command (and the single click on the icon) opens it
// once, in the corner of the primary work area next to the notification area; a change of the
// time or of the settings refreshes an open one.

#include "app/MasterForm.h"

#include "adjust/SystemClock.h"
#include "shell/ScreenGeometry.h"
#include "tools/CalendarForm.h"

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

void TMasterForm::CalendarActionExecute() {
    if (windows_.Find(WindowKind::Calendar) != nullptr) {
        return;
    }
    CalendarFormContext context;
    context.Today = [this] { return CalendarToday(LocalNow(), settings_.WorldClock, facts_.TimeZoneBias); };
    context.Locale = [this] { return facts_.Locale; };
    context.FontName = [this] { return settings_.View.CalendarFontName; };
    context.ColourDepth = facts_.ColourDepth;
    context.Help = &help_;
    std::unique_ptr<TCalendarForm> form = TCalendarForm::Create(Handle(), std::move(context));
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
    auto* calendar = static_cast<TCalendarForm*>(windows_.Adopt(WindowKind::Calendar, std::move(form)));
    if (calendar != nullptr) {
        calendar->ShowAt({corner.X, corner.Y});
    }
}

void TMasterForm::RefreshCalendar() {
    if (auto* calendar = static_cast<TCalendarForm*>(windows_.Find(WindowKind::Calendar))) {
        calendar->Refresh(true, false);
    }
}

} // namespace lumora

#include "tools/CalendarModel.h"

#include "clock/DateTime.h"
#include "clock/TimeText.h"
#include "shell/DpiScale.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr wchar_t YearMonthPattern[] = L"yyyy\"年 \"m\"月\"";
constexpr Colour SaturdayColour = 0xFF0000; // RGB(0, 0, 255)
constexpr Colour SundayColour = 0x0000FF;   // RGB(255, 0, 0)

int MonthIndex(const YearMonth& m) {
    return m.Year * 12 + m.Month - 1;
}

YearMonth FromMonthIndex(int index) {
    return {index / 12, index % 12 + 1};
}

// 0 = Sunday ... 6 = Saturday.
int SundayFirstWeekday(const DateTimeParts& parts) {
    return (parts.DayOfWeek + 1) % 7;
}

double DayOf(double dateTime) {
    const DateTimeParts p = SplitDateTime(dateTime);
    return ComposeDateTime(p.Year, p.Month, p.Day, 0, 0, 0, 0);
}

} // namespace

double CalendarToday(double now, const WorldClockSettings& worldClock, int timeZoneBiasMinutes) {
    return DisplayedTime(now, worldClock, timeZoneBiasMinutes);
}

void CalendarModel::SetToday(double today, const LocaleFacts& locale) {
    today_ = today;
    const DateTimeParts parts = SplitDateTime(today);
    page_.YearMonthText = FormatDateTime(YearMonthPattern, today, locale);
    page_.DayText = FormatDateTime(L"d", today, locale);
    page_.WeekdayText = FormatDateTime(L"dddd", today, locale);
    // The same weekday came (day - 1) / 7 times before in this month.
    page_.OrdinalText = L"第" + std::to_wstring((parts.Day - 1) / 7 + 1);
    const int weekday = SundayFirstWeekday(parts);
    page_.WeekdayColour = weekday == 6   ? std::optional(SaturdayColour)
                          : weekday == 0 ? std::optional(SundayColour)
                                         : std::nullopt;
}

void CalendarModel::ShowTodaysMonth() {
    const DateTimeParts parts = SplitDateTime(today_);
    const int index = std::clamp(MonthIndex({parts.Year, parts.Month}), MonthIndex(FirstShowableMonth),
                                 MonthIndex(LastShowableMonth));
    shownMonth_ = FromMonthIndex(index);
}

bool CalendarModel::StepMonths(int months) {
    const int target = MonthIndex(shownMonth_) + months;
    if (target < MonthIndex(FirstShowableMonth) || target > MonthIndex(LastShowableMonth)) {
        return false;
    }
    shownMonth_ = FromMonthIndex(target);
    return true;
}

std::wstring CalendarModel::Title(const LocaleFacts& locale) const {
    return FormatDateTime(YearMonthPattern, ComposeDateTime(shownMonth_.Year, shownMonth_.Month, 1, 0, 0, 0, 0),
                          locale);
}

double CalendarModel::GridStart() const {
    const double first = ComposeDateTime(shownMonth_.Year, shownMonth_.Month, 1, 0, 0, 0, 0);
    const int weekday = SundayFirstWeekday(SplitDateTime(first));
    return first - (weekday == 0 ? 7 : weekday);
}

CalendarCell CalendarModel::Cell(int index) const {
    CalendarCell cell;
    cell.Date = GridStart() + index;
    const DateTimeParts parts = SplitDateTime(cell.Date);
    cell.Day = parts.Day;
    cell.InShownMonth = parts.Year == shownMonth_.Year && parts.Month == shownMonth_.Month;
    cell.IsToday = cell.Date == DayOf(today_);
    return cell;
}

int CalendarModel::TodayCell() const {
    const double offset = DayOf(today_) - GridStart();
    return offset >= 0 && offset < CalendarCellCount ? static_cast<int>(offset) : -1;
}

// The last row upwards, each row from the right: the first day above 13 ends the month, as the
// next month fills at most 13 cells.
int CalendarModel::LastDayCell() const {
    for (int row = CalendarWeeks - 1; row >= 0; --row) {
        for (int column = CalendarColumns - 1; column >= 0; --column) {
            const int index = row * CalendarColumns + column;
            if (Cell(index).Day > 13) {
                return index;
            }
        }
    }
    return 0;
}

// From the top, each row from the left: the first 1 starts the month, as the previous month's
// days before it are all above 1.
int CalendarModel::FirstDayCell() const {
    for (int index = 0; index < CalendarCellCount; ++index) {
        if (Cell(index).Day <= 1) {
            return index;
        }
    }
    return 0;
}

CalendarGridLayout LayOutCalendarGrid(int width, int height) {
    CalendarGridLayout layout;
    constexpr int Passes = 8;
    const int columnWidth = static_cast<int>(std::lround(std::max(width, 0) / double{CalendarColumns}));
    layout.ColumnWidths.fill(columnWidth);
    int sum = columnWidth * CalendarColumns;
    // Every second column takes one pixel toward the width, the even ones first.
    for (int pass = 0; pass < Passes && sum != width; ++pass) {
        for (int column = pass % 2; column < CalendarColumns && sum != width; column += 2) {
            const int step = width > sum ? 1 : -1;
            layout.ColumnWidths[column] += step;
            sum += step;
        }
    }
    const int rows = CalendarWeeks + 1;
    const int rowHeight = static_cast<int>(std::lround(std::max(height, 0) / double{rows}));
    layout.RowHeights.fill(rowHeight);
    // The header row takes up what the rounding left over.
    for (int pass = 0, total = rowHeight * rows; pass < Passes && total != height; ++pass) {
        const int step = height > total ? 1 : -1;
        layout.RowHeights[0] += step;
        total += step;
    }
    return layout;
}

CalendarFormLayout LayOutCalendarForm(int dpi) {
    const auto s = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
    CalendarFormLayout l;
    l.ClientWidth = s(379);
    l.ClientHeight = s(256);
    l.CalendarPanel = {s(12), s(12), s(221), s(205)};
    l.HimekuriPanel = {s(228), s(12), s(365), s(205)};
    const ScreenRect& panel = l.CalendarPanel;
    const int titleHeight = s(29);
    l.TitleRect = {panel.Left + 1, panel.Top + 1, panel.Right - 1, panel.Top + 1 + titleHeight};
    l.GridRect = {panel.Left + 1, l.TitleRect.Bottom, panel.Right - 1, panel.Bottom - 1};
    const int button = s(20);
    const int inset = s(4);
    const int buttonTop = l.TitleRect.Top + (titleHeight - button) / 2;
    l.PrevButton = {l.TitleRect.Left + inset, buttonTop, l.TitleRect.Left + inset + button, buttonTop + button};
    l.NextButton = {l.TitleRect.Right - inset - button, buttonTop, l.TitleRect.Right - inset, buttonTop + button};
    l.StripHeight = s(40);
    l.PageTextInset = s(10);
    l.LinkFontHeight = s(12);
    l.ArrowFontHeight = s(14);
    l.TitleFontHeight = titleHeight * 2 / 3;
    l.LinkPadding = s(6);
    l.LinkLeft = panel.Left - s(3);
    return l;
}

CalendarSlide CalendarSlideDirection(const ScreenRect& taskbar, int desktopWidth, int desktopHeight) {
    if (taskbar.Bottom < desktopHeight) {
        return CalendarSlide::Down; // a taskbar at the top
    }
    if (taskbar.Right < desktopWidth) {
        return CalendarSlide::Right; // on the left
    }
    if (taskbar.Top > 0) {
        return CalendarSlide::Up; // at the bottom
    }
    return CalendarSlide::Left; // on the right
}

} // namespace lumora

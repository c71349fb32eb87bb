#pragma once
// The calendar's month grid and tear-off page as data: which month shows, the 42 days of its
// grid, the page's texts for today, the month and year steps, and the grid's cell sizes.

#include "clock/DateTimeFormat.h"
#include "shell/ScreenGeometry.h"
#include "settings/Settings.h"
#include "settings/ValueCodecs.h"

#include <array>
#include <optional>
#include <string>

namespace lumora {

constexpr int CalendarColumns = 7;
constexpr int CalendarWeeks = 6;
constexpr int CalendarCellCount = CalendarColumns * CalendarWeeks;

// "Today" of the calendar: the date the clock's face shows, by the face's own rule.
double CalendarToday(double now, const WorldClockSettings& worldClock, int timeZoneBiasMinutes);

struct YearMonth {
    int Year = 1;
    int Month = 1;

    bool operator==(const YearMonth&) const = default;
};

// Every day of a grid lies in the years 1-9999. Each grid begins with days of the previous
// month and ends with days of the next, so January of year 1 and December 9999 cannot show.
constexpr YearMonth FirstShowableMonth{1, 2};
constexpr YearMonth LastShowableMonth{9999, 11};

struct CalendarCell {
    double Date = 0; // midnight of the day
    int Day = 1;     // day of the month
    bool InShownMonth = false;
    bool IsToday = false;
};

// The tear-off page: today's year and month, day, weekday and the weekday's ordinal in its month.
struct CalendarPage {
    std::wstring YearMonthText;
    std::wstring DayText;
    std::wstring WeekdayText;
    std::wstring OrdinalText;
    std::optional<Colour> WeekdayColour; // Saturday blue, Sunday red; other days the text colour
};

class CalendarModel {
public:
    // A new today (the clock's date and time) and the page's texts for it.
    void SetToday(double today, const LocaleFacts& locale);
    // Back to today's month (the nearest showable one).
    void ShowTodaysMonth();
    // Moves the shown month by a number of months; a step out of the showable months is
    // refused (false) and changes nothing.
    bool StepMonths(int months);

    double Today() const { return today_; }
    YearMonth ShownMonth() const { return shownMonth_; }
    const CalendarPage& Page() const { return page_; }
    // The title bar: the shown month as "yyyy年 m月".
    std::wstring Title(const LocaleFacts& locale) const;

    // The first day of the grid: the Sunday before the month's first day, a week earlier when
    // the month begins on a Sunday.
    double GridStart() const;
    // Cells row by row, Sunday first; index 0..41.
    CalendarCell Cell(int index) const;
    // Today's cell, or -1 when the grid does not hold it.
    int TodayCell() const;
    // Ctrl+End and Ctrl+Home: the cell of the shown month's last and first day.
    int LastDayCell() const;
    int FirstDayCell() const;

private:
    double today_ = 1.0;
    CalendarPage page_;
    YearMonth shownMonth_{1899, 12};
};

// Column widths and row heights that fill the grid's client area exactly (row 0 is the header).
struct CalendarGridLayout {
    std::array<int, CalendarColumns> ColumnWidths{};
    std::array<int, CalendarWeeks + 1> RowHeights{};
};
CalendarGridLayout LayOutCalendarGrid(int width, int height);

// The calendar window at a DPI, in pixels of its client area: laid out for 96 DPI and scaled,
// except the one-pixel frames, which stay one pixel.
struct CalendarFormLayout {
    int ClientWidth = 0;
    int ClientHeight = 0;
    ScreenRect CalendarPanel; // framed: the title bar over the grid
    ScreenRect HimekuriPanel; // the tear-off page
    ScreenRect TitleRect;
    ScreenRect GridRect;
    ScreenRect PrevButton; // the month buttons, centred in the title bar's height
    ScreenRect NextButton;
    int StripHeight = 0;    // the bottom strip with the link and the tool bar
    int PageTextInset = 0;  // the page's month and weekday lines from its top and bottom
    int LinkFontHeight = 0; // character heights
    int ArrowFontHeight = 0;
    int TitleFontHeight = 0;
    int LinkPadding = 0; // around the link's text
    int LinkLeft = 0;

    bool operator==(const CalendarFormLayout&) const = default;
};
CalendarFormLayout LayOutCalendarForm(int dpi);

// The direction the calendar slides in when it is shown: away from the taskbar.
enum class CalendarSlide { Down, Right, Up, Left };
CalendarSlide CalendarSlideDirection(const ScreenRect& taskbar, int desktopWidth, int desktopHeight);

} // namespace lumora

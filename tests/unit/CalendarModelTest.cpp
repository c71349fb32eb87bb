#include "tools/CalendarModel.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

double Day(int y, int m, int d, int h = 0) {
    return ComposeDateTime(y, m, d, h, 0, 0, 0);
}

CalendarModel Showing(double today) {
    CalendarModel model;
    model.SetToday(today, JapaneseLocaleFacts());
    model.ShowTodaysMonth();
    return model;
}

TEST(CalendarModel, GridStartsOnTheSundayBeforeTheFirstAndAWeekEarlierWhenTheFirstIsASunday) {
    struct Row {
        double today;
        double gridStart;
        double lastCell;
    };
    const Row rows[] = {
        {Day(2026, 2, 14), Day(2026, 1, 25), Day(2026, 3, 7)},   // 1 February 2026 is a Sunday
        {Day(2026, 4, 30), Day(2026, 3, 29), Day(2026, 5, 9)},   // 1 April is a Wednesday
        {Day(2021, 2, 1), Day(2021, 1, 31), Day(2021, 3, 13)},   // a Monday: 13 days of March
        {Day(1899, 12, 30), Day(1899, 11, 26), Day(1900, 1, 6)}, // day 0 of the date type
    };
    for (const Row& row : rows) {
        const CalendarModel model = Showing(row.today);
        EXPECT_EQ(model.GridStart(), row.gridStart) << row.today;
        EXPECT_EQ(model.Cell(CalendarCellCount - 1).Date, row.lastCell) << row.today;
        EXPECT_FALSE(model.Cell(0).InShownMonth);
        EXPECT_FALSE(model.Cell(CalendarCellCount - 1).InShownMonth);
    }
    const CalendarModel february = Showing(Day(2026, 2, 14, 18));
    EXPECT_EQ(february.Cell(6).Day, 31);
    EXPECT_EQ(february.Cell(7).Day, 1);
    EXPECT_TRUE(february.Cell(7).InShownMonth);
    EXPECT_EQ(february.TodayCell(), 7 + 13);
    EXPECT_TRUE(february.Cell(7 + 13).IsToday);
    EXPECT_FALSE(february.Cell(7 + 12).IsToday);
    EXPECT_EQ(february.Title(JapaneseLocaleFacts()), L"2026年 2月");
}

TEST(CalendarModel, TearOffPageTexts) {
    struct Row {
        double today;
        const wchar_t* day;
        const wchar_t* weekday;
        const wchar_t* ordinal;
        std::optional<Colour> colour;
    };
    const Row rows[] = {
        {Day(2026, 3, 31, 23), L"31", L"火曜日", L"第5", std::nullopt}, // the fifth Tuesday
        {Day(2026, 3, 1), L"1", L"日曜日", L"第1", 0x0000FF},           // Sunday red
        {Day(2026, 3, 7), L"7", L"土曜日", L"第1", 0xFF0000},           // Saturday blue
        {Day(2026, 3, 8), L"8", L"日曜日", L"第2", 0x0000FF},
        {Day(2026, 3, 28), L"28", L"土曜日", L"第4", 0xFF0000},
        {Day(2026, 3, 29), L"29", L"日曜日", L"第5", 0x0000FF},
    };
    for (const Row& row : rows) {
        const CalendarModel model = Showing(row.today);
        EXPECT_EQ(model.Page().YearMonthText, L"2026年 3月");
        EXPECT_EQ(model.Page().DayText, row.day);
        EXPECT_EQ(model.Page().WeekdayText, row.weekday);
        EXPECT_EQ(model.Page().OrdinalText, row.ordinal) << row.day;
        EXPECT_EQ(model.Page().WeekdayColour, row.colour) << row.day;
    }
}

TEST(CalendarModel, TodayIsTheDateOfTheClockFace) {
    WorldClockSettings noZoneChosen;
    noZoneChosen.WorldClockMode = true;
    noZoneChosen.WorldClockTime = NeverDate;
    noZoneChosen.TimeDiffTime = 0.5; // "進める 12:00:00" kept from the other tab
    const double at13 = Day(2026, 3, 31, 13);
    EXPECT_EQ(CalendarToday(at13, noZoneChosen, -540), at13) << "the face shows local time";

    WorldClockSettings kiritimati; // UTC+14 seen from Tokyo: already tomorrow at 23:00
    kiritimati.WorldClockMode = true;
    kiritimati.WorldClockTime = 14 / 24.0;
    const CalendarModel model = Showing(CalendarToday(Day(2026, 3, 31, 23), kiritimati, -540));
    EXPECT_EQ(model.Page().DayText, L"1");
    EXPECT_EQ(model.ShownMonth(), (YearMonth{2026, 4}));

    WorldClockSettings shifted; // the fixed difference outside zone mode
    shifted.TimeDiffTime = 0.5;
    EXPECT_EQ(CalendarToday(at13, shifted, -540), at13 + 0.5);
}

TEST(CalendarModel, CtrlHomeAndCtrlEndSelectTheFirstAndLastDay) {
    struct Row {
        double today;
        int first;
        int last;
    };
    const Row rows[] = {
        {Day(2026, 2, 14), 7, 7 + 27}, // the first row holds 25 to 31 January
        {Day(2021, 2, 10), 1, 1 + 27}, // the last two rows hold 1 to 13 March
        {Day(2026, 5, 1), 5, 5 + 30},
    };
    for (const Row& row : rows) {
        const CalendarModel model = Showing(row.today);
        EXPECT_EQ(model.FirstDayCell(), row.first);
        EXPECT_EQ(model.LastDayCell(), row.last);
        EXPECT_EQ(model.Cell(row.first).Day, 1);
        EXPECT_TRUE(model.Cell(row.last).InShownMonth && !model.Cell(row.last + 1).InShownMonth);
    }
}

TEST(CalendarModel, StepsStayWithinTheYearsOfTheDateType) {
    CalendarModel model = Showing(Day(2026, 1, 20));
    EXPECT_TRUE(model.StepMonths(-1));
    EXPECT_EQ(model.ShownMonth(), (YearMonth{2025, 12}));
    EXPECT_TRUE(model.StepMonths(13));
    EXPECT_EQ(model.ShownMonth(), (YearMonth{2027, 1}));

    model = Showing(Day(1, 3, 15));
    EXPECT_TRUE(model.StepMonths(-1));
    EXPECT_EQ(model.ShownMonth(), (YearMonth{1, 2}));
    EXPECT_FALSE(model.StepMonths(-1)) << "January of year 1 begins its grid in year 0";
    EXPECT_FALSE(model.StepMonths(-12));
    EXPECT_EQ(model.ShownMonth(), (YearMonth{1, 2}));
    EXPECT_GE(model.GridStart(), Day(1, 1, 1));

    model = Showing(Day(9998, 12, 31));
    EXPECT_FALSE(model.StepMonths(12)) << "December 9999 ends its grid in year 10000";
    EXPECT_TRUE(model.StepMonths(11));
    EXPECT_FALSE(model.StepMonths(1));
    EXPECT_EQ(model.ShownMonth(), (YearMonth{9999, 11}));
    EXPECT_LE(model.Cell(CalendarCellCount - 1).Date, Day(9999, 12, 31));

    // A clock at the very end of the range shows the last month that fits.
    EXPECT_EQ(Showing(Day(9999, 12, 31, 12)).ShownMonth(), (YearMonth{9999, 11}));
}

TEST(CalendarModel, GridLayoutFillsTheClientAreaExactly) {
    for (const auto& [width, height] : {std::pair{207, 162}, std::pair{210, 161}, std::pair{200, 140}}) {
        const CalendarGridLayout layout = LayOutCalendarGrid(width, height);
        int widths = 0;
        for (int w : layout.ColumnWidths) {
            EXPECT_LE(std::abs(w - width / 7), 1) << width;
            widths += w;
        }
        int heights = 0;
        for (int h : layout.RowHeights) {
            heights += h;
        }
        EXPECT_EQ(widths, width);
        EXPECT_EQ(heights, height);
        EXPECT_EQ(layout.RowHeights[1], layout.RowHeights[6]);
    }
    EXPECT_EQ(LayOutCalendarGrid(207, 162).RowHeights[0], 24);
}

TEST(CalendarModel, SlidesAwayFromTheTaskbar) {
    EXPECT_EQ(CalendarSlideDirection({0, 0, 1280, 30}, 1280, 800), CalendarSlide::Down);
    EXPECT_EQ(CalendarSlideDirection({0, 0, 60, 800}, 1280, 800), CalendarSlide::Right);
    EXPECT_EQ(CalendarSlideDirection({0, 770, 1280, 800}, 1280, 800), CalendarSlide::Up);
    EXPECT_EQ(CalendarSlideDirection({1220, 0, 1280, 800}, 1280, 800), CalendarSlide::Left);
}

} // namespace
} // namespace lumora

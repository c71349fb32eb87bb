#include "settings/SettingsSchema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace lumora {
namespace {

const SystemDefaults System{};

Settings Load(std::wstring_view text, LoadOptions options = {}) {
    Settings s = DefaultSettings(System);
    LoadSettings(IniDocument::Parse(text), s, options);
    return s;
}

std::wstring Written(const Settings& s, std::wstring_view existing = L"", wchar_t separator = L'.') {
    IniDocument document = IniDocument::Parse(existing);
    WriteSettings(document, s, separator);
    return document.Serialize();
}

std::vector<std::wstring> SectionOrder(const std::wstring& text) {
    std::vector<std::wstring> names;
    std::wregex header(LR"(^\[([^\]]+)\])", std::regex::multiline);
    for (std::wsregex_iterator it(text.begin(), text.end(), header), end; it != end; ++it) {
        names.push_back((*it)[1]);
    }
    return names;
}

TEST(SettingsSchema, MissingOrEmptyFileGivesExactlyTheDefaults) {
    EXPECT_EQ(Load(L""), DefaultSettings(System));
    EXPECT_EQ(Load(L"[View]\r\n\r\n[Boot]\r\n"), DefaultSettings(System));
}

TEST(SettingsSchema, FirstWriteHasEverySectionInOrderAndEveryKey) {
    const std::wstring text = Written(DefaultSettings(System));
    EXPECT_EQ(SectionOrder(text),
              (std::vector<std::wstring>{L"View", L"Operation", L"WorldClock", L"Animation", L"Format", L"Design",
                                         L"CuckooClock", L"AdjustClock", L"Timer", L"Telop", L"Omake", L"Boot"}));
    const auto keyLines = std::count(text.begin(), text.end(), L'=');
    EXPECT_EQ(keyLines, 19 + 11 + 5 + 5 + 9 + 34 + 34 + 20 + 4 + 10 + 14 + 5);
    // Reading what was written gives the same record back.
    EXPECT_EQ(Load(text), DefaultSettings(System));
}

TEST(SettingsSchema, EveryChangedValueSurvivesARoundTrip) {
    Settings s = DefaultSettings(System);
    s.View.Placement = {2, -300, 400};
    s.View.CustomColors[3] = L"123456";
    s.View.VisibleHours[1439] = 0;
    s.View.VisibleHours[MinutesPerWeek - 1] = 2;
    s.View.ToolTipFormat = L"\"a, b\"\\n\\t";
    s.Operation.SnapPoint = {-200, 200};
    s.WorldClock.TimeDiffTime = -9.5 / 24;
    s.WorldClock.WorldClockTime = NeverDate;
    s.Design.DigitMargin = {1, 2, 3, 255};
    s.Design.DigitColor = 0x123456;
    s.Design.Color = SystemColourFlag | 15;
    s.CuckooClock.WildBirdSound[23] = L"C:\\Sounds\\\u9CE5 23.wav";
    s.AdjustClock.AutoAdjustInterval = 1.0 / 3;
    s.NTPServer = {L"ntp.example.jp", L"127.0.0.1"};
    s.HTTPServer = {L"www.example.jp"};
    s.IgnoreWindows = {{L"say \"hi\", then", L"Cls"}, {L"", L"Shell_TrayWnd"}, {L"Title only", L""}};
    s.Timer.Time = 90.0 / 86400;
    s.Telop.Title = L"\u30CB\u30E5\u30FC\u30B9\u901F\u5831";
    s.Boot.Priority = 32;

    for (wchar_t separator : {L'.', L','}) {
        Settings back = DefaultSettings(System);
        LoadSettings(IniDocument::Parse(Written(s, L"", separator)), back, {separator, true});
        back.Boot = s.Boot; // the Boot keys are read by start-up, not here
        EXPECT_EQ(back, s) << "decimal separator " << static_cast<char>(separator);
    }
}

TEST(SettingsSchema, ShortCommaListsFallBackToEveryItemDefault) {
    EXPECT_EQ(Load(L"[View]\nPlacement=2").View.Placement, (ClockPlacement{0, 10, 10}));
    EXPECT_EQ(Load(L"[View]\nPlacement=2,300,400").View.Placement, (ClockPlacement{2, 300, 400}));
    EXPECT_EQ(Load(L"[View]\nPlacement=2,x,400").View.Placement, (ClockPlacement{2, 10, 400}));
    EXPECT_EQ(Load(L"[Operation]\nSnapPoint=5").Operation.SnapPoint, (std::array<int32_t, 2>{10, 10}));
    EXPECT_EQ(Load(L"[Design]\nDigitMargin=1,2,3").Design.DigitMargin, (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Load(L"[View]\nCustomColors=FFFFFF").View.CustomColors, ViewSettings::DefaultCustomColors());
}

TEST(SettingsSchema, VisibleHoursReadsDigitsAndFillsTheRestWithShown) {
    const auto minutes = Load(L"[View]\nVisibleHours=0120x").View.VisibleHours;
    EXPECT_EQ(minutes[0], 0);
    EXPECT_EQ(minutes[1], 1);
    EXPECT_EQ(minutes[2], 2);
    EXPECT_EQ(minutes[3], 0);
    EXPECT_EQ(minutes[4], 1); // not a digit
    EXPECT_TRUE(std::all_of(minutes.begin() + 5, minutes.end(), [](uint8_t m) { return m == 1; }));
    EXPECT_EQ(Load(L"[View]\nVisibleHours=abc").View.VisibleHours, ViewSettings::AllMinutesVisible());
}

TEST(SettingsSchema, LoadRulesClampWhatWouldBreakTheProgram) {
    struct Case {
        const wchar_t* text;
        int32_t fontSize;
        double interval;
    };
    for (const auto& c : {Case{L"DigitFontSize=8", 12, 0.25}, Case{L"DigitFontSize=500", 200, 0.25},
                          Case{L"DigitFontSize=0", 0, 0.25}, Case{L"DigitFontSize=-3", 12, 0.25}}) {
        EXPECT_EQ(Load(std::wstring(L"[Design]\n") + c.text).Design.DigitFontSize, c.fontSize) << c.text;
    }
    EXPECT_DOUBLE_EQ(Load(L"[AdjustClock]\nAutoAdjustInterval=0.001").AdjustClock.AutoAdjustInterval, 10.0 / 1440);
    EXPECT_DOUBLE_EQ(Load(L"[AdjustClock]\nAutoAdjustInterval=1").AdjustClock.AutoAdjustInterval, 1.0);

    EXPECT_EQ(Load(L"[Operation]\nOnMouseHideType=3", {L'.', false}).Operation.OnMouseHideType, 1);
    EXPECT_EQ(Load(L"[Operation]\nOnMouseHideType=3", {L'.', true}).Operation.OnMouseHideType, 3);
}

// A record as the options dialog might hold it is honoured as if it had come from the file.
TEST(SettingsSchema, NormalisingARecordGivesWhatReadingItBackGives) {
    struct Case {
        const char* name;
        void (*raw)(Settings&);
        void (*expected)(Settings&);
        bool layered = true;
    };
    const Case cases[] = {
        {"font size 8", [](Settings& s) { s.Design.DigitFontSize = 8; },
         [](Settings& s) { s.Design.DigitFontSize = 12; }},
        {"interval 1 s", [](Settings& s) { s.AdjustClock.AutoAdjustInterval = 1.0 / 86400; },
         [](Settings& s) { s.AdjustClock.AutoAdjustInterval = 10 * OneMinute; }},
        {"click-through unlayered", [](Settings& s) { s.Operation.OnMouseHideType = 3; },
         [](Settings& s) { s.Operation.OnMouseHideType = 1; }, false},
        {"five custom colours", [](Settings& s) { s.View.CustomColors.resize(5, L"0000FF"); }, [](Settings&) {}},
        {"an empty custom colour", [](Settings& s) { s.View.CustomColors[2].clear(); }, [](Settings&) {}},
        {"seventeen custom colours", [](Settings& s) { s.View.CustomColors.push_back(L"0000FF"); }, [](Settings&) {}},
        {"priority 0", [](Settings& s) { s.Boot.Priority = 0; }, [](Settings& s) { s.Boot.Priority = 64; }},
        {"priority 12345", [](Settings& s) { s.Boot.Priority = 12345; }, [](Settings& s) { s.Boot.Priority = 64; }},
        {"priority 0x100000", [](Settings& s) { s.Boot.Priority = 0x100000; },
         [](Settings& s) { s.Boot.Priority = 64; }},
    };
    for (const Case& c : cases) {
        Settings raw = DefaultSettings(System);
        c.raw(raw);
        Settings expected = DefaultSettings(System);
        c.expected(expected);
        const LoadOptions options{L'.', c.layered};

        Settings normalised = raw;
        NormaliseSettings(normalised, options);
        EXPECT_EQ(normalised, expected) << c.name;

        Settings reread = DefaultSettings(System);
        const IniDocument file = IniDocument::Parse(Written(raw));
        LoadSettings(file, reread, options);
        LoadBootSettings(file, reread.Boot);
        EXPECT_EQ(reread, normalised) << c.name;
    }
    for (int32_t priority : OfferedPriorityClasses) {
        BootSettings boot;
        boot.Priority = priority;
        NormaliseBootSettings(boot);
        EXPECT_EQ(boot.Priority, priority);
    }
}

TEST(SettingsSchema, NumberedSectionsIgnoreKeyNamesAndAreRenumberedOnWrite) {
    const Settings s = Load(L"[NTPServer]\na=x\nServer7=y\n");
    EXPECT_EQ(s.NTPServer, (std::vector<std::wstring>{L"x", L"y"}));
    const std::wstring text = Written(s, L"[NTPServer]\na=x\nServer7=y\n");
    EXPECT_NE(text.find(L"[NTPServer]\r\nServer1=x\r\nServer2=y\r\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Server7"), std::wstring::npos);
}

TEST(SettingsSchema, IgnoreWindowsEntriesNeedTwoItems) {
    const Settings s = Load(L"[IgnoreWindows]\nWindow1=Notepad\nWindow2=\"Title\",\"Class\"\n");
    ASSERT_EQ(s.IgnoreWindows.size(), 2u);
    EXPECT_EQ(s.IgnoreWindows[0], (IgnoredWindow{L"", L""}));
    EXPECT_EQ(s.IgnoreWindows[1], (IgnoredWindow{L"Title", L"Class"}));
    EXPECT_NE(Written(s).find(L"Window2=\"Title\",\"Class\""), std::wstring::npos);
}

TEST(SettingsSchema, ColoursReadAsNumbersAreWrittenByName) {
    const Settings s = Load(L"[Design]\nDigitColor=255\nShadowColor=clNotAColour\nColor=$80000005\n");
    EXPECT_EQ(s.Design.DigitColor, 0x0000FFu);
    EXPECT_EQ(s.Design.ShadowColor, DefaultSettings(System).Design.ShadowColor);
    const std::wstring text = Written(s);
    EXPECT_NE(text.find(L"DigitColor=clRed"), std::wstring::npos);
    EXPECT_NE(text.find(L"Color=clWindow"), std::wstring::npos);
}

TEST(SettingsSchema, UnreadableValuesKeepTheirDefaults) {
    const Settings s = Load(L"[View]\nAutoHideTime=ten\nTaskTrayIcon=\nAlphaBlend=$7F\n"
                            L"[WorldClock]\nTimeDiffTime=nan\n[Timer]\nTime=1e999\n");
    const Settings defaults = DefaultSettings(System);
    EXPECT_EQ(s.View.AutoHideTime, defaults.View.AutoHideTime);
    EXPECT_EQ(s.View.TaskTrayIcon, defaults.View.TaskTrayIcon);
    EXPECT_EQ(s.View.AlphaBlend, 0x7F);
    EXPECT_EQ(s.WorldClock.TimeDiffTime, defaults.WorldClock.TimeDiffTime);
    EXPECT_EQ(s.Timer.Time, defaults.Timer.Time);
}

TEST(SettingsSchema, KeysThisProgramDoesNotKnowSurviveARewrite) {
    const std::wstring text =
        Written(DefaultSettings(System), L"; my notes\n[Extra]\nFoo=bar\n[View]\nFutureKey=7\nAlphaBlend=1\n");
    EXPECT_NE(text.find(L"; my notes"), std::wstring::npos);
    EXPECT_NE(text.find(L"[Extra]\r\nFoo=bar"), std::wstring::npos);
    EXPECT_NE(text.find(L"FutureKey=7"), std::wstring::npos);
    EXPECT_NE(text.find(L"AlphaBlend=255"), std::wstring::npos);
}

TEST(SettingsSchema, BootKeysAreReadOnTheirOwn) {
    BootSettings boot;
    LoadBootSettings(IniDocument::Parse(L"[Boot]\nNoCheckDuplicate=1\nBootDelay=1\nBootDelayValue=3000\n"
                                        L"ShowSplash=0\nPriority=32"),
                     boot);
    EXPECT_EQ(boot, (BootSettings{true, true, 3000, false, 32}));
}

} // namespace
} // namespace lumora

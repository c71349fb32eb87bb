#include "sound/TimeSignal.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

// 2006-04-03 is a Monday.
double At(int day, int h, int mi, int s, int ms = 0) {
    return ComposeDateTime(2006, 4, day, h, mi, s, ms);
}

std::string Fired(const std::optional<HourSignal>& signal) {
    return signal ? std::to_string(signal->Hour) + (signal->Minute < 10 ? ":0" : ":") + std::to_string(signal->Minute)
                  : "";
}

CuckooClockSettings Cuckoo(int timing = 0, bool half = false, bool silent = false) {
    CuckooClockSettings c;
    c.CuckooClockMode = CuckooClockCuckoo;
    c.CuckooClockTiming = timing;
    c.CuckooClock30 = half;
    c.InVisibleSilent = silent;
    c.FirstCuckooClockFile = L"first";
    c.RepeatCuckooClockFile = L"repeat";
    c.LastCuckooClockFile = L"last";
    return c;
}

// Every minute visible, but the one given gets entry (day 0 = Monday).
std::array<uint8_t, MinutesPerWeek> Table(int day = 0, int hour = 0, int minute = 0, uint8_t entry = 1) {
    std::array<uint8_t, MinutesPerWeek> table = ViewSettings::AllMinutesVisible();
    table[static_cast<size_t>(day * 1440 + hour * 60 + minute)] = entry;
    return table;
}

TEST(TimeSignal, Trigger) {
    constexpr int Monday = 0, Sunday = 6;
    struct Tick {
        double displayed;
        const char* fires;
        std::array<uint8_t, MinutesPerWeek> table = Table();
    };
    struct Row {
        const char* what;
        CuckooClockSettings cuckoo;
        std::vector<Tick> ticks;
    };
    CuckooClockSettings off = Cuckoo();
    off.CuckooClockMode = CuckooClockOff;
    const Row rows[] = {
        {"timing -3000", Cuckoo(-3000), {{At(3, 9, 59, 56, 967), ""}, {At(3, 9, 59, 57), "10:00"}}},
        {"several ticks within the second",
         Cuckoo(),
         {{At(3, 10, 0, 0, 10), "10:00"},
          {At(3, 10, 0, 0, 43), ""},
          {At(3, 10, 0, 0, 999), ""},
          {At(3, 10, 0, 1), ""},
          {At(3, 11, 0, 0), "11:00"}}},
        {"half hour off", Cuckoo(), {{At(3, 9, 30, 0), ""}}},
        {"half hour on", Cuckoo(0, true), {{At(3, 9, 30, 0), "9:30"}}},
        {"signal off", off, {{At(3, 10, 0, 0), ""}}},
        {"silenced minute, looked at again within its second",
         Cuckoo(0, false, true),
         {{At(3, 10, 0, 0, 100), "", Table(Monday, 10, 0, 0)}, {At(3, 10, 0, 0, 600), "10:00"}}},
        {"hidden minute, silence off", Cuckoo(), {{At(3, 10, 0, 0), "10:00", Table(Monday, 10, 0, 0)}}},
        {"temporary display counts as visible",
         Cuckoo(0, false, true),
         {{At(3, 10, 0, 0), "10:00", Table(Monday, 10, 0, 2)}}},
        // Sunday 23:59:57 sounds Monday 0:00, and reads Monday's table.
        {"early signal, next day hidden",
         Cuckoo(-3000, false, true),
         {{At(2, 23, 59, 57), "", Table(Monday, 0, 0, 0)}}},
        {"early signal, same day hidden",
         Cuckoo(-3000, false, true),
         {{At(2, 23, 59, 57), "0:00", Table(Sunday, 0, 0, 0)}}},
    };
    for (const Row& r : rows) {
        SignalTrigger trigger;
        for (const Tick& t : r.ticks) {
            EXPECT_EQ(Fired(trigger.Check(t.displayed, r.cuckoo, t.table)), t.fires) << r.what;
        }
    }
}

TEST(TimeSignal, RepeatCount) {
    struct Row {
        bool repeat;
        int hour, minute;
        bool hour12;
        uint32_t count;
    };
    const Row rows[] = {
        {true, 0, 0, true, 12},   {true, 0, 0, false, 24}, {true, 12, 0, true, 12},  {true, 13, 0, true, 1},
        {true, 13, 0, false, 13}, {true, 23, 0, true, 11}, {true, 23, 0, false, 23}, {true, 9, 30, true, 1},
        {true, 0, 30, false, 1},  {false, 3, 0, true, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CuckooRepeatCount(r.repeat, r.hour, r.minute, r.hour12), r.count)
            << r.hour << ":" << r.minute << (r.hour12 ? " 12-hour" : " 24-hour") << (r.repeat ? "" : " no repeat");
    }
}

// Script letters: S a new signal, + the named sound plays, - it fails to start, E its end,
// X its end by an error, C a click. Returns the files named, in order.
std::wstring Play(CuckooChain& chain, const CuckooClockSettings& cuckoo, uint32_t repeats, const char* script) {
    std::wstring played;
    auto note = [&](const std::optional<std::wstring>& file) {
        if (file) {
            played += (played.empty() ? L"" : L",") + *file;
        }
    };
    for (const char* c = script; *c; ++c) {
        switch (*c) {
        case 'S':
            note(chain.Start(repeats, cuckoo));
            break;
        case '+':
            chain.Started(true);
            break;
        case '-':
            chain.Started(false);
            break;
        case 'E':
            note(chain.Ended(true));
            break;
        case 'X':
            note(chain.Ended(false));
            break;
        case 'C':
            chain.Cancel();
            break;
        default:
            ADD_FAILURE() << "script letter " << *c;
        }
    }
    return played;
}

TEST(TimeSignal, CuckooChain) {
    CuckooClockSettings noRepeatFile = Cuckoo();
    noRepeatFile.RepeatCuckooClockFile.clear();
    struct Row {
        const char* what;
        CuckooClockSettings cuckoo;
        uint32_t repeats;
        const char* script;
        const wchar_t* played;
        bool active;
    };
    const Row rows[] = {
        {"three strokes", Cuckoo(), 3, "S+E+E+E+E+E", L"first,repeat,repeat,repeat,last", false},
        {"no strokes", Cuckoo(), 0, "S+E+E", L"first,last", false},
        {"first fails to start", Cuckoo(), 3, "S-EEE", L"first", false},
        {"a sound ends by an error", Cuckoo(), 3, "S+E+XE", L"first,repeat", false},
        {"the replaced sound ends while the first starts", Cuckoo(), 1, "SE+E", L"first,repeat", true},
        {"a click", Cuckoo(), 3, "S+E+CE", L"first,repeat", false},
        {"a new signal starts over", Cuckoo(), 1, "S+E+S+E+E+E", L"first,repeat,first,repeat,last", false},
        {"a repeat without a file", noRepeatFile, 2, "S+EE", L"first", false},
    };
    for (const Row& r : rows) {
        CuckooChain chain;
        EXPECT_EQ(Play(chain, r.cuckoo, r.repeats, r.script), r.played) << r.what;
        EXPECT_EQ(chain.Active(), r.active) << r.what;
    }
}

TEST(TimeSignal, SignalSoundByMode) {
    CuckooClockSettings birds = Cuckoo();
    birds.CuckooClockMode = CuckooClockWildBird;
    birds.WildBirdSound[0] = L"owl";
    birds.WildBirdSound[9] = L"wren";
    const std::pair<HourSignal, const wchar_t*> calls[] = {
        {{At(3, 0, 0, 0), 0, 0}, L"owl"}, {{At(3, 9, 30, 0), 9, 30}, L"wren"}, {{At(3, 10, 0, 0), 10, 0}, L""}};
    for (const auto& [signal, bird] : calls) {
        CuckooChain chain;
        Play(chain, Cuckoo(), 3, "S+");
        EXPECT_EQ(SignalSound(signal, birds, true, chain).value_or(L""), bird) << signal.Hour;
        EXPECT_FALSE(chain.Active()) << "the bird replaces the chain";
    }

    CuckooClockSettings strike = Cuckoo();
    strike.CuckooClockRepeat = true;
    CuckooChain chain;
    EXPECT_EQ(SignalSound({At(3, 15, 0, 0), 15, 0}, strike, true, chain), L"first");
    EXPECT_EQ(Play(chain, strike, 0, "+E+E+E+E+E"), L"repeat,repeat,repeat,last");
}

TEST(TimeSignal, Announcement) {
    const std::wstring text = L"Lumora が 10 時 00 分をお知らせします。";
    struct Row {
        int notifyType;
        const wchar_t* message;
        const wchar_t* telopTitle;
        bool firstExists;
        Announcement expected;
    };
    using enum AnnouncementKind;
    // Expected: kind, text, box caption, balloon notification, caption lines, caption sound.
    const Row rows[] = {
        {1, L"", L"", true, {MessageBox, text, L"Lumora - 時報", L"", {}, false}},
        {2, L"", L"", true, {Balloon, text, L"", L"時報|" + text, {}, false}},
        {3, L"", L"JOLX", false, {Caption, text, L"", L"", {L"JOLX 時報", text, L"JOLX 時報／終"}, true}},
        {3, L"", L"", true, {Caption, text, L"", L"", {L"Lumora 時報", text, L"Lumora 時報／終"}, false}},
        {7, L"h\"時\"nn\"分\"\\n\\o", L"", true, {None, L"10時00分\r\n卯月", L"", L"", {}, false}},
    };
    const LocaleFacts locale = JapaneseLocaleFacts();
    const SystemFigures figures;
    for (const Row& r : rows) {
        CuckooClockSettings cuckoo = Cuckoo();
        cuckoo.NotifyType = r.notifyType;
        cuckoo.Message = r.message;
        TelopSettings telop;
        telop.Title = r.telopTitle;
        telop.Sound = true;
        EXPECT_EQ(Announce({At(3, 10, 0, 0), 10, 0}, {cuckoo, telop, r.firstExists, figures, locale}), r.expected)
            << "notify type " << r.notifyType;
    }

    // Three seconds early, the signal still names its own hour.
    SignalTrigger trigger;
    const CuckooClockSettings early = Cuckoo(-3000);
    const std::optional<HourSignal> signal = trigger.Check(At(3, 9, 59, 57), early, Table());
    ASSERT_TRUE(signal);
    EXPECT_EQ(Announce(*signal, {early, TelopSettings{}, true, figures, locale}).Text, text);
}

} // namespace
} // namespace lumora

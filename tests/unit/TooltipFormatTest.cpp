#include "clock/TooltipFormat.h"

#include "clock/DateTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace lumora {
namespace {

const LocaleFacts Japanese = JapaneseLocaleFacts();

// Counts how often the shell would have read the system.
struct FakeSystem {
    MemoryFigures memory{.TotalPhys = 8ull << 30,
                         .AvailPhys = 2ull << 30,
                         .TotalVirtual = 4000,
                         .AvailVirtual = 1000,
                         .TotalPageFile = 0,
                         .AvailPageFile = 0};
    std::optional<PowerStatus> power = PowerStatus{0, 1, 80};
    int memoryReads = 0;
    int powerReads = 0;

    SystemFigures Figures() {
        return {.MillisecondsSinceStart = ((25 * 60 + 2) * 60 + 3) * 1000 + 4,
                .Memory = [this] { return ++memoryReads, memory; },
                .Power = [this] { return ++powerReads, power; }};
    }
};

std::wstring Expand(std::wstring_view format, double at, FakeSystem& system) {
    return ExpandTooltipFormat(format, at, system.Figures(), Japanese);
}

TEST(TooltipFormat, Escapes) {
    FakeSystem onBattery;
    FakeSystem onAc;
    onAc.power = PowerStatus{1, 8, 57};
    FakeSystem noPower;
    noPower.power.reset();
    const double monday = ComposeDateTime(2006, 4, 3, 9, 5, 7, 42);
    struct Row {
        const wchar_t* format;
        double at;
        FakeSystem& system;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {L"yyyy/mm/dd\\n\\p", monday, onBattery, L"2006/04/03\r\nバッテリ使用中 (残り 80%)"},
        // Quoting keeps the letters of the replacements ("AC", "MB") from being formatted.
        {L"\\P", monday, onAc, L"AC 電源\r\nバッテリ充電中 (57% 完了)"},
        {L"\\m", monday, onAc, L"物理メモリ: 2.00 GB (25%)\r\n仮想メモリ: 0.98 KB (25%)\r\nページ ファイル: 0 B (0%)"},
        {L"[\\p]", monday, noPower, L"[\\p]"},
        {L"\\D \\d", ComposeDateTime(2006, 4, 15, 0, 0, 0, 0), onBattery, L"第 3 第 3"},
        {L"\\d\\d\\d", ComposeDateTime(2006, 4, 7, 0, 0, 0, 0), onBattery, L"第 1第 1第 1"},
        {L"\\d", ComposeDateTime(2006, 3, 29, 0, 0, 0, 0), onBattery, L"第 5"},
        {L"\\o \\O", ComposeDateTime(2006, 2, 28, 0, 0, 0, 0), onBattery, L"如月 如月"},
        {L"\\t", monday, onBattery, L"1:02:03.004"},
        // A doubled backslash does not protect the escape.
        {L"\\\\n", monday, onBattery, L"\\\r\n"},
        {L"\\q \\", monday, onBattery, L"\\q \\"},
        {L"\"Lumora\"\\nyyyy'年'm'月'd'日'dddd", monday, onBattery, L"Lumora\r\n2006年4月3日月曜日"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Expand(r.format, r.at, r.system), r.expected) << r.format;
    }
    EXPECT_EQ(ExpandTextEscapes(L"\\m\\p", SystemFigures{}), L"\\m\\p");
}

TEST(TooltipFormat, FiguresAreReadOnlyWhenAskedAndOnce) {
    FakeSystem system;
    Expand(L"\"Lumora\"\\n\\t\\o\\d yyyy", 0, system);
    EXPECT_EQ(system.memoryReads + system.powerReads, 0);
    Expand(L"\\m\\p\\M\\P", 0, system);
    EXPECT_EQ(system.memoryReads, 1);
    EXPECT_EQ(system.powerReads, 1);
}

// Replaced text is scanned again; nothing may make that run away or leave quotes behind.
TEST(TooltipFormat, LongAndPathologicalFormats) {
    FakeSystem system;
    system.power = PowerStatus{1, 8, 57};
    std::wstring format;
    while (format.size() < 300) {
        format += L"\\t\\m\\p\\o\\d\\n";
    }
    ASSERT_EQ(format.size(), 300u);
    const std::wstring text = Expand(format, ComposeDateTime(2006, 4, 3, 0, 0, 0, 0), system);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'"') + std::count(text.begin(), text.end(), L'\\'), 0);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'第'), 25);

    const std::wstring backslashes(100000, L'\\');
    EXPECT_EQ(Expand(backslashes + L"n", 0, system), backslashes.substr(1) + L"\r\n");
    std::wstring escapes;
    for (int i = 0; i < 20000; ++i) {
        escapes += L"\\M";
    }
    EXPECT_LT(ExpandTextEscapes(escapes, system.Figures()).size(), escapes.size() * 100);
}

TEST(TooltipFormat, PowerText) {
    struct Row {
        PowerStatus power;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {{0, 1, 80}, L"バッテリ使用中 (残り 80%)"},
        {{0, 4, 255}, L"バッテリ使用中"}, // the charge is unknown
        {{0, 0x88, 50}, L"バッテリなし"},
        {{1, 8, 0}, L"AC 電源\r\nバッテリ充電中 (0% 完了)"},
        {{1, 8, 100}, L"AC 電源\r\nバッテリ充電完了"},
        {{1, 8, 255}, L"AC 電源\r\nバッテリ不明"},
        {{1, 1, 100}, L"AC 電源\r\nバッテリ不明"},
        {{1, 255, 255}, L"AC 電源\r\nバッテリなし"},
        {{2, 2, 30}, L"UPS 電源\r\nバッテリ不明"},
        {{255, 2, 30}, L"その他の電源\r\nバッテリ不明"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(PowerText(r.power), r.expected)
            << int{r.power.ACLineStatus} << ' ' << int{r.power.BatteryFlag} << ' ' << int{r.power.BatteryLifePercent};
    }
}

TEST(TooltipFormat, ByteSizes) {
    const std::pair<uint64_t, const wchar_t*> rows[] = {
        {0, L"0 B"},
        {999, L"999 B"},
        {1000, L"0.98 KB"},
        {1152, L"1.13 KB"}, // 1.125: halves away from zero
        {9990, L"9.76 KB"},
        {10000, L"9.8 KB"},
        {99999, L"97.7 KB"},
        {100000, L"98 KB"},
        {999999, L"977 KB"},
        {1000000, L"0.95 MB"},
        {8ull << 30, L"8.00 GB"},
        {UINT64_MAX, L"16.0 EB"},
    };
    for (const auto& [bytes, expected] : rows) {
        EXPECT_EQ(FormatByteSize(bytes), expected) << bytes;
    }
}

TEST(TooltipFormat, WholePercent) {
    const std::tuple<uint64_t, uint64_t, int> rows[] = {
        {1, 8, 13},
        {3, 40, 8},
        {1, 200, 1},
        {1, 201, 0},
        {0, 0, 0},
        {5, 0, 0},
        {10, 1, 1000},
        {UINT64_MAX, UINT64_MAX, 100}, // past the exact integer arithmetic
        {UINT64_MAX / 2, UINT64_MAX, 50},
    };
    for (const auto& [part, whole, expected] : rows) {
        EXPECT_EQ(WholePercent(part, whole), expected) << part << '/' << whole;
    }
}

TEST(TooltipFormat, SplitNotification) {
    struct Row {
        const wchar_t* text;
        NotificationText expected;
    };
    const Row rows[] = {
        {L"時報|12時です", {L"Lumora - 時報", L"12時です"}},
        {L"a|b|c", {L"Lumora - a", L"b|c"}},
        {L"title|", {L"Lumora - title", L""}},
        {L"no bar", {L"Lumora", L"no bar"}},
        {L"|body", {L"Lumora", L"body"}},
        {L"", {L"Lumora", L""}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(SplitNotification(r.text), r.expected) << r.text;
    }
}

} // namespace
} // namespace lumora

#include "clock/TooltipFormat.h"

#include "shell/AppNames.h"
#include "clock/DateTime.h"
#include "settings/AsciiText.h"

#include <cassert>
#include <climits>
#include <cmath>

namespace lumora {
namespace {

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// The language scans replaced text again, from one character after the escape's backslash.
// No replacement holds a backslash, so that second look never finds an escape: a single pass
// over the input gives the same text, and the work stays linear whatever the input.
template <class Replace> std::wstring ExpandEscapes(std::wstring_view text, Replace replace) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size()) {
            if (std::optional<std::wstring> replacement = replace(AsciiLower(text[i + 1]))) {
                assert(replacement->find(L'\\') == std::wstring::npos);
                out += *replacement;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void AppendTwoDigits(std::wstring& out, uint32_t value) {
    out += static_cast<wchar_t>(L'0' + value / 10 % 10);
    out += static_cast<wchar_t>(L'0' + value % 10);
}

// "h:nn:ss.zzz"; the hours wrap at 24 like a time of day.
std::wstring UptimeText(uint32_t milliseconds) {
    std::wstring out = std::to_wstring(milliseconds / 3600000 % 24);
    out += L':';
    AppendTwoDigits(out, milliseconds / 60000 % 60);
    out += L':';
    AppendTwoDigits(out, milliseconds / 1000 % 60);
    out += L'.';
    out += static_cast<wchar_t>(L'0' + milliseconds % 1000 / 100);
    AppendTwoDigits(out, milliseconds % 100);
    return out;
}

std::wstring GroupThousands(uint64_t value) {
    std::wstring digits = std::to_wstring(value);
    for (size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, L',');
    }
    return digits;
}

constexpr const wchar_t* OldMonthNames[12] = {L"睦月", L"如月", L"弥生", L"卯月",   L"皐月", L"水無月",
                                              L"文月", L"葉月", L"長月", L"神無月", L"霜月", L"師走"};

} // namespace

std::wstring FormatByteSize(uint64_t bytes) {
    static constexpr wchar_t Prefixes[] = L"KMGTPE";
    int k = 0;
    uint64_t power = 1; // 1000^k
    while (k < 6 && bytes / 1000 >= power) {
        power *= 1000;
        ++k;
    }
    if (k == 0) {
        return std::to_wstring(bytes) + L" B";
    }
    const uint64_t units = bytes / power; // whole thousands^k, for the number of decimals
    const int decimals = units < 10 ? 2 : units < 100 ? 1 : 0;
    const double scale = decimals == 2 ? 100.0 : decimals == 1 ? 10.0 : 1.0;
    // Rounded like the "#,##0.00" picture: halves away from zero.
    const auto scaled = static_cast<uint64_t>(std::round(std::ldexp(static_cast<double>(bytes), -10 * k) * scale));
    const auto divisor = static_cast<uint64_t>(scale);
    std::wstring out = GroupThousands(scaled / divisor);
    if (decimals > 0) {
        const std::wstring fraction = std::to_wstring(scaled % divisor + divisor); // leading 1 keeps the zeros
        out += L'.';
        out += fraction.substr(1);
    }
    out += L' ';
    out += Prefixes[k - 1];
    out += L'B';
    return out;
}

int WholePercent(uint64_t part, uint64_t whole) {
    if (whole == 0) {
        return 0;
    }
    const uint64_t whole100 = part / whole;
    const uint64_t rest = part % whole;
    if (whole100 >= static_cast<uint64_t>(INT_MAX / 100)) {
        return INT_MAX; // only for figures that make no sense
    }
    uint64_t fraction = 0;
    if (rest <= UINT64_MAX / 400 && whole <= UINT64_MAX / 2) {
        fraction = (rest * 200 + whole) / (2 * whole);
    } else {
        fraction = static_cast<uint64_t>(std::round(static_cast<double>(rest) * 100.0 / static_cast<double>(whole)));
    }
    return static_cast<int>(whole100 * 100 + fraction);
}

std::wstring MemoryText(const MemoryFigures& m) {
    const auto line = [](const wchar_t* label, uint64_t avail, uint64_t total) {
        return label + FormatByteSize(avail) + L" (" + std::to_wstring(WholePercent(avail, total)) + L"%)";
    };
    return line(L"物理メモリ: ", m.AvailPhys, m.TotalPhys) + L"\r\n" +
           line(L"仮想メモリ: ", m.AvailVirtual, m.TotalVirtual) + L"\r\n" +
           line(L"ページ ファイル: ", m.AvailPageFile, m.TotalPageFile);
}

std::wstring PowerText(const PowerStatus& p) {
    std::wstring out;
    if (p.ACLineStatus != 0) {
        out += p.ACLineStatus == 1 ? L"AC 電源" : p.ACLineStatus == 2 ? L"UPS 電源" : L"その他の電源";
        out += L"\r\n";
    }
    out += L"バッテリ";
    const bool noBattery = (p.BatteryFlag & 0x80) != 0; // also 255, unknown
    const bool charging = (p.BatteryFlag & 0x08) != 0;
    const bool onBattery = p.ACLineStatus == 0;
    const uint8_t percent = p.BatteryLifePercent;
    // 255 means the charge is unknown: no "(255% 完了)".
    const bool percentKnown = percent <= 100;
    if (noBattery) {
        out += L"なし";
    } else if (charging) {
        out += percent < 100 ? L"充電中" : percent == 100 ? L"充電完了" : L"不明";
        if (percent < 100) {
            out += L" (" + std::to_wstring(percent) + L"% 完了)";
        }
    } else {
        out += onBattery ? L"使用中" : L"不明";
        if (onBattery && percentKnown) {
            out += L" (残り " + std::to_wstring(percent) + L"%)";
        }
    }
    return out;
}

std::wstring ExpandTextEscapes(std::wstring_view text, const SystemFigures& figures) {
    // Each figure is read at most once, and only when an escape needs it.
    std::optional<std::optional<std::wstring>> memory;
    std::optional<std::optional<std::wstring>> power;
    return ExpandEscapes(text, [&](wchar_t letter) -> std::optional<std::wstring> {
        switch (letter) {
        case L'n':
            return L"\r\n";
        case L't':
            return Quoted(UptimeText(figures.MillisecondsSinceStart));
        case L'm':
            if (!memory) {
                memory.emplace(figures.Memory ? std::optional(Quoted(MemoryText(figures.Memory()))) : std::nullopt);
            }
            return *memory;
        case L'p':
            if (!power) {
                std::optional<PowerStatus> status = figures.Power ? figures.Power() : std::nullopt;
                power.emplace(status ? std::optional(Quoted(PowerText(*status))) : std::nullopt);
            }
            return *power;
        default:
            return std::nullopt;
        }
    });
}

std::wstring ExpandDateEscapes(std::wstring_view text, double dateTime) {
    const DateTimeParts t = SplitDateTime(dateTime);
    return ExpandEscapes(text, [&](wchar_t letter) -> std::optional<std::wstring> {
        switch (letter) {
        case L'o':
            return Quoted(OldMonthNames[t.Month - 1]);
        case L'd':
            return Quoted(L"第 " + std::to_wstring((t.Day - 1) / 7 + 1));
        default:
            return std::nullopt;
        }
    });
}

std::wstring ExpandTooltipFormat(std::wstring_view format, double dateTime, const SystemFigures& figures,
                                 const LocaleFacts& locale) {
    return FormatDateTime(ExpandDateEscapes(ExpandTextEscapes(format, figures), dateTime), dateTime, locale);
}

NotificationText SplitNotification(std::wstring_view text) {
    NotificationText result{names::ProductName, std::wstring(text)};
    const size_t bar = text.find(L'|');
    if (bar == std::wstring_view::npos) {
        return result;
    }
    if (bar > 0) {
        result.Title += L" - ";
        result.Title += text.substr(0, bar);
    }
    result.Body = text.substr(bar + 1);
    return result;
}

} // namespace lumora

// The settings file is read once at start and written once at exit; both should stay far
// below anything a user could notice, even for a file grown large by hand or by accident.

#include "settings/IniDocument.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace lumora;

namespace {

// A file as the program writes it: every section, long server lists and the week of minutes.
std::wstring TypicalText() {
    const wchar_t* sections[] = {L"View",          L"Operation",   L"WorldClock",  L"Animation", L"Format",
                                 L"Design",        L"CuckooClock", L"AdjustClock", L"NTPServer", L"HTTPServer",
                                 L"IgnoreWindows", L"Timer",       L"Telop",       L"Omake",     L"Boot"};
    std::wstring text;
    for (const wchar_t* section : sections) {
        text += L"[";
        text += section;
        text += L"]\r\n";
        const std::wstring name = section;
        if (name == L"NTPServer" || name == L"HTTPServer") {
            for (int i = 1; i <= 100; ++i) {
                text += L"Server" + std::to_wstring(i) + L"=time" + std::to_wstring(i) + L".example.net\r\n";
            }
        } else if (name == L"View") {
            text += L"VisibleHours=" + std::wstring(10080, L'1') + L"\r\n";
            text += L"Placement=0,10,10\r\nCustomColors=000000,101010,202020,303030,404040\r\n";
        } else {
            for (int i = 1; i <= 12; ++i) {
                text += L"Key" + std::to_wstring(i) + L"=" + std::to_wstring(i * 37) + L"\r\n";
            }
        }
        text += L"\r\n";
    }
    return text;
}

void ParseTypical(benchmark::State& state) {
    const std::wstring text = TypicalText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(IniDocument::Parse(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * sizeof(wchar_t)));
}
BENCHMARK(ParseTypical);

void SerializeTypical(benchmark::State& state) {
    const IniDocument doc = IniDocument::Parse(TypicalText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.Serialize());
    }
}
BENCHMARK(SerializeTypical);

// What an exit does: every key written back, the server lists rewritten from scratch.
void RewriteTypical(benchmark::State& state) {
    const std::wstring text = TypicalText();
    for (auto _ : state) {
        IniDocument doc = IniDocument::Parse(text);
        for (int i = 1; i <= 12; ++i) {
            doc.WriteString(L"Omake", L"key" + std::to_wstring(i), L"1");
        }
        doc.EraseSection(L"NTPServer");
        for (int i = 1; i <= 100; ++i) {
            doc.WriteString(L"NTPServer", L"Server" + std::to_wstring(i), L"ntp.example.net");
        }
        benchmark::DoNotOptimize(doc.Serialize());
    }
}
BENCHMARK(RewriteTypical);

// A 10 MB file: many repeated sections and keys, which the parser has to merge.
void ParseHuge(benchmark::State& state) {
    std::wstring text;
    for (int i = 0; text.size() < 10'000'000; ++i) {
        text += L"[Section" + std::to_wstring(i % 1000) + L"]\r\nKey" + std::to_wstring(i) + L"=some value\r\n";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(IniDocument::Parse(text));
    }
}
BENCHMARK(ParseHuge)->Unit(benchmark::kMillisecond);

} // namespace

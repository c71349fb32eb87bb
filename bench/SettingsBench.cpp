// Reading all settings at start and writing them at exit, for a full file: every key, 100-entry
// server and window lists and a week of visible minutes with every value in use.

#include "settings/SettingsSchema.h"

#include <benchmark/benchmark.h>

using namespace lumora;

namespace {

Settings FullSettings() {
    Settings s = DefaultSettings({});
    for (int i = 0; i < 100; ++i) {
        s.NTPServer.push_back(L"ntp" + std::to_wstring(i) + L".example.jp");
        s.HTTPServer.push_back(L"www" + std::to_wstring(i) + L".example.jp");
        s.IgnoreWindows.push_back({L"Window title " + std::to_wstring(i), L"Class" + std::to_wstring(i)});
    }
    for (size_t minute = 0; minute < s.View.VisibleHours.size(); ++minute) {
        s.View.VisibleHours[minute] = static_cast<uint8_t>(minute % 3);
    }
    return s;
}

std::wstring FullFileText() {
    IniDocument document;
    WriteSettings(document, FullSettings(), L'.');
    return document.Serialize();
}

void ReadFullSettingsFile(benchmark::State& state) {
    const std::wstring text = FullFileText();
    for (auto _ : state) {
        Settings s = DefaultSettings({});
        LoadBootSettings(IniDocument::Parse(text), s.Boot);
        LoadSettings(IniDocument::Parse(text), s, {});
        benchmark::DoNotOptimize(s);
    }
    state.SetLabel(std::to_string(text.size()) + " characters");
}
BENCHMARK(ReadFullSettingsFile);

// At exit the current file is read again so unknown keys survive, then rewritten whole.
void WriteFullSettingsFile(benchmark::State& state) {
    const std::wstring text = FullFileText();
    const Settings s = FullSettings();
    for (auto _ : state) {
        IniDocument document = IniDocument::Parse(text);
        WriteSettings(document, s, L'.');
        benchmark::DoNotOptimize(document.Serialize());
    }
}
BENCHMARK(WriteFullSettingsFile);

} // namespace

#pragma once
// Reading the settings record from the settings file and writing it back, key by key.

#include "settings/IniDocument.h"
#include "settings/Settings.h"

#include <array>

namespace lumora {

struct LoadOptions {
    wchar_t DecimalSeparator = L'.';
    bool LayeredWindowsAvailable = true;
};

// The process priority classes the options dialog offers, in the order of its six entries: idle,
// below normal, normal, above normal, high, real time.
constexpr std::array<int32_t, 6> OfferedPriorityClasses{IdlePriorityClass, 16384, 32, 32768, 128, 256};

// The rules the loader applies to what it read, for any record: the options dialog runs them on
// what the user entered, so a value is honoured the same way whichever road it came by.
void NormaliseSettings(Settings& settings, const LoadOptions& options);
// The part of those rules that start-up applies before the master window exists.
void NormaliseBootSettings(BootSettings& boot);

// The Boot keys, read by start-up before anything else.
void LoadBootSettings(const IniDocument& document, BootSettings& boot);

// Every other key, in the order the master window reads them. `settings` holds the defaults on
// entry; a missing or unreadable value keeps its default.
void LoadSettings(const IniDocument& document, Settings& settings, const LoadOptions& options);

// Writes every key, section by section, into a document that already holds the file's current
// content, so that keys this program does not know survive.
void WriteSettings(IniDocument& document, const Settings& settings, wchar_t decimalSeparator);

} // namespace lumora

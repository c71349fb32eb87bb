#pragma once
// Reading the settings record from the settings file and writing it back, key by key.

#include "settings/IniDocument.h"
#include "settings/Settings.h"

namespace lumora {

struct LoadOptions {
    wchar_t DecimalSeparator = L'.';
    bool LayeredWindowsAvailable = true;
};

// The Boot keys, read by start-up before anything else.
void LoadBootSettings(const IniDocument& document, BootSettings& boot);

// Every other key, in the order the master window reads them. `settings` holds the defaults on
// entry; a missing or unreadable value keeps its default.
void LoadSettings(const IniDocument& document, Settings& settings, const LoadOptions& options);

// Writes every key, section by section, into a document that already holds the file's current
// content, so that keys this program does not know survive.
void WriteSettings(IniDocument& document, const Settings& settings, wchar_t decimalSeparator);

} // namespace lumora

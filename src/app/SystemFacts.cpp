#include "app/SystemFacts.h"

#include "clock/LocalePatterns.h"

#include <windows.h>

namespace lumora {
namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[128] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer))) > 0 ? buffer : L"";
}

std::wstring UserInterfaceFontName() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0] != L'\0') {
        return metrics.lfMessageFont.lfFaceName;
    }
    return SystemDefaults{}.UiFontName;
}

} // namespace

SystemDefaults ReadSystemDefaults() {
    SystemDefaults defaults;
    defaults.UiFontName = UserInterfaceFontName();
    defaults.MasterFontName = defaults.UiFontName;
    const std::wstring longDate = LocaleText(LOCALE_SLONGDATE);
    if (!longDate.empty()) {
        defaults.LongDatePattern = TranslateWindowsPattern(longDate);
    }
    return defaults;
}

wchar_t ReadDecimalSeparator() {
    const std::wstring separator = LocaleText(LOCALE_SDECIMAL);
    return separator.empty() ? L'.' : separator[0];
}

SystemColourTable ReadSystemColours() {
    SystemColourTable colours{};
    for (size_t i = 0; i < colours.size(); ++i) {
        colours[i] = GetSysColor(static_cast<int>(i));
    }
    return colours;
}

bool LayeredWindowsSupported() {
    HMODULE user32 = LoadLibraryW(L"user32.dll");
    if (user32 == nullptr) {
        return false;
    }
    const bool available = GetProcAddress(user32, "UpdateLayeredWindow") != nullptr;
    FreeLibrary(user32);
    return available;
}

} // namespace lumora

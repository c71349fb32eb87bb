#pragma once
// The hidden master window: it owns the settings for the whole run and writes them back when
// it closes or when Windows ends the session.

#include "settings/DerivedSettings.h"
#include "settings/SettingsLocation.h"
#include "shell/KZForm.h"

#include <memory>

namespace lumora {

// What the entry found out before the master window exists.
struct StartupContext {
    SettingsLocation* Location = nullptr;
    BootSettings Boot;
    bool LayeredWindowsAvailable = false;
    UINT ShowOptionsMessage = 0;
};

class TMasterForm final : public TKZForm {
public:
    // Reads every setting from `document` and creates the window; null when that fails.
    static std::unique_ptr<TMasterForm> Create(StartupContext& context, const IniDocument& document);

    const Settings& CurrentSettings() const { return settings_; }

private:
    explicit TMasterForm(StartupContext& context);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormCreate(const IniDocument& document);
    void FormClose();
    void FormEndSession(bool ending);
    void WriteAllSettings();

    StartupContext& context_;
    Settings settings_;
    DerivedSettings derived_;
    wchar_t decimalSeparator_ = L'.';
    bool settingsWritten_ = false;
};

} // namespace lumora

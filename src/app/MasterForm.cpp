#include "app/MasterForm.h"

#include "app/AppNames.h"
#include "app/SystemFacts.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSchema.h"
#include "shell/MessageBoxes.h"

namespace lumora {

TMasterForm::TMasterForm(StartupContext& context) : context_(context) {}

std::unique_ptr<TMasterForm> TMasterForm::Create(StartupContext& context, const IniDocument& document) {
    std::unique_ptr<TMasterForm> form(new TMasterForm(context));
    const std::wstring caption = std::wstring(names::ProductName) + L" " + LoadResourceString(IDS_MASTER_CAPTION);
    CreateParams params;
    params.ClassName = names::MasterFormClass;
    params.Caption = caption.c_str();
    params.Style = WS_POPUP | WS_DISABLED;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    params.Left = -32000;
    params.Top = -32000;
    if (!form->CreateForm(params)) {
        return nullptr;
    }
    form->FormCreate(document);
    return form;
}

void TMasterForm::FormCreate(const IniDocument& document) {
    decimalSeparator_ = ReadDecimalSeparator();
    settings_ = DefaultSettings(ReadSystemDefaults());
    settings_.Boot = context_.Boot;
    LoadSettings(document, settings_, {decimalSeparator_, context_.LayeredWindowsAvailable});
    derived_ = DeriveSettings(settings_, ReadSystemColours());
}

LRESULT TMasterForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        FormEndSession(wParam != FALSE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

void TMasterForm::FormClose() {
    WriteAllSettings();
    DestroyWindow(Handle());
}

// Windows ends the process after this message without closing the window: write now, or
// every change of this run would be lost at logoff or shutdown.
void TMasterForm::FormEndSession(bool ending) {
    if (ending) {
        WriteAllSettings();
    }
}

void TMasterForm::WriteAllSettings() {
    if (settingsWritten_) {
        return;
    }
    settingsWritten_ = true;
    // Values that live in the running process rather than in the record.
    const DWORD priority = GetPriorityClass(GetCurrentProcess());
    if (priority != 0) {
        settings_.Boot.Priority = static_cast<int32_t>(priority);
    }
    WindowsSettingsPrompts prompts;
    context_.Location->WriteAll(prompts, [this](IniDocument& document) {
        WriteSettings(document, settings_, decimalSeparator_);
    });
}

} // namespace lumora

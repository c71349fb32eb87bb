#pragma once
// The world-clock dialog: the clock shifted by a fixed time, or showing a time zone of the
// system's list. Every change reaches the clock at once; Cancel puts the settings back as they
// were when the dialog opened.

#include "clock/DateTimeFormat.h"
#include "settings/Settings.h"
#include "shell/DialogForm.h"
#include "tools/WorldClockModel.h"

#include <functional>
#include <memory>
#include <vector>

namespace lumora {

class HelpViewer;

struct WorldClockContext {
    WorldClockSettings Settings;                          // as the dialog opens
    std::function<void(const WorldClockSettings&)> Apply; // the clock, its menu and the calendar follow
    std::function<int()> TimeZoneBias;                    // minutes, the computer's
    LocaleFacts Locale;
    const HelpViewer* Help = nullptr;
};

class TWorldClockForm final : public TDialogForm {
public:
    // Built and shown without modality; null when the dialog cannot be made.
    static std::unique_ptr<TWorldClockForm> Create(HWND owner, WorldClockContext context);

private:
    explicit TWorldClockForm(WorldClockContext context) : context_(std::move(context)), original_(context_.Settings) {}

    bool OnInitDialog() override;
    void OnOk() override { Finish(true); }
    void OnCancel() override { Finish(false); }
    void OnCommand(int id, int code) override;
    LRESULT OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormHelp() override;
    void FormShow();
    void ShowTab(int tab);
    void ApplyChoices();
    void UpdatePreview();
    void Finish(bool keep);

    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

    WorldClockContext context_;
    WorldClockSettings original_;
    std::vector<TimeZoneEntry> zones_;
    bool applying_ = false; // off until the dialog stands
    static constexpr UINT_PTR PreviewTimerId = 1;
};

} // namespace lumora

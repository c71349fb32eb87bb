#pragma once
// The timer's dialog: the duration with its presets, the announcement and what to do when the time
// is up, start and stop, and the time left while a countdown runs. The countdown belongs to the
// master and goes on when the dialog closes; the dialog hands the master every edit at once.

#include "settings/Settings.h"
#include "shell/DialogForm.h"
#include "tools/Countdown.h"
#include "tools/TimerPower.h"

#include <functional>
#include <memory>

namespace lumora {

struct TimerFormContext {
    CountdownTimer* Countdown = nullptr;
    // The master's [Timer] section as it stands now.
    std::function<TimerSettings()> CurrentSettings;
    // The whole section with an edit in it, for the master to apply as any change of settings.
    std::function<void(const TimerSettings&)> ChangeSettings;
    // Now in the scale of the due time: the displayed time.
    std::function<double()> DisplayedNow;
};

class TTimerForm final : public TDialogForm {
public:
    // Built and shown without modality; null when the dialog cannot be made.
    static std::unique_ptr<TTimerForm> Create(HWND owner, TimerFormContext context);

    // Each step of a running countdown.
    void ShowRemaining(double remaining);
    // The countdown fired: back to editing, with the duration as it was.
    void CountdownEnded();

private:
    explicit TTimerForm(TimerFormContext context) : context_(std::move(context)) {}

    // Cancel ("非表示", Esc, the close box) is the base's: the dialog goes, the countdown goes on
    // without it. There is no OK.
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void StartButtonClick();
    void DetailsButtonClick();
    void BrowseButtonClick();
    void PresetMenu(HWND from, LPARAM point);
    void DurationPicked();
    void DetailsTimer();
    // Hands the master its [Timer] section with edit made to it.
    template <class Edit> void ChangeSettings(Edit edit);

    // Where the controls stand: editing or running, which rows the choices show.
    void ShowEditing();
    void ShowRunning(double remaining);
    void ApplyRules();
    void SetDuration(double duration);
    double PickerDuration() const;
    void ResizeForDetails(bool animate);
    void DpiChanged(int dpi);

    HWND Item(int id) const { return GetDlgItem(Handle(), id); }

    TimerFormContext context_;
    bool loading_ = true;     // the controls are being filled: nothing to store
    PowerCapabilities power_; // as read when the dialog was made
    int dpi_ = 96;            // of the two heights
    int collapsedHeight_ = 0;
    int expandedHeight_ = 0;
    int heightStep_ = 1;
    static constexpr UINT_PTR DetailsTimerId = 1;
};

} // namespace lumora

#pragma once
// The hidden master window: it reads the settings, creates the parts of the program (the clock,
// the notification area, the sound player, the tick) and owns them for the whole run, hands them
// the tick and the system's messages in a fixed order, carries out the menu's commands, and
// writes the settings back when it closes or when Windows ends the session.

#include "adjust/ClockPrivilege.h"
#include "adjust/ClockSetter.h"
#include "app/AfterPass.h"
#include "app/BroadcastOverlays.h"
#include "menu/CommandIds.h"
#include "app/MasterRules.h"
#include "app/MasterStandIn.h"
#include "menu/PopupMenu.h"
#include "clock/SystemFacts.h"
#include "app/TestHooks.h"
#include "app/TickEngine.h"
#include "app/WindowOwner.h"
#include "clock/ClockDisplay.h"
#include "options/OptionValues.h"
#include "settings/DerivedSettings.h"
#include "settings/SettingsLocation.h"
#include "shell/HelpViewer.h"
#include "shell/KZForm.h"
#include "tray/NotificationArea.h"
#include "sound/HourlySignal.h"
#include "sound/SoundPlayer.h"
#include "tools/Countdown.h"

#include <memory>
#include <set>
#include <vector>

namespace lumora {

// What the entry found out before the master window exists.
struct StartupContext {
    SettingsLocation* Location = nullptr;
    BootSettings Boot;
    bool LayeredWindowsAvailable = false;
    UserInterfaceFeatures::DrawTextWFunction DrawTextW = nullptr;
    UINT ShowOptionsMessage = 0;
};

class TMasterForm final : public TKZForm {
public:
    // Reads every setting from `document`, creates the window and the parts, and starts the tick;
    // null when the window cannot be created.
    static std::unique_ptr<TMasterForm> Create(StartupContext& context, const IniDocument& document);

    // One pass of the clock; a full redraw resizes, rebuilds and pushes whatever changed.
    void UpdateClock(bool fullRedraw);
    // Takes a new settings record and rebuilds exactly what its changes touch.
    // The options dialog's Apply also builds the logo and call-sign windows afresh, changed or
    // not: a logo file mended on disk then shows.
    void ApplySettings(const Settings& next, bool rebuildOverlays = false);
    // A command of the popup menu; false when it is not one this program carries out.
    bool RunCommand(CommandId command);
    // Opens a caption over the screen in place of any other (lines separated by CR LF); the
    // clock stays hidden while it shows. False when there was nothing to show.
    bool ShowTelop(const std::wstring& text, bool allowSound);
    bool TelopShowing() const;

    // Whether the message loop has to call ApplicationIdle when the queue runs empty.
    bool HasIdleWork() const;
    void ApplicationIdle();

private:
    explicit TMasterForm(StartupContext& context);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormCreate(const IniDocument& document);
    void ShowSplashes();
    void CreateParts();
    void CreateClockSetter();
    void StartTick();
    void FormClose();
    void FormEndSession(bool ending);
    void FormDestroy();
    void WriteAllSettings();

    // System messages.
    void TickMessage();
    void SysColorChange();
    void SettingChange();
    void TimeChange();
    void DisplayChange(WPARAM bitsPerPixel, LPARAM size);
    void PowerBroadcast(WPARAM event);
    void SoundNotify(WPARAM flags);
    // Closes the master's sound device after the end of playback or a stop.
    void CloseSound();
    void TimerMessage(WPARAM id);

    // The icon, the clock and the temporary display.
    // Inside a pass (the master's own click) the running pass serves as the click's pass: the
    // answer is whether that pass is to draw the whole face.
    bool TaskTrayIconClick(ClickSender sender);
    void TaskTrayIconDblClick();
    void TaskTrayIconBalloonClick();
    void StopSounds();
    // The caption closes at once (the icon's click); a click on the caption itself.
    void CloseTelop();
    void TelopClicked();

    // The hourly signal, once the pass has drawn the face, and its announcement.
    void SoundTheHour(const PassContext& pass);
    void AnnounceTheHour(const Announcement& announcement);

    // The broadcast around the clock: call signs and logos on every monitor, the omake windows
    // of the first show, the test pattern.
    OverlayScene CurrentOverlayScene() const;
    void RebuildCallSigns();
    void RebuildLogos();
    // The stacking action: every overlay takes the clock's mode, and last the clock itself.
    void RestackWindows();
    void ShowOmakeWindows();
    void TestPatternActionExecute();
    void TestPatternClosed();

    // Setting the computer's clock: a run of the menu, and what every run's end brings.
    void StartAdjust(std::optional<AdjustSource> source);
    void AdjustClockZero();
    void AdjustFinished(const AdjustResult& result, AdjustKind kind);
    // A set refused for want of the right: the user may have it made with administrator rights.
    void OfferElevatedSet(const AdjustResult& refused, AdjustKind kind);
    void ElevatedSetFinished(const AdjustResult& refused, AdjustKind kind, const ElevatedSetRun& run);
    // The sound, the refresh and the message a run's end brings.
    void ReportAdjust(const AdjustResult& result, AdjustKind kind);
    // Lets the messages other programs send the master and the icon through when the program runs
    // with administrator rights.
    void AllowMessagesFromOtherPrograms();
    // Another sound of the master's: the cuckoo's chain gives way to it.
    void PlayMasterSound(const std::wstring& fileName);

    // The popup menu, from the clock or the icon, and what its states depend on.
    void ShowPopupMenu(POINT point);
    MenuContext CurrentMenuContext() const;

    // The world clock and the opacity: their dialogs, and each of their changes reaching the
    // clock at once; the about box.
    void WorldClockActionExecute();
    void ApplyWorldClock(const WorldClockSettings& worldClock);
    void AlphaBlendActionExecute();
    void ApplyAlphaBlend(int opacity);
    void AboutActionExecute();
    // The open tool window of a kind comes forward; true when there was one.
    bool BringForward(WindowKind kind);

    // The options dialog, what it learns of the system when it opens, and its clock-setting
    // tests.
    void OptionActionExecute();
    OptionFacts CurrentOptionFacts() const;
    HWND OptionsWindow() const;
    void TestAdjust(HWND owner, int method, const AdjustClockSettings& adjust);

    // Commands.
    void ArrangeCorner(Corner corner);
    bool RunInPlace(CommandId command);
    void ZOrderAction(StackingMode mode);
    void ApplySettingsText(const std::wstring& iniText);

    // Window timers of the master window.
    static constexpr UINT_PTR ForcedShowTimer = 1;
    static constexpr UINT_PTR SingleClickTimer = 2;
    // Messages of the master window's own (WM_APP + 1 belongs to the test hooks).
    static constexpr UINT AfterPassMessage = WM_APP + 2;
    static constexpr UINT ClockSetterMessage = WM_APP + 3;

    StartupContext& context_;
    Settings settings_;
    DerivedSettings derived_;
    SystemFacts facts_;
    bool settingsWritten_ = false;
    // Set when start-up has finished, so the splash windows may go.
    std::shared_ptr<bool> startupFinished_ = std::make_shared<bool>(false);
    // Commands another program sent while start-up waited on a call of its own: they would act
    // on settings not yet read and parts not yet made, so they run once start-up is done.
    std::vector<WPARAM> commandsDuringStartup_;
    // The commands that hand over to Windows and are still waiting for it.
    std::set<CommandId> runningInPlace_;

    WindowOwner windows_;
    CallSignOverlay callSigns_{windows_};
    LogoOverlay logos_{windows_};
    OmakeOverlay omake_{windows_};
    TestPatternOverlay testPattern_{windows_};
    bool firstPassDone_ = false;
    std::unique_ptr<ClockDisplay> clock_;
    std::unique_ptr<NotificationArea> tray_;
    std::unique_ptr<SoundPlayer> sound_;
    std::unique_ptr<HourlySignal> signal_;
    std::unique_ptr<AfterPass> afterPass_;
    std::unique_ptr<TMasterStandIn> standIn_; // the menu's owner, before the menu that uses it
    std::unique_ptr<PopupMenu> menu_;
    HelpViewer help_;
    std::unique_ptr<ClockSetter> clockSetter_;
    ClockPrivilegeRules clockPrivilege_;
    std::optional<ElevatedSetRun> lastElevatedSet_; // for the test hooks
    bool kitPortSelected_ = true;                   // at the options dialog's last Apply
    std::unique_ptr<TickEngine> tick_;
    std::unique_ptr<TestHooks> testHooks_; // only when the tests ask for it

    // The calendar
    void CalendarActionExecute();
    // WM_TIMECHANGE and new settings: today again, the shown month kept.
    void RefreshCalendar();

    // The countdown timer
    void TimerActionExecute();
    // The pass's step, on the displayed time before the animation lead.
    void TimerStep(double displayed, const DateTimeParts& taken);
    std::unique_ptr<CountdownTimer> countdown_;
};

} // namespace lumora

#pragma once
// The hidden master window: it owns the settings and the clock window for the whole run, runs
// one pass of the clock per tick, and writes the settings back when it closes or when Windows
// ends the session.

#include "app/SystemFacts.h"
#include "app/TickEngine.h"
#include "clock/ClockFace.h"
#include "clock/DateTime.h"
#include "clock/DateTimeFormat.h"
#include "clock/LumoraForm.h"
#include "clock/Visibility.h"
#include "settings/DerivedSettings.h"
#include "settings/SettingsLocation.h"
#include "shell/KZForm.h"
#include "shell/TaskTrayIcon.h"
#include "sound/SoundPlayer.h"

#include <memory>
#include <optional>
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
    // Reads every setting from `document`, creates the window and the clock, and starts the
    // tick; null when the window cannot be created.
    static std::unique_ptr<TMasterForm> Create(StartupContext& context, const IniDocument& document);

    const Settings& CurrentSettings() const { return settings_; }

    // Actions on the clock window (the popup menu's commands).
    void ArrangeCorner(Corner corner);
    void ZOrderAction(StackingMode mode);
    void KeyMove();
    // Called when the message queue runs empty: keeps an always-in-front clock in front.
    void ApplicationIdle();
    // Whether ApplicationIdle has anything to do in the current stacking mode.
    bool HasIdleWork() const;

    // One pass of the clock; a full redraw resizes, rebuilds and pushes whatever changed.
    void UpdateClock(bool fullRedraw);
    // Rebuilds the glyph strip from the design settings.
    void BuildDigitImages();

private:
    explicit TMasterForm(StartupContext& context);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormCreate(const IniDocument& document);
    void FormClose();
    void FormEndSession(bool ending);
    void FormDestroy();
    void WriteAllSettings();

    // Messages.
    void TickMessage();
    void SysColorChange();
    void SettingChange();
    void TimeChange();
    void DisplayChange(WPARAM bitsPerPixel, LPARAM size);
    void PowerBroadcast(WPARAM event);
    void SoundNotify(WPARAM flags, LPARAM device);
    void ShowOptionsRequested();
    LRESULT TestCommand(const COPYDATASTRUCT& data);
    void TestPlay();
    static constexpr UINT TestPlayMessage = WM_APP + 1;
    // Window timers of the master window.
    static constexpr UINT_PTR ForcedShowTimer = 1;
    static constexpr UINT_PTR SingleClickTimer = 2;

    // The notification-area icon and the sound.
    void CreateTaskTrayIcon();
    enum class ClickSender { Icon, Clock, Master };
    void TaskTrayIconClick(ClickSender sender);
    void TaskTrayIconDblClick();
    void TaskTrayIconBalloonClick();
    void TaskTrayIconRecreate();
    void StopSounds();
    void TimerMessage(WPARAM id);
    void StartForcedShow();
    void ShowNotification(const std::wstring& text, int balloonKind, int beepKind);
    std::wstring ExpandFormat(const std::wstring& format, double displayed) const;
    void CreateClockWindow();

    // Steps of a pass whose features come with later parts of the program.
    void StartAutomaticAdjustment(double now);
    void StepTimer(double displayed, const DateTimeParts& parts);
    void RefreshToolTips(double displayed, const DateTimeParts& parts);
    void ArmTemporaryDisplay(double displayed, const DateTimeParts& parts);
    std::optional<int> DecideVisibility(const DateTimeParts& parts);
    void CompleteHide();
    std::optional<int> ApplyMouseBehaviour(bool fullRedraw);
    void ShowTaskbarClock(bool show);
    void ForcedShowTick();
    void RunTimeSignal(double displayed);
    void RebuildLogos();
    void RebuildCallSigns();
    void CreatePendingOverlays();

    // The clock face.
    void PaintFace(const std::wstring& text, int widthInCells, bool fullRedraw);
    void PushFace(bool fullRedraw);
    FaceContext CurrentFaceContext() const;

    // System facts, read at start and when the system says they changed.
    void ReadTimeZoneBias();
    void ReadDisplay();

    StartupContext& context_;
    Settings settings_;
    DerivedSettings derived_;
    SystemColourTable systemColours_{};
    wchar_t decimalSeparator_ = L'.';
    bool settingsWritten_ = false;
    // Set when start-up has finished, so the splash windows may go; shared with them, as they
    // may outlive a failed start.
    std::shared_ptr<bool> startupFinished_ = std::make_shared<bool>(false);

    std::unique_ptr<TLumoraForm> clock_;
    ClockFace face_;
    Visibility visibility_;
    LocaleFacts locale_;
    bool inPass_ = false;
    bool telopShowing_ = false; // a caption window is open
    bool temporaryDisplayArmed_ = false;
    int lastToolTipSecond_ = -1;
    std::wstring clockHint_;
    HWND lastTopWindow_ = nullptr;
    std::unique_ptr<TickEngine> tick_;
    std::unique_ptr<TKZTaskTrayIcon> trayIcon_;
    std::unique_ptr<SoundPlayer> sound_;
    bool testHooks_ = false; // set by the tests only
    std::wstring pendingTestPlay_;
    bool singleClickPending_ = false;
    bool taskbarClockWasVisible_ = false;
    std::wstring previousText_;
    int timeZoneBias_ = 0;
    int colourDepth_ = 32;
    SIZE screenSize_{0, 0};
    int dpi_ = 96;
    std::vector<RECT> monitorRects_;
    bool firstPassDone_ = false;
    bool overlayCreationPending_ = false;
    bool faultOnTick_ = false; // set by the tests' fault trigger only
};

} // namespace lumora

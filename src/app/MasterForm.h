#pragma once
// The hidden master window: it reads the settings, creates the parts of the program (the clock,
// the notification area, the sounds, the broadcast overlays, the tool windows, the clock setting,
// the menu, the tick) and owns them for the whole run, hands them the pass, the settings changes,
// the commands and the system's messages in a fixed order, and writes the settings back when it
// closes or when Windows ends the session.

#include "app/Announcer.h"
#include "app/BroadcastOverlays.h"
#include "app/ClockAdjuster.h"
#include "app/MasterRules.h"
#include "app/TestHooks.h"
#include "app/TickEngine.h"
#include "app/ToolWindows.h"
#include "clock/ClockDisplay.h"
#include "clock/SystemFacts.h"
#include "menu/ProgramMenu.h"
#include "settings/SettingsLocation.h"
#include "shell/KZForm.h"
#include "sound/MasterSounds.h"
#include "tray/NotificationArea.h"

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
    // Reads every setting from `document`, creates the window and the parts, and starts the tick;
    // null when the window cannot be created.
    static std::unique_ptr<TMasterForm> Create(StartupContext& context, const IniDocument& document);

    // One pass of the clock; a full redraw resizes, rebuilds and pushes whatever changed.
    void UpdateClock(bool fullRedraw);
    // The one door for new settings: takes a new record and rebuilds exactly what its changes
    // touch. The options dialog's Apply also builds the logo and call-sign windows afresh,
    // changed or not: a logo file mended on disk then shows.
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
    // Start: the parts, then the settings they are made for, the clock setting and the tick.
    void FormCreate(const IniDocument& document);
    void CreateParts();
    void CreateFeatures();
    void CreateTestHooks();
    void StartTick();
    // The end: the settings written once, the parts gone before the window.
    void FormClose();
    void FormEndSession(bool ending);
    void FormDestroy();
    void WriteAllSettings();

    // System messages.
    void TickMessage();
    void SysColorChange();
    void DisplayChange(WPARAM bitsPerPixel, LPARAM size);
    // A message another part owns (menu drawing, sounds, the clock setting's workers, the
    // announcer, the test hooks); nothing when none does.
    std::optional<LRESULT> PartMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CommandMessage(WPARAM wParam);

    // A click on the icon or the clock, or the temporary display's. Inside a pass (the master's
    // own click) the running pass serves as the click's pass: the answer is whether that pass is
    // to draw the whole face.
    bool TaskTrayIconClick(ClickSender sender);

    // The broadcast overlays are built against the clock and the monitors as they are now; the
    // stacking action gives every overlay the clock's mode, and last the clock itself.
    OverlayScene CurrentOverlayScene() const;
    void RestackWindows();

    // The popup menu, from the clock or the icon, and what its states depend on.
    void ShowPopupMenu(POINT point);
    MenuContext CurrentMenuContext() const;

    // The options dialog: it exists once, edits a copy of the settings, and each Apply hands the
    // master a new record.
    void OptionActionExecute();

    // Window timers and messages of the master window's own (WM_APP + 1 belongs to the test hooks).
    static constexpr UINT_PTR ForcedShowTimer = 1;
    static constexpr UINT_PTR SingleClickTimer = 2;
    static constexpr UINT AfterPassMessage = WM_APP + 2;
    static constexpr UINT ClockSetterMessage = WM_APP + 3;

    // The course of this run: its tick, its start and end, and the hooks when the tests drive it.
    struct RunState {
        std::unique_ptr<TickEngine> Tick;
        // Set when start-up has finished, so the splash windows may go.
        std::shared_ptr<bool> StartupFinished = std::make_shared<bool>(false);
        // Commands another program sent while start-up waited on a call of its own: they would
        // act on settings not yet read and parts not yet made, so they run once start-up is done.
        std::vector<WPARAM> CommandsDuringStartup;
        bool FirstPassDone = false;
        bool SettingsWritten = false;
        std::unique_ptr<TestHooks> Hooks; // only when the tests ask for it
    };

    StartupContext& context_;
    Settings settings_;
    SystemFacts facts_;
    RunState run_;
    std::unique_ptr<ClockDisplay> clock_;
    std::unique_ptr<NotificationArea> tray_;
    std::unique_ptr<MasterSounds> sounds_;
    std::unique_ptr<Announcer> announcer_;
    std::unique_ptr<BroadcastOverlays> broadcast_;
    std::unique_ptr<ToolWindows> tools_;
    std::unique_ptr<ProgramMenu> menu_;
    std::unique_ptr<ClockAdjuster> adjuster_;
};

} // namespace lumora

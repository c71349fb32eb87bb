#pragma once
// The options pages without a group: "操作", "時報", "時刻合わせ", "起動", "おまけ". What their
// controls show, loaded from the settings and written back on Apply, and which controls are
// shown and enabled. Each page's Bind pairs its values with their settings once, for Load and
// Apply alike (options/PageBinding.h).

#include "options/OptionFields.h"

namespace lumora {

enum class AbortKey { Ctrl, Alt, Shift };

// Page 11 "操作".
struct OperationPage {
    bool Snap = false;
    std::wstring SnapPosition;
    bool SnapTaskBar = false;
    bool NoProtrude = false;
    std::wstring SnapX;
    std::wstring SnapY;
    int OnMouse = 0; // entry index
    std::wstring Threshold;
    int HoleSize = 0;
    AbortKey Abort = AbortKey::Ctrl;
    int32_t HotKey = 0;
    bool Momentary = false;

    struct Rules {
        bool SnapDetailsEnabled = false; // every snapping control but the check box
        bool AbortKeysShown = false;
        bool ThresholdShown = false;
        bool HoleSizeShown = false;
    };

    // Letting clicks through needs layered windows; without them the last entry is not offered.
    static int OnMouseEntryCount(bool layeredWindowsAvailable);
    static OperationPage Load(const Settings& settings, bool layeredWindowsAvailable);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
    // The label beside the hot key: "キーコード: %d", or nothing when no key is set.
    std::wstring KeyCodeText() const;

    // The hot-key control's value for a stored key and back: the virtual key in the low byte,
    // the modifiers in the high byte (Shift 1, Ctrl 2, Alt 4; 8 marks an extended key, which
    // only names the key and is not stored).
    static uint16_t HotKeyControlValue(int32_t shortcut);
    static int32_t ShortcutOfHotKeyControl(uint16_t value);
};

// Page 12 "時報".
struct CuckooPage {
    int Mode = 0;
    std::wstring Timing;
    bool HalfHour = false;
    bool InvisibleSilent = false;
    std::wstring FirstFile;
    bool Repeat = false;
    std::wstring RepeatFile;
    std::wstring LastFile;
    std::array<std::wstring, 24> WildBird; // index = hour
    int SelectedHour = -1;                 // the selected row of the wild-bird list
    int Notify = 0;
    std::wstring Message;

    struct Rules {
        bool SignalShown = false; // timing, silence, notification and message
        bool MessageEnabled = false;
        bool CuckooShown = false; // half hour, the three files with their buttons, repeat
        bool RepeatFileEnabled = false;
        bool FirstPreviewEnabled = false;
        bool RepeatPreviewEnabled = false;
        bool LastPreviewEnabled = false;
        bool WildBirdShown = false; // the list and the selected row's field with its buttons
        bool WildBirdPreviewEnabled = false;
    };

    static CuckooPage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

// The buttons beside a server box.
struct ServerButtons {
    bool Test = false;
    bool Add = false;
    bool Delete = false;
};

// The server lists the dialog offers while the settings hold none; made elsewhere.
struct BuiltInServers {
    std::vector<std::wstring> Ntp;
    std::vector<std::wstring> Http;
};

// Page 13 "時刻合わせ".
struct AdjustPage {
    static constexpr int MethodNone = 0;
    static constexpr int MethodNtp = 1;
    static constexpr int MethodHttp = 2;
    static constexpr int MethodKit = 3;

    int Method = 0;
    std::vector<std::wstring> NtpServers; // the entries of the server box
    std::wstring NtpServer;               // its text
    std::wstring NtpPort;
    std::wstring NtpTimeOut;
    std::wstring NtpOffset;
    std::vector<std::wstring> HttpServers;
    std::wstring HttpServer;
    std::wstring ProxyServer;
    std::wstring ProxyPort;
    std::wstring HttpTimeOut;
    std::wstring HttpOffset;
    std::vector<std::wstring> Ports; // the port names behind the entries of the port box, sorted
    int Port = -1;                   // the selected entry; -1 when the list is empty
    std::wstring KitTimeOut;
    int32_t KitTimeOutPosition = 0; // its up-down's, which stands when the text is unreadable
    std::wstring KitOffset;
    bool BootAdjust = false;
    bool AutoAdjust = false;
    std::wstring Interval; // minutes
    bool Message = false;
    bool Sound = false;
    std::wstring SoundFile;

    struct Rules {
        bool NtpShown = false;
        bool HttpShown = false;
        bool KitShown = false;
        bool CommonShown = false; // start, periodic, interval, message and sound
        bool IntervalEnabled = false;
        bool MessageEnabled = false;
        bool SoundEnabled = false;
        bool SoundPreviewEnabled = false;
        ServerButtons Ntp;
        ServerButtons Http;
    };

    // `ports` are the serial ports found on the system, sorted.
    static AdjustPage Load(const Settings& settings, std::vector<std::wstring> ports, const BuiltInServers& builtIn);
    // The radio clock cannot be chosen without a serial port.
    static bool MethodAllowed(int method, bool hasPorts);
    // Whether the overload guard must forget the last contact: a different server, a move
    // between NTP and HTTP, or (while editing, not on Apply) the radio clock chosen.
    bool ForgetsLastContact(const AdjustClockSettings& stored, bool whileEditing) const;
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
    // A port entry is chosen; without one Apply keeps the stored port, and the menu does not
    // offer the kit's command.
    bool PortSelected() const { return Port >= 0 && Port < static_cast<int>(Ports.size()); }

    // "削除(&E)" of a server box: deletes the entry the box's text names (the selected one when
    // it does; a typed name leaves no selection or a stale one). Gives the entry to select then,
    // the one before the deleted one (-1: none), or nothing when no entry was deleted.
    static std::optional<int> DeleteServer(std::vector<std::wstring>& servers, int selected, std::wstring_view text);
};

// Page 14 "起動". The start-up shortcut and the settings-file location are not settings; the
// dialog reads them from the page and acts on them itself.
struct BootPage {
    bool StartUp = false;
    bool Splash = false;
    bool Delay = false;
    std::wstring DelayValue;
    bool NoCheckDuplicate = false;
    int Priority = 0;            // entry index
    int Location = 0;            // 0 the program's folder, 1 the application-data folder
    bool StartUpClicked = false; // since the last Apply, even when clicked back
    int32_t DelayPosition = 0;   // the delay's up-down, which stands when the text is unreadable

    struct Facts {
        bool ShortcutExists = false;
        bool UseAppDataFolder = false;
        int32_t PriorityClass = 0; // the process's current class
        bool LayeredWindowsAvailable = true;
    };

    struct Rules {
        bool DelayValueEnabled = false;
    };

    // settings.Boot holds the process-wide start-up values.
    static BootPage Load(const Settings& settings, const Facts& facts);
    void Apply(Settings& settings, bool layeredWindowsAvailable);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

// What an Apply does to the shortcut in the Startup folder, by what the box asks and what is
// there. A shortcut that cannot be read counts as another program's: it is neither kept silently
// while the box says it starts Lumora, nor deleted as if it were ours.
enum class StartupShortcutFound { None, Ours, OtherProgram, Unreadable };
enum class StartupShortcutStep { Nothing, Create, AskOverwrite, Delete, KeepOtherProgram };
StartupShortcutStep NextStartupShortcutStep(bool wanted, StartupShortcutFound found);

// Page 15 "おまけ".
struct OmakePage {
    bool Omake = false;
    bool Logo = false;
    std::wstring LogoFile;
    int LogoPosition = 0;
    bool CallSign = false;
    int CallSignPosition = 0;
    bool TestPattern = false;
    std::wstring StationName;
    std::wstring ParentBureau;
    std::wstring Channel;
    std::wstring CallSignText;
    bool DigitalMaster = false;
    bool TestingWave = false;

    struct Rules {
        bool LogoEnabled = false; // the field, its button, the position and labels
        bool CallSignPositionEnabled = false;
        NumberRange ChannelRange;
        int ChannelDigits = 0;
    };

    static OmakePage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

} // namespace lumora

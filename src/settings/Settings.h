#pragma once
// Every setting of the program, one field per key of the settings file, grouped by the file's
// sections. The member initialisers are the defaults; the few defaults that depend on the
// running system come from SystemDefaults.

#include "settings/ValueCodecs.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// Date-times count days from 1899-12-30; this one means "never" or "not set".
constexpr double NeverDate = -657434.0;
constexpr double OneMinute = 1.0 / 1440.0;

constexpr int MinutesPerWeek = 7 * 24 * 60;

// Facts of the running system that some defaults are made of.
struct SystemDefaults {
    std::wstring UiFontName = L"MS UI Gothic";
    std::wstring MasterFontName = L"MS UI Gothic";
    std::wstring LongDatePattern = L"yyyy'\u5E74'm'\u6708'd'\u65E5'"; // yyyy'年'm'月'd'日'
};

// The product word in double quotes, the two characters \n, then the long date.
std::wstring DefaultToolTipFormat(const SystemDefaults& system);

struct ClockPlacement {
    int32_t ZOrder = 0;
    int32_t Left = 10;
    int32_t Top = 10;

    bool operator==(const ClockPlacement&) const = default;
};

struct IgnoredWindow {
    std::wstring Title;
    std::wstring ClassName;

    bool operator==(const IgnoredWindow&) const = default;
};

struct ViewSettings {
    ClockPlacement Placement;
    int32_t OptionSelectedTab = 0;
    bool OpenDialogAutoPlay = false;
    bool HideTaskTrayClock = false;
    std::vector<std::wstring> CustomColors = DefaultCustomColors();
    std::array<uint8_t, MinutesPerWeek> VisibleHours = AllMinutesVisible();
    int32_t AutoHideTime = 10;
    int32_t AutoHideTiming = 0;
    int32_t AlphaBlend = 255;
    std::wstring CalendarFontName;
    int32_t ToolTipStyle = 0;
    std::wstring ToolTipFormat;
    int32_t ToolTipTime = 0;
    bool TaskTrayIcon = true;
    std::wstring TaskTrayToolTipFormat;
    bool ShowCalendar = false;
    bool VisibleChangeType = false;
    bool ShowMenuIcon = false;
    bool UseModernMenu = false;

    static constexpr size_t CustomColorCount = 16;
    static std::vector<std::wstring> DefaultCustomColors();
    static std::array<uint8_t, MinutesPerWeek> AllMinutesVisible();

    bool operator==(const ViewSettings&) const = default;
};

struct OperationSettings {
    bool Fixed = false;
    bool SnapWindow = true;
    bool NoProtrudeSnap = true;
    int32_t SnapPosition = 10;
    int32_t SnapMode = 1;
    std::array<int32_t, 2> SnapPoint{10, 10};
    int32_t OnMouseHideType = 0;
    int32_t OnMouseHideThreshold = 0;
    int32_t OnMouseHoleSize = 31;
    int32_t OnMouseAbortKey = 17;
    int32_t VisibleChangeKey = 0;

    bool operator==(const OperationSettings&) const = default;
};

struct WorldClockSettings {
    bool WorldClockMode = false;
    double TimeDiffTime = 0.0;
    int32_t TimeZone = 0;
    // The chosen zone's key name in the system's zone list: it finds the zone again after an
    // update of the list has moved the positions TimeZone counts.
    std::wstring TimeZoneName;
    double WorldClockTime = 0.0;

    bool operator==(const WorldClockSettings&) const = default;
};

struct AnimationSettings {
    int32_t Type = 0;
    int32_t Speed = 15;
    int32_t Timing = 0;
    int32_t FlashColonType = 0;
    bool ReverseFlash = false;

    bool operator==(const AnimationSettings&) const = default;
};

struct FormatSettings {
    bool Hour = true;
    bool Hour12 = true;
    bool Hour0 = true;
    bool Hour24 = true;
    bool HourDouble = false;
    bool Minute = true;
    bool MinuteDouble = true;
    bool Second = false;
    bool SecondDouble = true;

    bool operator==(const FormatSettings&) const = default;
};

// Colour constants of the defaults (system colours stand for the user's current colour).
constexpr Colour ColourBlack = 0x000000;
constexpr Colour ColourGray = 0x808080;
constexpr Colour ColourWhite = 0xFFFFFF;
constexpr Colour ColourSystemBackground = SystemColourFlag | 1;
constexpr Colour ColourSystemBtnShadow = SystemColourFlag | 16;
constexpr Colour ColourSystemBtnHighlight = SystemColourFlag | 20;

// Design.DigitType
constexpr int32_t DigitTypeBuiltIn = 0;
constexpr int32_t DigitTypeFont = 1;
constexpr int32_t DigitTypeFile = 2;

// Design.BackGroundType
constexpr int32_t BackGroundTransparent = 0;
constexpr int32_t BackGroundColour = 1;
constexpr int32_t BackGroundGradient = 2;
constexpr int32_t BackGroundPicture = 3;

struct DesignSettings {
    int32_t Alignment = 1;
    int32_t DigitType = 0;
    int32_t DigitStyle = 0;
    int32_t DigitSize = 0;
    std::wstring DigitFontName;
    int32_t DigitFontSize = 0;
    int32_t DigitFontStyle = 0; // bit 0 bold, bit 1 italic
    bool DigitFontFullWidth = false;
    std::wstring DigitFile;
    bool DigitUntouched = false;
    int32_t DigitSpacing = 10;
    bool DigitSpacingRelative = false;
    std::array<int32_t, 4> DigitMargin{0, 0, 0, 0}; // left, top, right, bottom
    Colour DigitColor = ColourWhite;
    Colour Color = ColourSystemBackground;
    Colour GradationColor1 = ColourSystemBtnHighlight;
    Colour GradationColor2 = ColourSystemBtnShadow;
    bool GradationStyle = false;
    int32_t BackGroundType = 0;
    int32_t BackGroundStyle = 1;
    std::wstring BackGroundFile;
    int32_t BackGroundAlpha = 255;
    bool InnerFrame = false;
    bool OuterFrame = true;
    Colour InnerFrameColor = ColourWhite;
    Colour OuterFrameColor = ColourBlack;
    int32_t InnerFrameSize = 2;
    int32_t OuterFrameSize = 2;
    bool InnerFrameRelative = false;
    bool OuterFrameRelative = false;
    bool Shadow = false;
    Colour ShadowColor = ColourGray;
    int32_t ShadowSize = 2;
    bool ShadowRelative = false;

    bool operator==(const DesignSettings&) const = default;
};

struct CuckooClockSettings {
    int32_t CuckooClockMode = 0;
    bool CuckooClockRepeat = false;
    bool CuckooClock30 = false;
    std::array<std::wstring, 24> WildBirdSound; // index = hour
    std::wstring FirstCuckooClockFile;
    std::wstring RepeatCuckooClockFile;
    std::wstring LastCuckooClockFile;
    int32_t CuckooClockTiming = 0;
    bool InVisibleSilent = false;
    int32_t NotifyType = 0;
    std::wstring Message;

    bool operator==(const CuckooClockSettings&) const = default;
};

struct AdjustClockSettings {
    int32_t AdjustType = 0;
    std::wstring CurrentNTPServer;
    int32_t NTPLocalPort = 80;
    int32_t NTPTimeOut = 10;
    int32_t NTPOffset = 0;
    std::wstring CurrentHTTPServer;
    std::wstring HTTPProxyServer;
    int32_t HTTPProxyPort = 0;
    int32_t HTTPTimeOut = 10;
    int32_t HTTPOffset = 0;
    double LastConnectedTime = NeverDate;
    bool AdjustMessage = true;
    bool BootAdjust = false;
    bool AutoAdjust = false;
    double AutoAdjustInterval = 360 * OneMinute;
    bool AdjustSound = false;
    std::wstring AdjustSoundFile;
    std::wstring CurrentJJYPort = L"COM1";
    int32_t JJYTimeOut = 10;
    int32_t JJYOffset = 0;

    bool operator==(const AdjustClockSettings&) const = default;
};

struct TimerSettings {
    double Time = 3 * OneMinute;
    int32_t NotifyType = 1;
    bool Option = false;
    std::wstring Program;

    bool operator==(const TimerSettings&) const = default;
};

struct TelopSettings {
    std::wstring FontName;
    std::wstring Title;
    bool Scroll = false;
    bool Flash = false;
    int32_t ChangeSpeed = 4000;
    int32_t ScrollSpeed = 25;
    int32_t FlashSpeed = 350;
    int32_t FlashCount = 4;
    bool Sound = false;
    std::wstring SoundFile;

    bool operator==(const TelopSettings&) const = default;
};

struct OmakeSettings {
    bool OmakeWindow = false;
    bool ShowTestPattern = false;
    bool LogoWindow = false;
    int32_t LogoAlignment = 1;
    std::wstring LogoFile;
    bool LogoRelative = false;
    bool CallSignWindow = false;
    int32_t CallSignAlignment = 0;
    std::wstring StationName;
    std::wstring ParentBureauName;
    std::wstring CallSign;
    int32_t Channel = 2;
    bool DigitalMaster = false;
    bool TestingWave = true;

    bool operator==(const OmakeSettings&) const = default;
};

// Process priority classes as Windows numbers them.
constexpr int32_t IdlePriorityClass = 64;

struct BootSettings {
    bool NoCheckDuplicate = false;
    bool BootDelay = false;
    int32_t BootDelayValue = 100;
    bool ShowSplash = true;
    int32_t Priority = IdlePriorityClass;

    bool operator==(const BootSettings&) const = default;
};

struct Settings {
    ViewSettings View;
    OperationSettings Operation;
    WorldClockSettings WorldClock;
    AnimationSettings Animation;
    FormatSettings Format;
    DesignSettings Design;
    CuckooClockSettings CuckooClock;
    AdjustClockSettings AdjustClock;
    std::vector<std::wstring> NTPServer;  // empty: the built-in list is offered
    std::vector<std::wstring> HTTPServer; // empty: the built-in list is offered
    std::vector<IgnoredWindow> IgnoreWindows;
    TimerSettings Timer;
    TelopSettings Telop;
    OmakeSettings Omake;
    BootSettings Boot;

    bool operator==(const Settings&) const = default;
};

// The defaults of every key on this system.
Settings DefaultSettings(const SystemDefaults& system);

} // namespace lumora

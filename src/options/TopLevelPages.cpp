#include "options/TopLevelPages.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr NumberRange SnapPositionRange{1, 100};
constexpr NumberRange SnapPointRange{-200, 200};
constexpr NumberRange ThresholdRange{-10, 50};
constexpr NumberRange SignalTimingRange{-60000, 60000};
constexpr NumberRange LocalPortRange{0, 9999};
constexpr NumberRange TimeOutRange{1, 60};
constexpr NumberRange OffsetRange{-600000, 600000};
constexpr NumberRange IntervalRange{1, 10080};
constexpr NumberRange BootDelayRange{100, 60000};
constexpr int32_t UnreadablePort = 80;
// The loader raises shorter intervals to this; the dialog keeps the same floor.
constexpr int32_t ShortestInterval = 10;
constexpr double MinutesPerDay = 1440.0;

constexpr int32_t ShiftKey = 16;
constexpr int32_t CtrlKey = 17;
constexpr int32_t AltKey = 18;

// Modifier bits of a stored key and of the hot-key control: Shift, Ctrl, Alt.
constexpr std::array<std::pair<int32_t, int>, 3> HotKeyModifiers{{{0x2000, 1}, {0x4000, 2}, {0x8000, 4}}};
constexpr int HotKeyExtended = 8;

constexpr int OnMouseHide = 1;
constexpr int OnMouseHole = 2;
constexpr int CuckooClockMode = 1;
constexpr int WildBirdMode = 2;

std::vector<std::wstring> OfferedServers(const std::vector<std::wstring>& stored,
                                         const std::vector<std::wstring>& builtIn) {
    return stored.empty() ? builtIn : stored;
}

ServerButtons ButtonsFor(const std::wstring& text, const std::vector<std::wstring>& list) {
    const bool listed = FindListText(list, text) >= 0;
    return {!text.empty(), !text.empty() && !listed, !text.empty() && listed};
}

} // namespace

int OperationPage::OnMouseEntryCount(bool layered) {
    return layered ? 4 : 3;
}

OperationPage OperationPage::Load(const Settings& s, bool layered) {
    const auto& o = s.Operation;
    OperationPage page;
    page.Snap = o.SnapWindow;
    page.SnapPosition = NumberText(o.SnapPosition);
    page.SnapTaskBar = o.SnapMode == 1;
    page.NoProtrude = o.NoProtrudeSnap;
    page.SnapX = NumberText(o.SnapPoint[0]);
    page.SnapY = NumberText(o.SnapPoint[1]);
    page.OnMouse = o.OnMouseHideType >= 0 && o.OnMouseHideType < OnMouseEntryCount(layered) ? o.OnMouseHideType : 0;
    page.Threshold = NumberText(o.OnMouseHideThreshold);
    page.HoleSize = std::clamp(o.OnMouseHoleSize, 0, 200);
    page.Abort = o.OnMouseAbortKey == ShiftKey ? AbortKey::Shift
                 : o.OnMouseAbortKey == AltKey ? AbortKey::Alt
                                               : AbortKey::Ctrl;
    page.HotKey = o.VisibleChangeKey;
    page.Momentary = s.View.VisibleChangeType;
    return page;
}

void OperationPage::Apply(Settings& s) {
    auto& o = s.Operation;
    o.SnapWindow = Snap;
    o.SnapPosition = TakeNumber(SnapPosition, SnapPositionRange);
    o.SnapMode = SnapTaskBar ? 1 : 0;
    o.NoProtrudeSnap = NoProtrude;
    o.SnapPoint = {TakeNumber(SnapX, SnapPointRange), TakeNumber(SnapY, SnapPointRange)};
    o.OnMouseHideType = OnMouse;
    // The up-down's position stands when the text is unreadable.
    o.OnMouseHideThreshold = TakeNumber(Threshold, ThresholdRange, o.OnMouseHideThreshold);
    o.OnMouseHoleSize = HoleSize;
    o.OnMouseAbortKey = Abort == AbortKey::Shift ? ShiftKey : Abort == AbortKey::Alt ? AltKey : CtrlKey;
    o.VisibleChangeKey = HotKey;
    s.View.VisibleChangeType = Momentary;
}

OperationPage::Rules OperationPage::Evaluate() const {
    return {Snap, OnMouse != 0, OnMouse == OnMouseHide, OnMouse == OnMouseHole};
}

std::wstring OperationPage::KeyCodeText() const {
    return HotKey != 0 ? L"キーコード: " + NumberText(HotKey) : std::wstring();
}

uint16_t OperationPage::HotKeyControlValue(int32_t shortcut) {
    const int key = shortcut & 0xFF;
    // Page keys, arrows, Insert, Delete, the keypad's divide key and Num Lock sit on the
    // extended part of the keyboard; without the mark the control names the keypad keys.
    const bool extended = (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F || key == 0x90;
    int modifiers = extended ? HotKeyExtended : 0;
    for (const auto& [stored, control] : HotKeyModifiers) {
        modifiers |= (shortcut & stored) != 0 ? control : 0;
    }
    return static_cast<uint16_t>(key | modifiers << 8);
}

int32_t OperationPage::ShortcutOfHotKeyControl(uint16_t value) {
    int32_t shortcut = value & 0xFF;
    for (const auto& [stored, control] : HotKeyModifiers) {
        shortcut |= ((value >> 8) & control) != 0 ? stored : 0;
    }
    return shortcut;
}

CuckooPage CuckooPage::Load(const Settings& s) {
    const auto& c = s.CuckooClock;
    CuckooPage page;
    page.Mode = c.CuckooClockMode;
    page.Timing = NumberText(c.CuckooClockTiming);
    page.HalfHour = c.CuckooClock30;
    page.InvisibleSilent = c.InVisibleSilent;
    page.FirstFile = c.FirstCuckooClockFile;
    page.Repeat = c.CuckooClockRepeat;
    page.RepeatFile = c.RepeatCuckooClockFile;
    page.LastFile = c.LastCuckooClockFile;
    page.WildBird = c.WildBirdSound;
    page.Notify = c.NotifyType;
    page.Message = c.Message;
    return page;
}

void CuckooPage::Apply(Settings& s) {
    auto& c = s.CuckooClock;
    c.CuckooClockMode = Mode;
    c.CuckooClockTiming = TakeNumber(Timing, SignalTimingRange);
    c.CuckooClock30 = HalfHour;
    c.InVisibleSilent = InvisibleSilent;
    c.FirstCuckooClockFile = FirstFile;
    c.CuckooClockRepeat = Repeat;
    c.RepeatCuckooClockFile = RepeatFile;
    c.LastCuckooClockFile = LastFile;
    c.WildBirdSound = WildBird;
    c.NotifyType = Notify;
    c.Message = Message;
}

CuckooPage::Rules CuckooPage::Evaluate() const {
    Rules r;
    r.SignalShown = Mode != 0;
    r.MessageEnabled = Notify != 0;
    r.CuckooShown = Mode == CuckooClockMode;
    r.RepeatFileEnabled = Repeat;
    r.FirstPreviewEnabled = !FirstFile.empty();
    r.RepeatPreviewEnabled = Repeat && !RepeatFile.empty();
    r.LastPreviewEnabled = !LastFile.empty();
    r.WildBirdShown = Mode == WildBirdMode;
    r.WildBirdPreviewEnabled =
        SelectedHour >= 0 && SelectedHour < static_cast<int>(WildBird.size()) && !WildBird[SelectedHour].empty();
    return r;
}

AdjustPage AdjustPage::Load(const Settings& s, std::vector<std::wstring> ports, const BuiltInServers& builtIn) {
    const auto& a = s.AdjustClock;
    AdjustPage page;
    page.Method = a.AdjustType;
    page.NtpServers = OfferedServers(s.NTPServer, builtIn.Ntp);
    page.NtpServer = a.CurrentNTPServer;
    page.NtpPort = NumberText(a.NTPLocalPort);
    page.NtpTimeOut = NumberText(a.NTPTimeOut);
    page.NtpOffset = NumberText(a.NTPOffset);
    page.HttpServers = OfferedServers(s.HTTPServer, builtIn.Http);
    page.HttpServer = a.CurrentHTTPServer;
    page.ProxyServer = a.HTTPProxyServer;
    page.ProxyPort = NumberText(a.HTTPProxyPort);
    page.HttpTimeOut = NumberText(a.HTTPTimeOut);
    page.HttpOffset = NumberText(a.HTTPOffset);
    page.Ports = std::move(ports);
    // The list holds upper-case names, and the match is exact: a port written in lower case
    // finds nothing and the first port is taken.
    const auto found = std::find(page.Ports.begin(), page.Ports.end(), a.CurrentJJYPort);
    page.Port = page.Ports.empty() ? -1 : found == page.Ports.end() ? 0 : static_cast<int>(found - page.Ports.begin());
    page.KitTimeOut = NumberText(a.JJYTimeOut);
    page.KitTimeOutPosition = a.JJYTimeOut;
    page.KitOffset = NumberText(a.JJYOffset);
    page.BootAdjust = a.BootAdjust;
    page.AutoAdjust = a.AutoAdjust;
    page.Interval = NumberText(static_cast<int32_t>(std::lround(a.AutoAdjustInterval * MinutesPerDay)));
    page.Message = a.AdjustMessage;
    page.Sound = a.AdjustSound;
    page.SoundFile = a.AdjustSoundFile;
    return page;
}

bool AdjustPage::MethodAllowed(int method, bool hasPorts) {
    return method != MethodKit || hasPorts;
}

bool AdjustPage::ForgetsLastContact(const AdjustClockSettings& stored, bool whileEditing) const {
    const bool internetSwitched = (stored.AdjustType == MethodNtp && Method == MethodHttp) ||
                                  (stored.AdjustType == MethodHttp && Method == MethodNtp);
    return NtpServer != stored.CurrentNTPServer || HttpServer != stored.CurrentHTTPServer || internetSwitched ||
           (whileEditing && Method == MethodKit);
}

void AdjustPage::Apply(Settings& s) {
    auto& a = s.AdjustClock;
    s.NTPServer = NtpServers;
    s.HTTPServer = HttpServers;
    if (ForgetsLastContact(a, false)) {
        a.LastConnectedTime = NeverDate;
    }
    a.AdjustType = Method;
    a.CurrentNTPServer = NtpServer;
    a.NTPLocalPort = TakeNumber(NtpPort, LocalPortRange, UnreadablePort);
    a.NTPTimeOut = TakeNumber(NtpTimeOut, TimeOutRange);
    a.NTPOffset = TakeNumber(NtpOffset, OffsetRange);
    a.CurrentHTTPServer = HttpServer;
    a.HTTPProxyServer = ProxyServer;
    a.HTTPProxyPort = TakeNumber(ProxyPort, LocalPortRange, UnreadablePort);
    a.HTTPTimeOut = TakeNumber(HttpTimeOut, TimeOutRange);
    a.HTTPOffset = TakeNumber(HttpOffset, OffsetRange);
    // Without a selected port the stored one stays, ready for when the kit is plugged in again.
    if (PortSelected()) {
        a.CurrentJJYPort = Ports[Port];
    }
    // The up-down's position stands when the text is unreadable.
    a.JJYTimeOut = TakeNumber(KitTimeOut, TimeOutRange, KitTimeOutPosition);
    a.JJYOffset = TakeNumber(KitOffset, OffsetRange);
    a.BootAdjust = BootAdjust;
    a.AutoAdjust = AutoAdjust;
    int32_t minutes = TakeNumber(Interval, IntervalRange);
    if (minutes < ShortestInterval) {
        minutes = ShortestInterval;
        Interval = NumberText(minutes);
    }
    a.AutoAdjustInterval = minutes * OneMinute; // as the loader counts, so its minimum compares equal
    a.AdjustMessage = Message;
    a.AdjustSound = Sound;
    a.AdjustSoundFile = SoundFile;
}

AdjustPage::Rules AdjustPage::Evaluate() const {
    Rules r;
    r.NtpShown = Method == MethodNtp;
    r.HttpShown = Method == MethodHttp;
    r.KitShown = Method == MethodKit;
    r.CommonShown = Method != MethodNone;
    r.IntervalEnabled = AutoAdjust;
    r.MessageEnabled = AutoAdjust || BootAdjust;
    r.SoundEnabled = Sound;
    r.SoundPreviewEnabled = Sound && !SoundFile.empty();
    r.Ntp = ButtonsFor(NtpServer, NtpServers);
    r.Http = ButtonsFor(HttpServer, HttpServers);
    return r;
}

std::optional<int> AdjustPage::DeleteServer(std::vector<std::wstring>& servers, int selected, std::wstring_view text) {
    // The selection can be stale once a name was typed over it; it only tells which of two
    // equal entries goes.
    const bool selectionShown = selected >= 0 && selected < static_cast<int>(servers.size()) &&
                                SameListText(servers[static_cast<size_t>(selected)], text);
    const int doomed = selectionShown ? selected : FindListText(servers, text);
    if (doomed < 0) {
        return std::nullopt;
    }
    servers.erase(servers.begin() + doomed);
    return doomed - 1;
}

BootPage BootPage::Load(const Settings& s, const Facts& facts) {
    const auto& b = s.Boot;
    BootPage page{facts.ShortcutExists,
                  b.ShowSplash,
                  b.BootDelay,
                  NumberText(b.BootDelayValue),
                  b.NoCheckDuplicate,
                  PriorityEntryOfClass(facts.PriorityClass, facts.LayeredWindowsAvailable),
                  facts.UseAppDataFolder ? 1 : 0};
    page.DelayPosition = b.BootDelayValue;
    return page;
}

void BootPage::Apply(Settings& s, bool layered) {
    auto& b = s.Boot;
    b.ShowSplash = Splash;
    b.BootDelay = Delay;
    // The up-down's position stands when the text is unreadable.
    b.BootDelayValue = TakeNumber(DelayValue, BootDelayRange, DelayPosition);
    b.NoCheckDuplicate = NoCheckDuplicate;
    b.Priority = PriorityClassOfEntry(Priority, layered);
}

BootPage::Rules BootPage::Evaluate() const {
    return {Delay};
}

StartupShortcutStep NextStartupShortcutStep(bool wanted, StartupShortcutFound found) {
    switch (found) {
    case StartupShortcutFound::None:
        return wanted ? StartupShortcutStep::Create : StartupShortcutStep::Nothing;
    case StartupShortcutFound::Ours:
        return wanted ? StartupShortcutStep::Nothing : StartupShortcutStep::Delete;
    case StartupShortcutFound::OtherProgram:
    case StartupShortcutFound::Unreadable:
        return wanted ? StartupShortcutStep::AskOverwrite : StartupShortcutStep::KeepOtherProgram;
    }
    return StartupShortcutStep::Nothing;
}

OmakePage OmakePage::Load(const Settings& s) {
    const auto& o = s.Omake;
    OmakePage page;
    page.Omake = o.OmakeWindow;
    page.Logo = o.LogoWindow;
    page.LogoFile = o.LogoFile;
    page.LogoPosition = o.LogoAlignment;
    page.CallSign = o.CallSignWindow;
    page.CallSignPosition = o.CallSignAlignment;
    page.TestPattern = o.ShowTestPattern;
    page.StationName = o.StationName;
    page.ParentBureau = o.ParentBureauName;
    page.Channel = NumberText(o.Channel);
    page.CallSignText = o.CallSign;
    page.DigitalMaster = o.DigitalMaster;
    page.TestingWave = o.TestingWave;
    return page;
}

void OmakePage::Apply(Settings& s) {
    auto& o = s.Omake;
    o.OmakeWindow = Omake;
    o.LogoWindow = Logo;
    o.LogoFile = LogoFile;
    o.LogoAlignment = LogoPosition;
    o.CallSignWindow = CallSign;
    o.CallSignAlignment = CallSignPosition;
    o.ShowTestPattern = TestPattern;
    o.StationName = StationName;
    o.ParentBureauName = ParentBureau;
    o.Channel = TakeNumber(Channel, Evaluate().ChannelRange);
    o.CallSign = CallSignText;
    o.DigitalMaster = DigitalMaster;
    o.TestingWave = TestingWave;
}

OmakePage::Rules OmakePage::Evaluate() const {
    // Digital channels have three digits; analogue ones ended at 62.
    return {Logo, CallSign, DigitalMaster ? NumberRange{1, 999} : NumberRange{1, 62}, DigitalMaster ? 3 : 2};
}

} // namespace lumora

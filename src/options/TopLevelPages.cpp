#include "options/TopLevelPages.h"

#include "options/PageBinding.h"

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

// The list holds upper-case names, and the match is exact: a port written in lower case finds
// nothing and the first port is taken; -1 when there is no port.
int PortEntry(const std::vector<std::wstring>& ports, const std::wstring& port) {
    const auto found = std::find(ports.begin(), ports.end(), port);
    return ports.empty() ? -1 : found == ports.end() ? 0 : static_cast<int>(found - ports.begin());
}

// The stored interval counts days; the field, whole minutes.
std::wstring IntervalText(double days) {
    return NumberText(static_cast<int32_t>(std::lround(days * MinutesPerDay)));
}

double TakeInterval(std::wstring& text) {
    int32_t minutes = TakeNumber(text, IntervalRange);
    if (minutes < ShortestInterval) {
        minutes = ShortestInterval;
        text = NumberText(minutes);
    }
    return minutes * OneMinute; // as the loader counts, so its minimum compares equal
}

AbortKey AbortKeyOf(int32_t key) {
    return key == ShiftKey ? AbortKey::Shift : key == AltKey ? AbortKey::Alt : AbortKey::Ctrl;
}

int32_t KeyOfAbort(AbortKey abort) {
    return abort == AbortKey::Shift ? ShiftKey : abort == AbortKey::Alt ? AltKey : CtrlKey;
}

} // namespace

template <class Io, class S> void OperationPage::Bind(const Io& io, S& s) {
    auto& o = s.Operation;
    io.Same(Snap, o.SnapWindow);
    io.Number(SnapPosition, o.SnapPosition, SnapPositionRange);
    io.Convert(
        SnapTaskBar, o.SnapMode, [](int32_t mode) { return mode == 1; }, [](bool taskBar) { return taskBar ? 1 : 0; });
    io.Same(NoProtrude, o.NoProtrudeSnap);
    io.Number(SnapX, o.SnapPoint[0], SnapPointRange);
    io.Number(SnapY, o.SnapPoint[1], SnapPointRange);
    io.Same(OnMouse, o.OnMouseHideType);
    // The up-down's position, which is the stored value, stands when the text is unreadable.
    io.Number(Threshold, o.OnMouseHideThreshold, ThresholdRange, o.OnMouseHideThreshold);
    io.Convert(HoleSize, o.OnMouseHoleSize, KeptWithin({0, 200}), AsIs);
    io.Convert(Abort, o.OnMouseAbortKey, AbortKeyOf, KeyOfAbort);
    io.Same(HotKey, o.VisibleChangeKey);
    io.Same(Momentary, s.View.VisibleChangeType);
}

template <class Io, class S> void CuckooPage::Bind(const Io& io, S& s) {
    auto& c = s.CuckooClock;
    io.Same(Mode, c.CuckooClockMode);
    io.Number(Timing, c.CuckooClockTiming, SignalTimingRange);
    io.Same(HalfHour, c.CuckooClock30);
    io.Same(InvisibleSilent, c.InVisibleSilent);
    io.Same(FirstFile, c.FirstCuckooClockFile);
    io.Same(Repeat, c.CuckooClockRepeat);
    io.Same(RepeatFile, c.RepeatCuckooClockFile);
    io.Same(LastFile, c.LastCuckooClockFile);
    io.Same(WildBird, c.WildBirdSound);
    io.Same(Notify, c.NotifyType);
    io.Same(Message, c.Message);
}

// Ports are the system's, set before a load.
template <class Io, class S> void AdjustPage::Bind(const Io& io, S& s) {
    auto& a = s.AdjustClock;
    io.Same(Method, a.AdjustType);
    io.Same(NtpServers, s.NTPServer);
    io.Same(NtpServer, a.CurrentNTPServer);
    io.Number(NtpPort, a.NTPLocalPort, LocalPortRange, UnreadablePort);
    io.Number(NtpTimeOut, a.NTPTimeOut, TimeOutRange);
    io.Number(NtpOffset, a.NTPOffset, OffsetRange);
    io.Same(HttpServers, s.HTTPServer);
    io.Same(HttpServer, a.CurrentHTTPServer);
    io.Same(ProxyServer, a.HTTPProxyServer);
    io.Number(ProxyPort, a.HTTPProxyPort, LocalPortRange, UnreadablePort);
    io.Number(HttpTimeOut, a.HTTPTimeOut, TimeOutRange);
    io.Number(HttpOffset, a.HTTPOffset, OffsetRange);
    io.Convert(
        Port, a.CurrentJJYPort, [this](const std::wstring& port) { return PortEntry(Ports, port); },
        // Without a selected port the stored one stays, ready for when the kit is plugged in again.
        [this](int) { return PortSelected() ? std::optional(Ports[Port]) : std::nullopt; });
    // The up-down's position stands when the text is unreadable.
    io.LoadOnly(KitTimeOutPosition, a.JJYTimeOut);
    io.Number(KitTimeOut, a.JJYTimeOut, TimeOutRange, KitTimeOutPosition);
    io.Number(KitOffset, a.JJYOffset, OffsetRange);
    io.Same(BootAdjust, a.BootAdjust);
    io.Same(AutoAdjust, a.AutoAdjust);
    io.Convert(Interval, a.AutoAdjustInterval, IntervalText, TakeInterval);
    io.Same(Message, a.AdjustMessage);
    io.Same(Sound, a.AdjustSound);
    io.Same(SoundFile, a.AdjustSoundFile);
}

// The start-up shortcut, the priority and the settings-file location are the process's facts,
// not settings: BootPage::Load reads them from there.
template <class Io, class S> void BootPage::Bind(const Io& io, S& s) {
    auto& b = s.Boot;
    io.Same(Splash, b.ShowSplash);
    io.Same(Delay, b.BootDelay);
    // The up-down's position stands when the text is unreadable.
    io.LoadOnly(DelayPosition, b.BootDelayValue);
    io.Number(DelayValue, b.BootDelayValue, BootDelayRange, DelayPosition);
    io.Same(NoCheckDuplicate, b.NoCheckDuplicate);
}

template <class Io, class S> void OmakePage::Bind(const Io& io, S& s) {
    auto& o = s.Omake;
    io.Same(Omake, o.OmakeWindow);
    io.Same(Logo, o.LogoWindow);
    io.Same(LogoFile, o.LogoFile);
    io.Same(LogoPosition, o.LogoAlignment);
    io.Same(CallSign, o.CallSignWindow);
    io.Same(CallSignPosition, o.CallSignAlignment);
    io.Same(TestPattern, o.ShowTestPattern);
    io.Same(StationName, o.StationName);
    io.Same(ParentBureau, o.ParentBureauName);
    io.Number(Channel, o.Channel, Evaluate().ChannelRange);
    io.Same(CallSignText, o.CallSign);
    io.Same(DigitalMaster, o.DigitalMaster);
    io.Same(TestingWave, o.TestingWave);
}

int OperationPage::OnMouseEntryCount(bool layered) {
    return layered ? 4 : 3;
}

OperationPage OperationPage::Load(const Settings& s, bool layered) {
    auto page = LoadedPage<OperationPage>(s);
    // A behaviour the box does not offer shows as the first entry.
    if (page.OnMouse < 0 || page.OnMouse >= OnMouseEntryCount(layered)) {
        page.OnMouse = 0;
    }
    return page;
}

void OperationPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
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
    return LoadedPage<CuckooPage>(s);
}

void CuckooPage::Apply(Settings& s) {
    Bind(PageApply{}, s);
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
    AdjustPage page;
    page.Ports = std::move(ports);
    page.Bind(PageLoad{}, s);
    page.NtpServers = OfferedServers(page.NtpServers, builtIn.Ntp);
    page.HttpServers = OfferedServers(page.HttpServers, builtIn.Http);
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
    if (ForgetsLastContact(s.AdjustClock, false)) {
        s.AdjustClock.LastConnectedTime = NeverDate;
    }
    Bind(PageApply{}, s);
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
    auto page = LoadedPage<BootPage>(s);
    page.StartUp = facts.ShortcutExists;
    page.Priority = PriorityEntryOfClass(facts.PriorityClass, facts.LayeredWindowsAvailable);
    page.Location = facts.UseAppDataFolder ? 1 : 0;
    return page;
}

void BootPage::Apply(Settings& s, bool layered) {
    Bind(PageApply{}, s);
    // The box shows the process's class; the one chosen is stored for the next start.
    s.Boot.Priority = PriorityClassOfEntry(Priority, layered);
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
    return LoadedPage<OmakePage>(s);
}

void OmakePage::Apply(Settings& s) {
    Bind(PageApply{}, s);
}

OmakePage::Rules OmakePage::Evaluate() const {
    // Digital channels have three digits; analogue ones ended at 62.
    return {Logo, CallSign, DigitalMaster ? NumberRange{1, 999} : NumberRange{1, 62}, DigitalMaster ? 3 : 2};
}

} // namespace lumora

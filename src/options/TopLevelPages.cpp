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

template <class Io, class S> void BindOperation(const Io& io, OperationPage& page, S& s) {
    auto& o = s.Operation;
    io.Same(page.Snap, o.SnapWindow);
    io.Number(page.SnapPosition, o.SnapPosition, SnapPositionRange);
    io.Convert(
        page.SnapTaskBar, o.SnapMode, [](int32_t mode) { return mode == 1; },
        [](bool taskBar) { return taskBar ? 1 : 0; });
    io.Same(page.NoProtrude, o.NoProtrudeSnap);
    io.Number(page.SnapX, o.SnapPoint[0], SnapPointRange);
    io.Number(page.SnapY, o.SnapPoint[1], SnapPointRange);
    io.Same(page.OnMouse, o.OnMouseHideType);
    // The up-down's position, which is the stored value, stands when the text is unreadable.
    io.Number(page.Threshold, o.OnMouseHideThreshold, ThresholdRange, o.OnMouseHideThreshold);
    io.Convert(page.HoleSize, o.OnMouseHoleSize, KeptWithin({0, 200}), AsIs);
    io.Convert(page.Abort, o.OnMouseAbortKey, AbortKeyOf, KeyOfAbort);
    io.Same(page.HotKey, o.VisibleChangeKey);
    io.Same(page.Momentary, s.View.VisibleChangeType);
}

template <class Io, class S> void BindCuckoo(const Io& io, CuckooPage& page, S& s) {
    auto& c = s.CuckooClock;
    io.Same(page.Mode, c.CuckooClockMode);
    io.Number(page.Timing, c.CuckooClockTiming, SignalTimingRange);
    io.Same(page.HalfHour, c.CuckooClock30);
    io.Same(page.InvisibleSilent, c.InVisibleSilent);
    io.Same(page.FirstFile, c.FirstCuckooClockFile);
    io.Same(page.Repeat, c.CuckooClockRepeat);
    io.Same(page.RepeatFile, c.RepeatCuckooClockFile);
    io.Same(page.LastFile, c.LastCuckooClockFile);
    io.Same(page.WildBird, c.WildBirdSound);
    io.Same(page.Notify, c.NotifyType);
    io.Same(page.Message, c.Message);
}

// page.Ports are the system's, set before a load.
template <class Io, class S> void BindAdjust(const Io& io, AdjustPage& page, S& s) {
    auto& a = s.AdjustClock;
    io.Same(page.Method, a.AdjustType);
    io.Same(page.NtpServers, s.NTPServer);
    io.Same(page.NtpServer, a.CurrentNTPServer);
    io.Number(page.NtpPort, a.NTPLocalPort, LocalPortRange, UnreadablePort);
    io.Number(page.NtpTimeOut, a.NTPTimeOut, TimeOutRange);
    io.Number(page.NtpOffset, a.NTPOffset, OffsetRange);
    io.Same(page.HttpServers, s.HTTPServer);
    io.Same(page.HttpServer, a.CurrentHTTPServer);
    io.Same(page.ProxyServer, a.HTTPProxyServer);
    io.Number(page.ProxyPort, a.HTTPProxyPort, LocalPortRange, UnreadablePort);
    io.Number(page.HttpTimeOut, a.HTTPTimeOut, TimeOutRange);
    io.Number(page.HttpOffset, a.HTTPOffset, OffsetRange);
    io.Convert(
        page.Port, a.CurrentJJYPort, [&page](const std::wstring& port) { return PortEntry(page.Ports, port); },
        // Without a selected port the stored one stays, ready for when the kit is plugged in again.
        [&page](int) { return page.PortSelected() ? std::optional(page.Ports[page.Port]) : std::nullopt; });
    // The up-down's position stands when the text is unreadable.
    io.LoadOnly(page.KitTimeOutPosition, a.JJYTimeOut);
    io.Number(page.KitTimeOut, a.JJYTimeOut, TimeOutRange, page.KitTimeOutPosition);
    io.Number(page.KitOffset, a.JJYOffset, OffsetRange);
    io.Same(page.BootAdjust, a.BootAdjust);
    io.Same(page.AutoAdjust, a.AutoAdjust);
    io.Convert(page.Interval, a.AutoAdjustInterval, IntervalText, TakeInterval);
    io.Same(page.Message, a.AdjustMessage);
    io.Same(page.Sound, a.AdjustSound);
    io.Same(page.SoundFile, a.AdjustSoundFile);
}

// The start-up shortcut, the priority and the settings-file location are the process's facts,
// not settings: BootPage::Load reads them from there.
template <class Io, class S> void BindBoot(const Io& io, BootPage& page, S& s) {
    auto& b = s.Boot;
    io.Same(page.Splash, b.ShowSplash);
    io.Same(page.Delay, b.BootDelay);
    // The up-down's position stands when the text is unreadable.
    io.LoadOnly(page.DelayPosition, b.BootDelayValue);
    io.Number(page.DelayValue, b.BootDelayValue, BootDelayRange, page.DelayPosition);
    io.Same(page.NoCheckDuplicate, b.NoCheckDuplicate);
}

template <class Io, class S> void BindOmake(const Io& io, OmakePage& page, S& s) {
    auto& o = s.Omake;
    io.Same(page.Omake, o.OmakeWindow);
    io.Same(page.Logo, o.LogoWindow);
    io.Same(page.LogoFile, o.LogoFile);
    io.Same(page.LogoPosition, o.LogoAlignment);
    io.Same(page.CallSign, o.CallSignWindow);
    io.Same(page.CallSignPosition, o.CallSignAlignment);
    io.Same(page.TestPattern, o.ShowTestPattern);
    io.Same(page.StationName, o.StationName);
    io.Same(page.ParentBureau, o.ParentBureauName);
    io.Number(page.Channel, o.Channel, page.Evaluate().ChannelRange);
    io.Same(page.CallSignText, o.CallSign);
    io.Same(page.DigitalMaster, o.DigitalMaster);
    io.Same(page.TestingWave, o.TestingWave);
}

} // namespace

int OperationPage::OnMouseEntryCount(bool layered) {
    return layered ? 4 : 3;
}

OperationPage OperationPage::Load(const Settings& s, bool layered) {
    OperationPage page;
    BindOperation(PageLoad{}, page, s);
    // A behaviour the box does not offer shows as the first entry.
    if (page.OnMouse < 0 || page.OnMouse >= OnMouseEntryCount(layered)) {
        page.OnMouse = 0;
    }
    return page;
}

void OperationPage::Apply(Settings& s) {
    BindOperation(PageApply{}, *this, s);
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
    CuckooPage page;
    BindCuckoo(PageLoad{}, page, s);
    return page;
}

void CuckooPage::Apply(Settings& s) {
    BindCuckoo(PageApply{}, *this, s);
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
    BindAdjust(PageLoad{}, page, s);
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
    BindAdjust(PageApply{}, *this, s);
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
    BootPage page;
    BindBoot(PageLoad{}, page, s);
    page.StartUp = facts.ShortcutExists;
    page.Priority = PriorityEntryOfClass(facts.PriorityClass, facts.LayeredWindowsAvailable);
    page.Location = facts.UseAppDataFolder ? 1 : 0;
    return page;
}

void BootPage::Apply(Settings& s, bool layered) {
    BindBoot(PageApply{}, *this, s);
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
    OmakePage page;
    BindOmake(PageLoad{}, page, s);
    return page;
}

void OmakePage::Apply(Settings& s) {
    BindOmake(PageApply{}, *this, s);
}

OmakePage::Rules OmakePage::Evaluate() const {
    // Digital channels have three digits; analogue ones ended at 62.
    return {Logo, CallSign, DigitalMaster ? NumberRange{1, 999} : NumberRange{1, 62}, DigitalMaster ? 3 : 2};
}

} // namespace lumora

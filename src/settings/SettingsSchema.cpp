#include "settings/SettingsSchema.h"

#include <algorithm>
#include <string>

namespace lumora {
namespace {

// Reads values into fields that hold their defaults; anything unreadable leaves the default.
class Reader {
public:
    Reader(const IniDocument& document, wchar_t decimalSeparator)
        : document_(document), decimalSeparator_(decimalSeparator) {}

    void Bool(const wchar_t* section, const wchar_t* key, bool& value) const {
        Take(section, key, value, [](std::wstring_view t) { return ParseBoolean(t); });
    }
    void Int(const wchar_t* section, const wchar_t* key, int32_t& value) const {
        Take(section, key, value, [](std::wstring_view t) { return ParseInteger(t); });
    }
    void Float(const wchar_t* section, const wchar_t* key, double& value) const {
        Take(section, key, value, [this](std::wstring_view t) { return ParseFloat(t, decimalSeparator_); });
    }
    void ColourValue(const wchar_t* section, const wchar_t* key, Colour& value) const {
        Take(section, key, value, [](std::wstring_view t) { return ParseColour(t); });
    }
    void String(const wchar_t* section, const wchar_t* key, std::wstring& value) const {
        if (auto text = document_.Find(section, key)) {
            value = std::move(*text);
        }
    }

    // A comma list of integers. With fewer items than fields every field keeps its default,
    // and so does each item that is not a number.
    template <class... Fields> void Ints(const wchar_t* section, const wchar_t* key, Fields&... fields) const {
        auto items = Items(section, key, sizeof...(Fields));
        if (items.empty()) {
            return;
        }
        size_t i = 0;
        auto take = [&](int32_t& field) {
            if (auto number = ParseInteger(items[i++])) {
                field = *number;
            }
        };
        (take(fields), ...);
    }

    // A comma list of strings, every item as written; its length is checked with the load rules.
    void Strings(const wchar_t* section, const wchar_t* key, std::vector<std::wstring>& values) const {
        if (auto text = document_.Find(section, key)) {
            values = SplitCommaList(*text);
        }
    }

    // One digit per minute of the week; a missing or non-digit character reads as 1.
    void Minutes(const wchar_t* section, const wchar_t* key, std::array<uint8_t, MinutesPerWeek>& minutes) const {
        const auto text = document_.Find(section, key).value_or(L"");
        for (size_t i = 0; i < minutes.size(); ++i) {
            const wchar_t c = i < text.size() ? text[i] : L'1';
            minutes[i] = static_cast<uint8_t>(c >= L'0' && c <= L'9' ? c - L'0' : 1);
        }
    }

    // A numbered-key section: every value in file order, key names ignored.
    void NumberedList(const wchar_t* section, const wchar_t*, std::vector<std::wstring>& values) const {
        values = document_.SectionValues(section);
    }

    void WindowList(const wchar_t* section, const wchar_t*, std::vector<IgnoredWindow>& windows) const {
        windows.clear();
        for (const auto& value : document_.SectionValues(section)) {
            auto items = SplitCommaList(value);
            if (items.size() < 2) {
                windows.push_back({});
            } else {
                windows.push_back({std::move(items[0]), std::move(items[1])});
            }
        }
    }

private:
    template <class T, class Parse> void Take(const wchar_t* section, const wchar_t* key, T& value, Parse parse) const {
        if (auto text = document_.Find(section, key)) {
            if (auto parsed = parse(*text)) {
                value = *parsed;
            }
        }
    }

    // The list's items, or nothing when it has fewer than `count`; extra items are ignored.
    std::vector<std::wstring> Items(const wchar_t* section, const wchar_t* key, size_t count) const {
        auto items = SplitCommaList(document_.Find(section, key).value_or(L""));
        if (items.size() < count) {
            return {};
        }
        items.resize(count);
        return items;
    }

    const IniDocument& document_;
    wchar_t decimalSeparator_;
};

class Writer {
public:
    Writer(IniDocument& document, wchar_t decimalSeparator)
        : document_(document), decimalSeparator_(decimalSeparator) {}

    void Bool(const wchar_t* section, const wchar_t* key, bool value) { Put(section, key, FormatBoolean(value)); }
    void Int(const wchar_t* section, const wchar_t* key, int32_t value) { Put(section, key, FormatInteger(value)); }
    void Float(const wchar_t* section, const wchar_t* key, double value) {
        Put(section, key, FormatFloat(value, decimalSeparator_));
    }
    void ColourValue(const wchar_t* section, const wchar_t* key, Colour value) {
        Put(section, key, FormatColour(value));
    }
    void String(const wchar_t* section, const wchar_t* key, const std::wstring& value) { Put(section, key, value); }

    template <class... Fields> void Ints(const wchar_t* section, const wchar_t* key, const Fields&... fields) {
        std::wstring text;
        auto append = [&](int32_t field) { text += (text.empty() ? L"" : L",") + FormatInteger(field); };
        (append(fields), ...);
        Put(section, key, text);
    }
    void Strings(const wchar_t* section, const wchar_t* key, const std::vector<std::wstring>& values) {
        Put(section, key, JoinCommaList(values));
    }
    void Minutes(const wchar_t* section, const wchar_t* key, const std::array<uint8_t, MinutesPerWeek>& minutes) {
        std::wstring text(minutes.size(), L'1');
        std::transform(minutes.begin(), minutes.end(), text.begin(),
                       [](uint8_t m) { return static_cast<wchar_t>(L'0' + std::min<uint8_t>(m, 9)); });
        Put(section, key, text);
    }

    // Erased, then rewritten as base1, base2, ... in list order.
    void NumberedList(const wchar_t* section, const wchar_t* base, const std::vector<std::wstring>& values) {
        document_.EraseSection(section);
        for (size_t i = 0; i < values.size(); ++i) {
            Put(section, (base + std::to_wstring(i + 1)).c_str(), values[i]);
        }
    }
    void WindowList(const wchar_t* section, const wchar_t* base, const std::vector<IgnoredWindow>& windows) {
        std::vector<std::wstring> values;
        values.reserve(windows.size());
        for (const auto& w : windows) {
            values.push_back(JoinQuotedCommaList({w.Title, w.ClassName}));
        }
        NumberedList(section, base, values);
    }

private:
    void Put(const wchar_t* section, const wchar_t* key, std::wstring_view value) {
        document_.WriteString(section, key, value);
    }

    IniDocument& document_;
    wchar_t decimalSeparator_;
};

// Each Bind function names its keys once; the Reader and the Writer walk them in their own
// orders. S is Settings or const Settings.

template <class Io, class S> void BindViewPlacement(Io& io, S& v) {
    io.Ints(L"View", L"Placement", v.Placement.ZOrder, v.Placement.Left, v.Placement.Top);
    io.Int(L"View", L"OptionSelectedTab", v.OptionSelectedTab);
    io.Bool(L"View", L"OpenDialogAutoPlay", v.OpenDialogAutoPlay);
    io.Bool(L"View", L"HideTaskTrayClock", v.HideTaskTrayClock);
    io.Strings(L"View", L"CustomColors", v.CustomColors);
}

template <class Io, class S> void BindFixed(Io& io, S& o) {
    io.Bool(L"Operation", L"Fixed", o.Fixed);
}

template <class Io, class S> void BindViewVisibility(Io& io, S& v) {
    io.Minutes(L"View", L"VisibleHours", v.VisibleHours);
    io.Int(L"View", L"AutoHideTime", v.AutoHideTime);
    io.Int(L"View", L"AutoHideTiming", v.AutoHideTiming);
    io.Int(L"View", L"AlphaBlend", v.AlphaBlend);
}

template <class Io, class S> void BindSnap(Io& io, S& o) {
    io.Bool(L"Operation", L"SnapWindow", o.SnapWindow);
    io.Bool(L"Operation", L"NoProtrudeSnap", o.NoProtrudeSnap);
    io.Int(L"Operation", L"SnapPosition", o.SnapPosition);
    io.Int(L"Operation", L"SnapMode", o.SnapMode);
    io.Ints(L"Operation", L"SnapPoint", o.SnapPoint[0], o.SnapPoint[1]);
}

template <class Io, class S> void BindWorldClock(Io& io, S& w) {
    io.Bool(L"WorldClock", L"WorldClockMode", w.WorldClockMode);
    io.Float(L"WorldClock", L"TimeDiffTime", w.TimeDiffTime);
    io.Int(L"WorldClock", L"TimeZone", w.TimeZone);
    io.String(L"WorldClock", L"TimeZoneName", w.TimeZoneName);
    io.Float(L"WorldClock", L"WorldClockTime", w.WorldClockTime);
}

template <class Io, class S> void BindAnimation(Io& io, S& a) {
    io.Int(L"Animation", L"Type", a.Type);
    io.Int(L"Animation", L"Speed", a.Speed);
    io.Int(L"Animation", L"Timing", a.Timing);
    io.Int(L"Animation", L"FlashColonType", a.FlashColonType);
    io.Bool(L"Animation", L"ReverseFlash", a.ReverseFlash);
}

template <class Io, class S> void BindFormat(Io& io, S& f) {
    io.Bool(L"Format", L"Hour", f.Hour);
    io.Bool(L"Format", L"Hour12", f.Hour12);
    io.Bool(L"Format", L"Hour0", f.Hour0);
    io.Bool(L"Format", L"Hour24", f.Hour24);
    io.Bool(L"Format", L"HourDouble", f.HourDouble);
    io.Bool(L"Format", L"Minute", f.Minute);
    io.Bool(L"Format", L"MinuteDouble", f.MinuteDouble);
    io.Bool(L"Format", L"Second", f.Second);
    io.Bool(L"Format", L"SecondDouble", f.SecondDouble);
}

template <class Io, class S> void BindCalendarFont(Io& io, S& v) {
    io.String(L"View", L"CalendarFontName", v.CalendarFontName);
}

template <class Io, class S> void BindDesign(Io& io, S& d) {
    const wchar_t* s = L"Design";
    io.Int(s, L"Alignment", d.Alignment);
    io.Int(s, L"DigitType", d.DigitType);
    io.Int(s, L"DigitStyle", d.DigitStyle);
    io.Int(s, L"DigitSize", d.DigitSize);
    io.String(s, L"DigitFontName", d.DigitFontName);
    io.Int(s, L"DigitFontSize", d.DigitFontSize);
    io.Int(s, L"DigitFontStyle", d.DigitFontStyle);
    io.Bool(s, L"DigitFontFullWidth", d.DigitFontFullWidth);
    io.String(s, L"DigitFile", d.DigitFile);
    io.Bool(s, L"DigitUntouched", d.DigitUntouched);
    io.Int(s, L"DigitSpacing", d.DigitSpacing);
    io.Bool(s, L"DigitSpacingRelative", d.DigitSpacingRelative);
    io.Ints(s, L"DigitMargin", d.DigitMargin[0], d.DigitMargin[1], d.DigitMargin[2], d.DigitMargin[3]);
    io.ColourValue(s, L"DigitColor", d.DigitColor);
    io.ColourValue(s, L"Color", d.Color);
    io.ColourValue(s, L"GradationColor1", d.GradationColor1);
    io.ColourValue(s, L"GradationColor2", d.GradationColor2);
    io.Bool(s, L"GradationStyle", d.GradationStyle);
    io.Int(s, L"BackGroundType", d.BackGroundType);
    io.Int(s, L"BackGroundStyle", d.BackGroundStyle);
    io.String(s, L"BackGroundFile", d.BackGroundFile);
    io.Int(s, L"BackGroundAlpha", d.BackGroundAlpha);
    io.Bool(s, L"InnerFrame", d.InnerFrame);
    io.Bool(s, L"OuterFrame", d.OuterFrame);
    io.ColourValue(s, L"InnerFrameColor", d.InnerFrameColor);
    io.ColourValue(s, L"OuterFrameColor", d.OuterFrameColor);
    io.Int(s, L"InnerFrameSize", d.InnerFrameSize);
    io.Int(s, L"OuterFrameSize", d.OuterFrameSize);
    io.Bool(s, L"InnerFrameRelative", d.InnerFrameRelative);
    io.Bool(s, L"OuterFrameRelative", d.OuterFrameRelative);
    io.Bool(s, L"Shadow", d.Shadow);
    io.ColourValue(s, L"ShadowColor", d.ShadowColor);
    io.Int(s, L"ShadowSize", d.ShadowSize);
    io.Bool(s, L"ShadowRelative", d.ShadowRelative);
}

template <class Io, class S> void BindCuckooClock(Io& io, S& c) {
    const wchar_t* s = L"CuckooClock";
    io.Int(s, L"CuckooClockMode", c.CuckooClockMode);
    io.Bool(s, L"CuckooClockRepeat", c.CuckooClockRepeat);
    io.Bool(s, L"CuckooClock30", c.CuckooClock30);
    for (size_t hour = 0; hour < c.WildBirdSound.size(); ++hour) {
        io.String(s, (L"WildBirdSound" + std::to_wstring(hour + 1)).c_str(), c.WildBirdSound[hour]);
    }
    io.String(s, L"FirstCuckooClockFile", c.FirstCuckooClockFile);
    io.String(s, L"RepeatCuckooClockFile", c.RepeatCuckooClockFile);
    io.String(s, L"LastCuckooClockFile", c.LastCuckooClockFile);
    io.Int(s, L"CuckooClockTiming", c.CuckooClockTiming);
    io.Bool(s, L"InVisibleSilent", c.InVisibleSilent);
    io.Int(s, L"NotifyType", c.NotifyType);
    io.String(s, L"Message", c.Message);
}

// The server lists sit in their places among the keys of AdjustClock.
template <class Io, class S> void BindAdjustClock(Io& io, S& settings) {
    const wchar_t* s = L"AdjustClock";
    auto& a = settings.AdjustClock;
    io.Int(s, L"AdjustType", a.AdjustType);
    io.NumberedList(L"NTPServer", L"Server", settings.NTPServer);
    io.String(s, L"CurrentNTPServer", a.CurrentNTPServer);
    io.Int(s, L"NTPLocalPort", a.NTPLocalPort);
    io.Int(s, L"NTPTimeOut", a.NTPTimeOut);
    io.Int(s, L"NTPOffset", a.NTPOffset);
    io.NumberedList(L"HTTPServer", L"Server", settings.HTTPServer);
    io.String(s, L"CurrentHTTPServer", a.CurrentHTTPServer);
    io.String(s, L"HTTPProxyServer", a.HTTPProxyServer);
    io.Int(s, L"HTTPProxyPort", a.HTTPProxyPort);
    io.Int(s, L"HTTPTimeOut", a.HTTPTimeOut);
    io.Int(s, L"HTTPOffset", a.HTTPOffset);
    io.Float(s, L"LastConnectedTime", a.LastConnectedTime);
    io.Bool(s, L"AdjustMessage", a.AdjustMessage);
    io.Bool(s, L"BootAdjust", a.BootAdjust);
    io.Bool(s, L"AutoAdjust", a.AutoAdjust);
    io.Float(s, L"AutoAdjustInterval", a.AutoAdjustInterval);
    io.Bool(s, L"AdjustSound", a.AdjustSound);
    io.String(s, L"AdjustSoundFile", a.AdjustSoundFile);
    io.String(s, L"CurrentJJYPort", a.CurrentJJYPort);
    io.Int(s, L"JJYTimeOut", a.JJYTimeOut);
    io.Int(s, L"JJYOffset", a.JJYOffset);
}

template <class Io, class S> void BindViewToolTips(Io& io, S& v) {
    io.Int(L"View", L"ToolTipStyle", v.ToolTipStyle);
    io.String(L"View", L"ToolTipFormat", v.ToolTipFormat);
    io.Int(L"View", L"ToolTipTime", v.ToolTipTime);
    io.Bool(L"View", L"TaskTrayIcon", v.TaskTrayIcon);
    io.String(L"View", L"TaskTrayToolTipFormat", v.TaskTrayToolTipFormat);
    io.Bool(L"View", L"ShowCalendar", v.ShowCalendar);
}

template <class Io, class S> void BindOnMouse(Io& io, S& o) {
    io.Int(L"Operation", L"OnMouseHideType", o.OnMouseHideType);
    io.Int(L"Operation", L"OnMouseHideThreshold", o.OnMouseHideThreshold);
    io.Int(L"Operation", L"OnMouseHoleSize", o.OnMouseHoleSize);
    io.Int(L"Operation", L"OnMouseAbortKey", o.OnMouseAbortKey);
    io.Int(L"Operation", L"VisibleChangeKey", o.VisibleChangeKey);
}

template <class Io, class S> void BindVisibleChangeType(Io& io, S& v) {
    io.Bool(L"View", L"VisibleChangeType", v.VisibleChangeType);
}

template <class Io, class S> void BindIgnoreWindows(Io& io, S& settings) {
    io.WindowList(L"IgnoreWindows", L"Window", settings.IgnoreWindows);
}

template <class Io, class S> void BindMenu(Io& io, S& v) {
    io.Bool(L"View", L"ShowMenuIcon", v.ShowMenuIcon);
    io.Bool(L"View", L"UseModernMenu", v.UseModernMenu);
}

template <class Io, class S> void BindTimer(Io& io, S& t) {
    io.Float(L"Timer", L"Time", t.Time);
    io.Bool(L"Timer", L"Option", t.Option);
    io.Int(L"Timer", L"NotifyType", t.NotifyType);
    io.String(L"Timer", L"Program", t.Program);
}

template <class Io, class S> void BindTelop(Io& io, S& t) {
    const wchar_t* s = L"Telop";
    io.String(s, L"FontName", t.FontName);
    io.String(s, L"Title", t.Title);
    io.Bool(s, L"Scroll", t.Scroll);
    io.Bool(s, L"Flash", t.Flash);
    io.Int(s, L"ChangeSpeed", t.ChangeSpeed);
    io.Int(s, L"ScrollSpeed", t.ScrollSpeed);
    io.Int(s, L"FlashSpeed", t.FlashSpeed);
    io.Int(s, L"FlashCount", t.FlashCount);
    io.Bool(s, L"Sound", t.Sound);
    io.String(s, L"SoundFile", t.SoundFile);
}

template <class Io, class S> void BindOmake(Io& io, S& o) {
    const wchar_t* s = L"Omake";
    io.Bool(s, L"OmakeWindow", o.OmakeWindow);
    io.Bool(s, L"ShowTestPattern", o.ShowTestPattern);
    io.Bool(s, L"LogoWindow", o.LogoWindow);
    io.Int(s, L"LogoAlignment", o.LogoAlignment);
    io.String(s, L"LogoFile", o.LogoFile);
    io.Bool(s, L"LogoRelative", o.LogoRelative);
    io.Bool(s, L"CallSignWindow", o.CallSignWindow);
    io.Int(s, L"CallSignAlignment", o.CallSignAlignment);
    io.String(s, L"StationName", o.StationName);
    io.String(s, L"ParentBureauName", o.ParentBureauName);
    io.String(s, L"CallSign", o.CallSign);
    io.Int(s, L"Channel", o.Channel);
    io.Bool(s, L"DigitalMaster", o.DigitalMaster);
    io.Bool(s, L"TestingWave", o.TestingWave);
}

template <class Io, class S> void BindBoot(Io& io, S& b) {
    io.Bool(L"Boot", L"NoCheckDuplicate", b.NoCheckDuplicate);
    io.Bool(L"Boot", L"BootDelay", b.BootDelay);
    io.Int(L"Boot", L"BootDelayValue", b.BootDelayValue);
    io.Bool(L"Boot", L"ShowSplash", b.ShowSplash);
    io.Int(L"Boot", L"Priority", b.Priority);
}

constexpr int32_t MinFontSize = 12;
constexpr int32_t MaxFontSize = 200;
constexpr double MinAutoAdjustInterval = 10 * OneMinute;
constexpr int32_t OnMouseClickThrough = 3;
constexpr int32_t OnMouseHide = 1;

} // namespace

void NormaliseBootSettings(BootSettings& boot) {
    // Any other number would reach SetPriorityClass unchecked.
    if (std::find(OfferedPriorityClasses.begin(), OfferedPriorityClasses.end(), boot.Priority) ==
        OfferedPriorityClasses.end()) {
        boot.Priority = IdlePriorityClass;
    }
}

void NormaliseSettings(Settings& s, const LoadOptions& options) {
    // A short list is taken as all empty, and an empty item gets its default.
    auto& colours = s.View.CustomColors;
    const auto defaultColours = ViewSettings::DefaultCustomColors();
    if (colours.size() < defaultColours.size()) {
        colours = defaultColours;
    }
    colours.resize(defaultColours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        if (colours[i].empty()) {
            colours[i] = defaultColours[i];
        }
    }
    if (s.Design.DigitFontSize != 0) {
        s.Design.DigitFontSize = std::clamp(s.Design.DigitFontSize, MinFontSize, MaxFontSize);
    }
    if (s.AdjustClock.AutoAdjustInterval < MinAutoAdjustInterval) {
        s.AdjustClock.AutoAdjustInterval = MinAutoAdjustInterval;
    }
    // Click-through needs a layered window.
    if (s.Operation.OnMouseHideType == OnMouseClickThrough && !options.LayeredWindowsAvailable) {
        s.Operation.OnMouseHideType = OnMouseHide;
    }
    NormaliseBootSettings(s.Boot);
}

void LoadBootSettings(const IniDocument& document, BootSettings& boot) {
    Reader io(document, L'.');
    BindBoot(io, boot);
    NormaliseBootSettings(boot);
}

// Every section of the file but the start-up one, in the order a new file lists them. Reading and
// writing both go through this one list, so a section cannot be read and forgotten when written.
template <class Io, class S> void BindSections(Io& io, S& s) {
    BindViewPlacement(io, s.View);
    BindFixed(io, s.Operation);
    BindViewVisibility(io, s.View);
    BindSnap(io, s.Operation);
    BindWorldClock(io, s.WorldClock);
    BindAnimation(io, s.Animation);
    BindFormat(io, s.Format);
    BindDesign(io, s.Design);
    BindCuckooClock(io, s.CuckooClock);
    BindAdjustClock(io, s);
    BindViewToolTips(io, s.View);
    BindCalendarFont(io, s.View);
    BindOnMouse(io, s.Operation);
    BindVisibleChangeType(io, s.View);
    BindIgnoreWindows(io, s);
    BindMenu(io, s.View);
    BindTimer(io, s.Timer);
    BindTelop(io, s.Telop);
    BindOmake(io, s.Omake);
}

// The start-up section is read before the master exists (LoadBootSettings) and only written here.
void LoadSettings(const IniDocument& document, Settings& s, const LoadOptions& options) {
    Reader io(document, options.DecimalSeparator);
    BindSections(io, s);
    NormaliseSettings(s, options);
}

void WriteSettings(IniDocument& document, const Settings& s, wchar_t decimalSeparator) {
    Writer io(document, decimalSeparator);
    BindSections(io, s);
    BindBoot(io, s.Boot);
}

} // namespace lumora

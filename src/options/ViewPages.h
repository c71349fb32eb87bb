#pragma once
// The display pages of the options dialog ("表示|..."): what their controls show, loaded from the
// settings and written back on Apply, and which controls are shown and enabled. The visible-hours
// editor of page 4 and the exclusion list's editing are separate units. Each page's Bind pairs
// its values with their settings once, for Load and Apply alike (options/PageBinding.h).

#include "options/DesignPages.h"
#include "options/VisibleHoursEditor.h"

namespace lumora {

// Page 4 "表示|表示時間": the two fields beside the visible-hours editor.
struct VisibleTimePage {
    static constexpr NumberRange TimeRange{1, 60};             // seconds
    static constexpr NumberRange TimingRange{-600000, 600000}; // milliseconds

    std::wstring AutoHideTime;
    std::wstring AutoHideTiming;
    VisibleHoursEditor Hours;

    struct Rules {
        bool TemporaryGroupEnabled = false; // the group, its labels and fields
    };

    static VisibleTimePage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

// Page 5 "表示|視覚効果".
struct EffectsPage {
    static constexpr NumberRange TimingRange{-1000, 1000}; // milliseconds
    static constexpr int MaxSpeed = 120;

    int Effect = 0; // entry index; -1 when the stored effect is not offered
    int Speed = 0;
    std::wstring Timing;
    int FlashColon = 0;
    bool ReverseFlash = false;

    struct Rules {
        bool SpeedAndTimingEnabled = false;
        bool ReverseFlashEnabled = false;
    };

    // The fades need layered windows and at least 16 bits per pixel.
    static int EffectEntryCount(const DisplayFacts& display);
    static EffectsPage Load(const Settings& settings, const DisplayFacts& display);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

// The date patterns the tooltip format boxes offer.
extern const std::array<std::wstring_view, 14> ToolTipDatePatterns;

// Page 6 "表示|ツールチップ".
struct ToolTipPage {
    static constexpr NumberRange TimeRange{0, 30000}; // milliseconds
    static constexpr int MaxFormatLength = 63;

    int Style = 0;
    std::wstring Time;
    std::wstring Format;

    struct Rules {
        bool TimeAndFormatEnabled = false; // also the preview, with the tooltip colours
    };

    static ToolTipPage Load(const Settings& settings);
    // An empty format is first filled with the default, and the box shows it.
    void Apply(Settings& settings, const SystemDefaults& system);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

// Page 7 "表示|タスク トレイ".
struct TrayPage {
    bool ShowIcon = false;
    std::wstring Format;
    bool HideTaskbarClock = false;
    bool ShowCalendar = false;
    std::wstring CalendarFont;

    struct Facts {
        // The taskbar has a clock window of the classic kind; Windows 11's has none.
        bool TaskbarClockFound = true;
    };

    struct Rules {
        bool ToolTipGroupEnabled = false; // the group, its format box and preview
        bool CalendarGroupEnabled = false;
        bool CalendarFontEnabled = false;
        // Without a clock to hide the box is greyed and a note says why; it keeps its value.
        bool HideClockEnabled = false;
    };

    static TrayPage Load(const Settings& settings, const FontChoices& fonts);
    void Apply(Settings& settings, const SystemDefaults& system);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate(const Facts& facts) const;
};

// Page 8 "表示|配置": the exclusion list as the page holds it.
struct WindowsPage {
    std::vector<IgnoredWindow> Windows;

    // Removes the given rows (any order; rows that do not exist are ignored) and returns the row
    // to select afterwards: the one above the first removed row, or the new last row when the
    // list became shorter than that; -1 selects none.
    int RemoveRows(std::vector<int> rows);

    static WindowsPage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
};

// Page 9 "表示|テロップ".
struct TelopPage {
    static constexpr NumberRange FlashCountRange{1, 10};
    static constexpr NumberRange ChangeSpeedRange{500, 10000};
    static constexpr NumberRange ScrollSpeedRange{0, 250}; // slider positions
    static constexpr NumberRange FlashSpeedRange{100, 1000};
    static constexpr int MaxTitleLength = 32;

    std::wstring FontName;
    std::wstring Title;
    int ChangeSpeed = 0;
    bool Scroll = false;
    int ScrollSpeed = 0; // the slider: ScrollSpeed - 1
    bool Flash = false;
    std::wstring FlashCount;
    int FlashSpeed = 0;
    bool Sound = false;
    std::wstring SoundFile;

    struct Rules {
        bool ScrollSpeedEnabled = false;
        bool FlashEnabled = false; // count and speed
        bool SoundEnabled = false; // the field and its button
        bool PreviewEnabled = false;
    };

    static TelopPage Load(const Settings& settings, const FontChoices& fonts);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

// Page 10 "表示|メニュー".
struct MenuPage {
    bool MenuIcon = false;
    bool ModernMenu = false;

    struct Rules {
        bool ModernMenuEnabled = false;
    };

    static MenuPage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

} // namespace lumora

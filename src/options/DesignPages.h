#pragma once
// The four design pages of the options dialog: what their controls show, loaded from the
// settings and written back on Apply, and which controls are shown and enabled. Each page's Bind
// pairs its values with their settings once, for Load and Apply alike (options/PageBinding.h).

#include "options/OptionFields.h"

namespace lumora {

// The font lists of the dialog, built from the fonts of the screen.
struct FontChoices {
    std::vector<std::wstring> Families;
    std::vector<bool> ShiftJis; // parallel to Families: the family exists with the Shift-JIS set
    std::wstring ListFont;      // the font the list boxes themselves use
};

// Page 0 "デザイン|文字".
struct DigitPage {
    static constexpr NumberRange SpacingRange{-50, 50};

    int DigitType = 0;
    int DigitStyle = 0;
    int DigitSize = 0;
    std::wstring FontName;
    std::wstring FontSize;
    bool Bold = false;
    bool Italic = false;
    bool FullWidth = false;
    std::wstring DigitFile;
    bool Untouched = false;
    Colour FontColour = 0;
    std::wstring Spacing;
    bool SpacingRelative = false;

    struct Rules {
        bool BuiltInShown = false; // style and size
        bool FontShown = false;    // name, size, bold, italic, full width
        bool FileShown = false;    // file, its button, untouched
        bool FullWidthEnabled = false;
        bool SpacingRelativeEnabled = false;
        bool FontColourEnabled = false;
    };

    static DigitPage Load(const Settings& settings, const FontChoices& fonts);
    void Apply(Settings& settings, bool fullWidthEnabled);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    // fontHasShiftJis: whether the selected family exists with the Shift-JIS character set;
    // nothing when no font is selected.
    Rules Evaluate(std::optional<bool> fontHasShiftJis) const;
};

// One outline or shadow group of page 1.
struct FrameGroup {
    bool On = false;
    Colour Color = 0;
    std::wstring Size;
    bool Relative = false;
};

// Page 1 "デザイン|装飾".
struct FramePage {
    static constexpr NumberRange SizeRange{1, 5};

    FrameGroup Outer;
    FrameGroup Inner;
    FrameGroup Shadow;

    struct Rules {
        bool OuterCheckEnabled = false;
        bool InnerCheckEnabled = false;
        bool ShadowCheckEnabled = false;
        // Colour, size, unit and relative box of each group.
        bool OuterEnabled = false;
        bool InnerEnabled = false;
        bool ShadowEnabled = false;
    };

    static FramePage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate(bool fontColourEnabled) const;
};

// Page 2 "デザイン|背景".
struct BackgroundPage {
    static constexpr NumberRange MarginRange{0, 255};

    int Type = 0;
    Colour Fill = 0;
    Colour Gradation1 = 0;
    Colour Gradation2 = 0;
    int Direction = 0; // 0 horizontal, 1 vertical
    std::wstring File;
    int Style = 0;
    int Opacity = 0; // the slider: 255 - BackGroundAlpha
    std::array<std::wstring, 4> Margins;

    struct Rules {
        bool FillShown = false;
        bool FillEnabled = false;
        bool GradientShown = false;
        bool ImageShown = false;
        bool OpacityShown = false;
        bool OpacityEnabled = false;
    };

    static BackgroundPage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate(const DisplayFacts& display) const;
};

// Page 3 "デザイン|書式".
struct FormatPage {
    int Alignment = 0;
    int Hour = 0;
    bool Hour0 = false;
    bool Hour24 = false;
    int Minute = 0;
    int Second = 0;

    struct Rules {
        bool Hour0Shown = false;
        bool Hour24Shown = false;
    };

    static FormatPage Load(const Settings& settings);
    void Apply(Settings& settings);
    template <class Io, class S> void Bind(const Io& io, S& settings);
    Rules Evaluate() const;
};

} // namespace lumora

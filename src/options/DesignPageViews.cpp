#include "options/ColourBox.h"
#include "options/DesignPagesRes.h"
#include "options/OptionPageView.h"

#include <commctrl.h>

namespace lumora {
namespace {

using Entries = std::initializer_list<std::wstring_view>;

void FillList(PageControls& page, int id, Entries entries) {
    page.FillChoices(id, std::span<const std::wstring_view>(entries.begin(), entries.size()));
}

// The colour boxes of a page draw their own entries; the page's other controls are not owner-drawn.
class DesignPageView : public OptionPageView {
public:
    bool DrawItem(const DRAWITEMSTRUCT& item) override { return DrawColourBoxItem(item); }
};

class DigitPageView final : public DesignPageView {
public:
    UINT TemplateId() const override { return IDD_DESIGN_DIGIT; }

    void Prepare(PageControls& page, const OptionFacts& facts) override {
        FillList(page, IDC_DIGIT_TYPE, {L"内蔵フォント", L"システム フォント", L"カスタム フォント"});
        FillList(page, IDC_DIGIT_STYLE, {L"民放風フォント", L"協会風フォント", L"デジタル風フォント"});
        FillList(page, IDC_DIGIT_SIZE, {L"小", L"中", L"大"});
        page.FillChoices(IDC_FONT_NAME, facts.Fonts.Families);
        FillList(page, IDC_FONT_SIZE,
                 {AutomaticFontSizeText, L"12", L"14", L"16", L"18", L"20", L"22", L"24", L"26", L"28", L"32", L"40",
                  L"52", L"68", L"80", L"88", L"96"});
        page.LimitText(IDC_FONT_SIZE, 3);
        page.LimitText(IDC_DIGIT_FILE, 255);
        PrepareColourBox(page, IDC_FONT_COLOR);
        page.NumberField(IDC_DIGIT_SPACING, IDC_DIGIT_SPACING_UPDOWN, DigitPage::SpacingRange, 3);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        DigitPage& d = values.Digit;
        page.Choice(IDC_DIGIT_TYPE, d.DigitType);
        page.Choice(IDC_DIGIT_STYLE, d.DigitStyle);
        page.Choice(IDC_DIGIT_SIZE, d.DigitSize);
        page.ChoiceText(IDC_FONT_NAME, d.FontName);
        page.Text(IDC_FONT_SIZE, d.FontSize);
        page.Check(IDC_FONT_BOLD, d.Bold);
        page.Check(IDC_FONT_ITALIC, d.Italic);
        page.Check(IDC_FONT_FULL_WIDTH, d.FullWidth);
        page.Text(IDC_DIGIT_FILE, d.DigitFile);
        page.Check(IDC_DIGIT_UNTOUCHED, d.Untouched);
        ExchangeColour(page, IDC_FONT_COLOR, d.FontColour);
        page.Text(IDC_DIGIT_SPACING, d.Spacing);
        page.Check(IDC_DIGIT_SPACING_RELATIVE, d.SpacingRelative);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts& facts) override {
        const DigitPage::Rules r = values.Digit.Evaluate(facts.FontHasShiftJis);
        page.Show({IDC_DIGIT_STYLE_LABEL, IDC_DIGIT_STYLE, IDC_DIGIT_SIZE_LABEL, IDC_DIGIT_SIZE}, r.BuiltInShown);
        page.Show({IDC_FONT_NAME_LABEL, IDC_FONT_NAME, IDC_FONT_SIZE_LABEL, IDC_FONT_SIZE, IDC_FONT_BOLD,
                   IDC_FONT_ITALIC, IDC_FONT_FULL_WIDTH},
                  r.FontShown);
        page.Show({IDC_DIGIT_FILE_LABEL, IDC_DIGIT_FILE, IDC_DIGIT_FILE_BROWSE, IDC_DIGIT_UNTOUCHED}, r.FileShown);
        page.Enable({IDC_FONT_FULL_WIDTH}, r.FullWidthEnabled);
        page.Enable({IDC_DIGIT_SPACING_RELATIVE}, r.SpacingRelativeEnabled);
        page.Enable({IDC_FONT_COLOR_LABEL, IDC_FONT_COLOR}, r.FontColourEnabled);
        page.SetText(IDC_DIGIT_SPACING_UNIT, SizeUnitText(values.Digit.SpacingRelative));
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        if (id == IDC_DIGIT_FILE_BROWSE && code == BN_CLICKED) {
            return PickFileInto(page, FileKind::Image, values.Digit.DigitFile, actions);
        }
        return id == IDC_FONT_COLOR && ColourBoxCommand(page, id, code, values.Digit.FontColour, actions);
    }
};

// One outline or shadow group of page 1: its controls in the order check, colour label, colour,
// size label, size, up-down, unit, relative.
struct FrameGroupIds {
    int Check;
    int ColourLabel;
    int Colour;
    int SizeLabel;
    int Size;
    int UpDown;
    int Unit;
    int Relative;
};

constexpr FrameGroupIds OuterIds{
    IDC_OUTER_FRAME,      IDC_OUTER_FRAME_COLOR_LABEL, IDC_OUTER_FRAME_COLOR, IDC_OUTER_FRAME_SIZE_LABEL,
    IDC_OUTER_FRAME_SIZE, IDC_OUTER_FRAME_SIZE_UPDOWN, IDC_OUTER_FRAME_UNIT,  IDC_OUTER_FRAME_RELATIVE};
constexpr FrameGroupIds InnerIds{
    IDC_INNER_FRAME,      IDC_INNER_FRAME_COLOR_LABEL, IDC_INNER_FRAME_COLOR, IDC_INNER_FRAME_SIZE_LABEL,
    IDC_INNER_FRAME_SIZE, IDC_INNER_FRAME_SIZE_UPDOWN, IDC_INNER_FRAME_UNIT,  IDC_INNER_FRAME_RELATIVE};
constexpr FrameGroupIds ShadowIds{IDC_SHADOW,      IDC_SHADOW_COLOR_LABEL, IDC_SHADOW_COLOR, IDC_SHADOW_SIZE_LABEL,
                                  IDC_SHADOW_SIZE, IDC_SHADOW_SIZE_UPDOWN, IDC_SHADOW_UNIT,  IDC_SHADOW_RELATIVE};

class FramePageView final : public DesignPageView {
public:
    UINT TemplateId() const override { return IDD_DESIGN_FRAME; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        for (const FrameGroupIds& ids : {OuterIds, InnerIds, ShadowIds}) {
            PrepareColourBox(page, ids.Colour);
            page.NumberField(ids.Size, ids.UpDown, FramePage::SizeRange, 1);
        }
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        ExchangeGroup(page, OuterIds, values.Frame.Outer);
        ExchangeGroup(page, InnerIds, values.Frame.Inner);
        ExchangeGroup(page, ShadowIds, values.Frame.Shadow);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts& facts) override {
        const bool fontColourEnabled = values.Digit.Evaluate(facts.FontHasShiftJis).FontColourEnabled;
        const FramePage::Rules r = values.Frame.Evaluate(fontColourEnabled);
        GroupRules(page, OuterIds, values.Frame.Outer, r.OuterCheckEnabled, r.OuterEnabled);
        GroupRules(page, InnerIds, values.Frame.Inner, r.InnerCheckEnabled, r.InnerEnabled);
        GroupRules(page, ShadowIds, values.Frame.Shadow, r.ShadowCheckEnabled, r.ShadowEnabled);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        return (id == OuterIds.Colour && ColourBoxCommand(page, id, code, values.Frame.Outer.Color, actions)) ||
               (id == InnerIds.Colour && ColourBoxCommand(page, id, code, values.Frame.Inner.Color, actions)) ||
               (id == ShadowIds.Colour && ColourBoxCommand(page, id, code, values.Frame.Shadow.Color, actions));
    }

private:
    static void ExchangeGroup(PageControls& page, const FrameGroupIds& ids, FrameGroup& group) {
        page.Check(ids.Check, group.On);
        ExchangeColour(page, ids.Colour, group.Color);
        page.Text(ids.Size, group.Size);
        page.Check(ids.Relative, group.Relative);
    }

    static void GroupRules(PageControls& page, const FrameGroupIds& ids, const FrameGroup& group, bool checkEnabled,
                           bool enabled) {
        page.Enable({ids.Check}, checkEnabled);
        page.Enable({ids.ColourLabel, ids.Colour, ids.SizeLabel, ids.Size, ids.UpDown, ids.Unit, ids.Relative},
                    enabled);
        page.SetText(ids.Unit, SizeUnitText(group.Relative));
    }
};

class BackgroundPageView final : public DesignPageView {
public:
    UINT TemplateId() const override { return IDD_DESIGN_BACKGROUND; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        FillList(page, IDC_BG_TYPE, {L"透過する", L"色で塗りつぶす", L"グラデーションで塗りつぶす", L"画像を表示する"});
        for (const int id : {IDC_BG_COLOR, IDC_BG_COLOR1, IDC_BG_COLOR2}) {
            PrepareColourBox(page, id);
        }
        FillList(page, IDC_GRADATION, {L"水平方向", L"垂直方向"});
        page.LimitText(IDC_BG_IMAGE, 255);
        FillList(page, IDC_BG_STYLE, {L"中央に表示", L"並べて表示", L"全体に表示"});
        page.SliderRange(IDC_BG_ALPHA, 0, 255, 16);
        SendDlgItemMessageW(page.Page(), IDC_BG_ALPHA, TBM_SETTICFREQ, 32, 0);
        page.NumberField(IDC_MARGIN_LEFT, IDC_MARGIN_LEFT_UPDOWN, BackgroundPage::MarginRange, 3);
        page.NumberField(IDC_MARGIN_TOP, IDC_MARGIN_TOP_UPDOWN, BackgroundPage::MarginRange, 3);
        page.NumberField(IDC_MARGIN_RIGHT, IDC_MARGIN_RIGHT_UPDOWN, BackgroundPage::MarginRange, 3);
        page.NumberField(IDC_MARGIN_BOTTOM, IDC_MARGIN_BOTTOM_UPDOWN, BackgroundPage::MarginRange, 3);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        BackgroundPage& b = values.Background;
        page.Choice(IDC_BG_TYPE, b.Type);
        ExchangeColour(page, IDC_BG_COLOR, b.Fill);
        ExchangeColour(page, IDC_BG_COLOR1, b.Gradation1);
        ExchangeColour(page, IDC_BG_COLOR2, b.Gradation2);
        page.Choice(IDC_GRADATION, b.Direction);
        page.Text(IDC_BG_IMAGE, b.File);
        page.Choice(IDC_BG_STYLE, b.Style);
        page.Slider(IDC_BG_ALPHA, b.Opacity);
        page.Text(IDC_MARGIN_LEFT, b.Margins[0]);
        page.Text(IDC_MARGIN_TOP, b.Margins[1]);
        page.Text(IDC_MARGIN_RIGHT, b.Margins[2]);
        page.Text(IDC_MARGIN_BOTTOM, b.Margins[3]);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts& facts) override {
        const BackgroundPage::Rules r = values.Background.Evaluate(facts.Facts.Display);
        page.Show({IDC_BG_COLOR_LABEL, IDC_BG_COLOR}, r.FillShown);
        page.Enable({IDC_BG_COLOR_LABEL, IDC_BG_COLOR}, r.FillEnabled);
        page.Show({IDC_BG_COLOR1_LABEL, IDC_BG_COLOR1, IDC_BG_COLOR2_LABEL, IDC_BG_COLOR2, IDC_GRADATION_LABEL,
                   IDC_GRADATION},
                  r.GradientShown);
        page.Show({IDC_BG_IMAGE_LABEL, IDC_BG_IMAGE, IDC_BG_IMAGE_BROWSE, IDC_BG_STYLE_LABEL, IDC_BG_STYLE},
                  r.ImageShown);
        page.Show({IDC_BG_ALPHA_LABEL, IDC_BG_ALPHA_LOW, IDC_BG_ALPHA, IDC_BG_ALPHA_HIGH}, r.OpacityShown);
        page.Enable({IDC_BG_ALPHA_LABEL, IDC_BG_ALPHA_LOW, IDC_BG_ALPHA, IDC_BG_ALPHA_HIGH}, r.OpacityEnabled);
    }

    bool Command(HWND page, int id, int code, OptionValues& values, OptionActions& actions) override {
        BackgroundPage& b = values.Background;
        switch (id) {
        case IDC_BG_IMAGE_BROWSE:
            return code == BN_CLICKED && PickFileInto(page, FileKind::Image, b.File, actions);
        case IDC_BG_COLOR:
            return ColourBoxCommand(page, id, code, b.Fill, actions);
        case IDC_BG_COLOR1:
            return ColourBoxCommand(page, id, code, b.Gradation1, actions);
        case IDC_BG_COLOR2:
            return ColourBoxCommand(page, id, code, b.Gradation2, actions);
        default:
            return false;
        }
    }
};

// Minutes and seconds.
constexpr std::wstring_view PartEntries[] = {L"表示しない", L"表示する (先頭のゼロなし)", L"表示する (先頭のゼロあり)"};

class FormatPageView final : public OptionPageView {
public:
    UINT TemplateId() const override { return IDD_DESIGN_FORMAT; }

    void Prepare(PageControls& page, const OptionFacts&) override {
        FillList(page, IDC_ALIGNMENT, {L"左揃え", L"右揃え", L"切り詰め"});
        FillList(page, IDC_HOUR,
                 {L"表示しない", L"12 時間制 (先頭のゼロなし)", L"12 時間制 (先頭のゼロあり)",
                  L"24 時間制 (先頭のゼロなし)", L"24 時間制 (先頭のゼロあり)"});
        page.FillChoices(IDC_MINUTE, PartEntries);
        page.FillChoices(IDC_SECOND, PartEntries);
    }

    void Exchange(PageControls& page, OptionValues& values) override {
        FormatPage& f = values.Format;
        page.Choice(IDC_ALIGNMENT, f.Alignment);
        page.Choice(IDC_HOUR, f.Hour);
        page.Check(IDC_HOUR0, f.Hour0);
        page.Check(IDC_HOUR24, f.Hour24);
        page.Choice(IDC_MINUTE, f.Minute);
        page.Choice(IDC_SECOND, f.Second);
    }

    void ApplyRules(PageControls& page, const OptionValues& values, const OptionPageFacts&) override {
        const FormatPage::Rules r = values.Format.Evaluate();
        page.Show({IDC_HOUR0}, r.Hour0Shown);
        page.Show({IDC_HOUR24}, r.Hour24Shown);
    }
};

} // namespace

void AddDesignPageViews(std::vector<std::unique_ptr<OptionPageView>>& views) {
    views.push_back(std::make_unique<DigitPageView>());
    views.push_back(std::make_unique<FramePageView>());
    views.push_back(std::make_unique<BackgroundPageView>());
    views.push_back(std::make_unique<FormatPageView>());
}

} // namespace lumora

#include "options/OptionValues.h"

namespace lumora {

OptionValues OptionValues::Load(const Settings& s, const OptionFacts& facts) {
    OptionValues v;
    v.Digit = DigitPage::Load(s, facts.Fonts);
    v.Frame = FramePage::Load(s);
    v.Background = BackgroundPage::Load(s);
    v.Format = FormatPage::Load(s);
    v.VisibleTime = VisibleTimePage::Load(s);
    v.Effects = EffectsPage::Load(s, facts.Display);
    v.ToolTip = ToolTipPage::Load(s);
    v.Tray = TrayPage::Load(s, facts.Fonts);
    v.Windows = WindowsPage::Load(s);
    v.Telop = TelopPage::Load(s, facts.Fonts);
    v.Menu = MenuPage::Load(s);
    v.Operation = OperationPage::Load(s, facts.Display.LayeredWindowsAvailable);
    v.Cuckoo = CuckooPage::Load(s);
    v.Adjust = AdjustPage::Load(s, facts.Ports, facts.Servers);
    v.Boot = BootPage::Load(s, facts.Boot);
    v.Omake = OmakePage::Load(s);
    v.CustomColours = CustomColoursForDialog(s.View.CustomColors);
    v.CustomColourTexts = s.View.CustomColors;
    return v;
}

// In the order the dialog's Apply copies the controls.
void OptionValues::Apply(Settings& s, const OptionFacts& facts, std::optional<bool> fontHasShiftJis, int activePage) {
    Digit.Apply(s, Digit.Evaluate(fontHasShiftJis).FullWidthEnabled);
    Frame.Apply(s);
    Background.Apply(s);
    Format.Apply(s);
    VisibleTime.Apply(s);
    Effects.Apply(s);
    Cuckoo.Apply(s);
    Adjust.Apply(s);
    ToolTip.Apply(s, facts.System);
    Operation.Apply(s);
    Tray.Apply(s, facts.System);
    Menu.Apply(s);
    Windows.Apply(s);
    Telop.Apply(s);
    Omake.Apply(s);
    Boot.Apply(s, facts.Display.LayeredWindowsAvailable);
    s.View.CustomColors = CustomColourItems(CustomColours, CustomColourTexts);
    s.View.OptionSelectedTab = activePage;
}

} // namespace lumora

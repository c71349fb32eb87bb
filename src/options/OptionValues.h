#pragma once
// Every page of the options dialog at once: loaded from a settings copy when the dialog is
// created, and written back into one on Apply.

#include "options/DesignPages.h"
#include "options/TopLevelPages.h"
#include "options/ViewPages.h"

namespace lumora {

// What the dialog learns from the system before it loads.
struct OptionFacts {
    DisplayFacts Display;
    FontChoices Fonts;
    SystemDefaults System;
    std::vector<std::wstring> Ports;     // serial ports, sorted
    std::vector<std::wstring> PortTexts; // their entries, "COM1 (description)", parallel to Ports
    BuiltInServers Servers;
    BootPage::Facts Boot;
    TrayPage::Facts Tray;
};

struct OptionValues {
    DigitPage Digit;
    FramePage Frame;
    BackgroundPage Background;
    FormatPage Format;
    VisibleTimePage VisibleTime;
    EffectsPage Effects;
    ToolTipPage ToolTip;
    TrayPage Tray;
    WindowsPage Windows;
    TelopPage Telop;
    MenuPage Menu;
    OperationPage Operation;
    CuckooPage Cuckoo;
    AdjustPage Adjust;
    BootPage Boot;
    OmakePage Omake;
    std::array<Colour, ViewSettings::CustomColorCount> CustomColours{};
    std::vector<std::wstring> CustomColourTexts; // as read, kept for the colours left alone

    static OptionValues Load(const Settings& settings, const OptionFacts& facts);
    // Corrected fields show what was stored. fontHasShiftJis as for DigitPage::Evaluate;
    // activePage becomes OptionSelectedTab.
    void Apply(Settings& settings, const OptionFacts& facts, std::optional<bool> fontHasShiftJis, int activePage);
};

} // namespace lumora

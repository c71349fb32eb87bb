#include "options/OptionValues.h"
#include "settings/IniDocument.h"
#include "settings/SettingsSchema.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// Every numeric field of every page, as the user can fill it.
std::vector<std::wstring*> NumberFields(OptionValues& v) {
    std::vector<std::wstring*> fields = {&v.Digit.FontSize,
                                         &v.Digit.Spacing,
                                         &v.Frame.Outer.Size,
                                         &v.Frame.Inner.Size,
                                         &v.Frame.Shadow.Size,
                                         &v.VisibleTime.AutoHideTime,
                                         &v.VisibleTime.AutoHideTiming,
                                         &v.Effects.Timing,
                                         &v.ToolTip.Time,
                                         &v.Telop.FlashCount,
                                         &v.Operation.SnapPosition,
                                         &v.Operation.SnapX,
                                         &v.Operation.SnapY,
                                         &v.Operation.Threshold,
                                         &v.Cuckoo.Timing,
                                         &v.Adjust.NtpPort,
                                         &v.Adjust.NtpTimeOut,
                                         &v.Adjust.NtpOffset,
                                         &v.Adjust.ProxyPort,
                                         &v.Adjust.HttpTimeOut,
                                         &v.Adjust.HttpOffset,
                                         &v.Adjust.KitTimeOut,
                                         &v.Adjust.KitOffset,
                                         &v.Adjust.Interval,
                                         &v.Boot.DelayValue,
                                         &v.Omake.Channel};
    for (std::wstring& margin : v.Background.Margins) {
        fields.push_back(&margin);
    }
    return fields;
}

// Whatever is typed, Apply stores only what the loader takes back unchanged, and every field then
// shows a number.
TEST(OptionInput, BadInputIsStoredAsTheLoaderReadsIt) {
    OptionFacts facts;
    facts.Fonts = {{L"MS UI Gothic"}, {true}, L"MS UI Gothic"};
    facts.Ports = {L"COM1"};
    const Settings original = DefaultSettings({});
    for (const std::wstring& typed :
         {std::wstring(L"abc"), std::wstring(), std::wstring(L"-"), std::wstring(L"99999999999999999999"),
          std::wstring(L"-2147483649"), std::wstring(1000, L'9')}) {
        OptionValues values = OptionValues::Load(original, facts);
        for (std::wstring* field : NumberFields(values)) {
            *field = typed;
        }
        Settings applied = original;
        values.Apply(applied, facts, true, 0);

        IniDocument document;
        WriteSettings(document, applied, L'.');
        Settings reread = DefaultSettings({});
        LoadSettings(document, reread, {});
        LoadBootSettings(document, reread.Boot);
        EXPECT_TRUE(reread == applied) << "typed: "
                                       << std::string(typed.begin(),
                                                      typed.begin() + std::min<size_t>(typed.size(), 20));
        for (std::wstring* field : NumberFields(values)) {
            EXPECT_FALSE(field->empty());
            EXPECT_NE(*field, typed);
        }
    }
}

} // namespace
} // namespace lumora

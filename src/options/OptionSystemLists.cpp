#include "options/OptionSystemLists.h"

#include "options/BuiltInServers.h"
#include "options/StartupShortcut.h"
#include "clock/SystemFacts.h"
#include "shell/GdiObjects.h"
#include "shell/Registry.h"
#include "shell/UniqueHandle.h"

#include <algorithm>

namespace lumora {
namespace {

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
    auto& families = *reinterpret_cast<std::vector<std::wstring>*>(data);
    if (font->lfFaceName[0] != L'@') {
        families.emplace_back(font->lfFaceName);
    }
    return 1;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
}

// Every family of one character set (DEFAULT_CHARSET: of all of them), vertical variants left out.
std::vector<std::wstring> FamiliesOf(HDC dc, BYTE charSet) {
    std::vector<std::wstring> families;
    LOGFONTW wanted{};
    wanted.lfCharSet = charSet;
    EnumFontFamiliesExW(dc, &wanted, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
    std::sort(families.begin(), families.end(), LessIgnoringCase);
    families.erase(std::unique(families.begin(), families.end(),
                               [](const auto& a, const auto& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }),
                   families.end());
    return families;
}

std::wstring Upper(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; });
    return text;
}

UniqueRegistryKey OpenKey(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return UniqueRegistryKey();
    }
    return UniqueRegistryKey(key);
}

// The names of a key's subkeys; false when the enumeration fails other than by running out.
bool SubkeyNames(HKEY key, std::vector<std::wstring>& names) {
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LSTATUS status = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return true;
        }
        if (status != ERROR_SUCCESS) {
            return false;
        }
        names.emplace_back(name, length);
    }
}

void AddPort(HKEY instance, SerialPorts& ports) {
    const std::wstring service = Upper(RegistryString(instance, nullptr, L"Service"));
    const std::wstring deviceClass = Upper(RegistryString(instance, nullptr, L"Class"));
    if (service != L"SERIAL" && deviceClass != L"PORTS") {
        return;
    }
    const UniqueRegistryKey parameters = OpenKey(instance, L"Device Parameters");
    const std::wstring name = Upper(RegistryString(parameters ? parameters.Get() : instance, nullptr, L"PortName"));
    if (name.compare(0, 3, L"COM") != 0) {
        return;
    }
    const auto at = std::lower_bound(ports.Names.begin(), ports.Names.end(), name, LessIgnoringCase);
    if (at != ports.Names.end() && _wcsicmp(at->c_str(), name.c_str()) == 0) {
        return; // one entry per port, so the two lists stay parallel
    }
    const auto index = at - ports.Names.begin();
    ports.Names.insert(at, name);
    const std::wstring text = name + L" (" + RegistryString(instance, nullptr, L"DeviceDesc") + L")";
    ports.Texts.insert(ports.Texts.begin() + index, text);
}

// Bus enumerators, device identifiers, instances.
bool WalkDevices(HKEY base, SerialPorts& ports) {
    std::vector<std::wstring> buses;
    if (!SubkeyNames(base, buses)) {
        return false;
    }
    for (const std::wstring& bus : buses) {
        const UniqueRegistryKey busKey = OpenKey(base, bus);
        std::vector<std::wstring> devices;
        if (!busKey || !SubkeyNames(busKey.Get(), devices)) {
            if (busKey) {
                return false;
            }
            continue;
        }
        for (const std::wstring& device : devices) {
            const UniqueRegistryKey deviceKey = OpenKey(busKey.Get(), device);
            std::vector<std::wstring> instances;
            if (!deviceKey) {
                continue;
            }
            if (!SubkeyNames(deviceKey.Get(), instances)) {
                return false;
            }
            for (const std::wstring& instance : instances) {
                if (const UniqueRegistryKey key = OpenKey(deviceKey.Get(), instance)) {
                    AddPort(key.Get(), ports);
                }
            }
        }
    }
    return true;
}

} // namespace

FontChoices ReadFontChoices() {
    FontChoices choices;
    const WindowDC dc(nullptr);
    choices.Families = FamiliesOf(dc.Get(), DEFAULT_CHARSET);
    // One enumeration of the Shift-JIS families rather than one look-up per family: the
    // dialog opens noticeably faster on a machine with many fonts.
    const std::vector<std::wstring> japanese = FamiliesOf(dc.Get(), SHIFTJIS_CHARSET);
    for (const std::wstring& family : choices.Families) {
        choices.ShiftJis.push_back(std::binary_search(japanese.begin(), japanese.end(), family, LessIgnoringCase));
    }
    return choices;
}

std::wstring RealFaceName(HFONT font) {
    LOGFONTW logical{};
    GetObjectW(font, sizeof(logical), &logical);
    const WindowDC dc(nullptr);
    const HGDIOBJ previous = SelectObject(dc.Get(), font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), static_cast<int>(std::size(face)), face);
    SelectObject(dc.Get(), previous);
    return face[0] != L'\0' ? face : logical.lfFaceName;
}

SerialPorts ReadSerialPorts() {
    UniqueRegistryKey base = OpenKey(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Enum");
    if (!base) {
        base = OpenKey(HKEY_LOCAL_MACHINE, L"Enum");
    }
    SerialPorts ports;
    if (base && !WalkDevices(base.Get(), ports)) {
        return {};
    }
    return ports;
}

OptionFacts ReadOptionFacts(const DisplayFacts& display, const SettingsLocation& location, bool taskbarClockFound) {
    OptionFacts facts;
    facts.Display = display;
    facts.Fonts = ReadFontChoices();
    facts.System = ReadSystemDefaults();
    SerialPorts ports = ReadSerialPorts();
    facts.Ports = std::move(ports.Names);
    facts.PortTexts = std::move(ports.Texts);
    facts.Servers = DefaultServerLists();
    facts.Boot.ShortcutExists = StartupShortcutExists();
    facts.Boot.UseAppDataFolder = location.UsesApplicationData();
    facts.Boot.PriorityClass = static_cast<int32_t>(GetPriorityClass(GetCurrentProcess()));
    facts.Boot.LayeredWindowsAvailable = display.LayeredWindowsAvailable;
    facts.Tray.TaskbarClockFound = taskbarClockFound;
    return facts;
}

} // namespace lumora

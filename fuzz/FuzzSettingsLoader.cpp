// Whatever the settings file holds, loading must not crash, and the file written from the
// loaded settings must load to the very same settings.

#include "settings/SettingsSchema.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Latin-1: every byte is one character, so NUL and control characters all get through.
    const std::wstring text(data, data + size);
    const wchar_t separator = size > 0 && (data[0] & 1) ? L',' : L'.';
    const LoadOptions options{separator, size > 1 && (data[1] & 1)};

    Settings loaded = DefaultSettings({});
    LoadSettings(IniDocument::Parse(text), loaded, options);

    IniDocument written = IniDocument::Parse(text);
    WriteSettings(written, loaded, separator);
    Settings reloaded = DefaultSettings({});
    LoadSettings(IniDocument::Parse(written.Serialize()), reloaded, options);
    LoadBootSettings(written, reloaded.Boot);
    if (!(reloaded == loaded)) {
        std::abort();
    }
    return 0;
}

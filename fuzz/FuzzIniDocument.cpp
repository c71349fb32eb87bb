// Settings files come from disk and may be hand-edited or damaged: parsing must never crash,
// and what we write must read back to the same document.

#include "FuzzCheck.h"
#include "settings/IniDocument.h"
#include "settings/ValueCodecs.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace lumora;

namespace {

void ReadValue(const std::wstring& value) {
    if (const auto number = ParseInteger(value)) {
        Check(ParseInteger(FormatInteger(*number)) == number);
    }
    for (wchar_t separator : {L'.', L','}) {
        if (const auto number = ParseFloat(value, separator)) {
            Check(ParseFloat(FormatFloat(*number, separator), separator) == number);
        }
    }
    if (const auto colour = ParseColour(value)) {
        Check(ParseColour(FormatColour(*colour)) == colour);
    }
    const std::vector<std::wstring> items = SplitCommaList(value);
    Check(SplitCommaList(JoinQuotedCommaList(items)) == items);
    // A single empty item joins to "", which reads as no items at all.
    if (!(items.size() == 1 && items[0].empty())) {
        Check(SplitCommaList(JoinCommaList(items)) == items);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Latin-1: every byte is one character, so NUL and control characters all get through.
    const std::wstring text(data, data + size);

    const IniDocument doc = IniDocument::Parse(text);
    const std::wstring first = doc.Serialize();
    const IniDocument again = IniDocument::Parse(first);
    Check(again == doc);
    Check(again.Serialize() == first);

    for (size_t pos = 0; pos < first.size();) {
        size_t end = first.find(L"\r\n", pos);
        const std::wstring line = first.substr(pos, end - pos);
        pos = end + 2;
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos && line[0] != L'[' && line[0] != L';') {
            ReadValue(line.substr(equals + 1));
        }
    }
    return 0;
}

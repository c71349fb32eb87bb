#include "overlays/TelopText.h"

#include <algorithm>

namespace lumora {

std::vector<std::wstring> TelopLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
        if (end > start) {
            lines.emplace_back(text.substr(start, end - start));
        }
        if (end == text.size()) {
            break;
        }
        start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
    }
    return lines;
}

bool IsTypedLine(size_t index, size_t lineCount, bool scroll) {
    return scroll && index > 0 && index + 1 < lineCount;
}

std::vector<std::wstring> TelopCharacters(std::wstring_view line) {
    std::vector<std::wstring> characters;
    for (size_t i = 0; i < line.size();) {
        const bool pair = line[i] >= 0xD800 && line[i] <= 0xDBFF && i + 1 < line.size() && line[i + 1] >= 0xDC00 &&
                          line[i + 1] <= 0xDFFF;
        const size_t length = pair ? 2 : 1;
        characters.emplace_back(line.substr(i, length));
        i += length;
    }
    return characters;
}

} // namespace lumora

#include "overlays/TelopLayout.h"

#include "overlays/OutlinedText.h"
#include "overlays/TelopText.h"

#include <algorithm>

namespace lumora {

TelopBox TelopBoxFor(int displayWidth, int displayHeight) {
    TelopBox box;
    box.FontHeight = displayHeight / 20;
    box.OutlineWidth = OutlineWidthFor(box.FontHeight, 8);
    box.Width = displayWidth - displayWidth / 4;
    box.TextHeightLimit = displayHeight / 2;
    return box;
}

Rect TelopWindowRect(const TelopBox& box, int displayWidth, int rowHeight) {
    return {displayWidth - displayWidth / 2 - box.Width / 2, TelopTop, box.Width,
            (rowHeight + box.OutlineWidth) * TelopRows};
}

TelopPaging PageCharacters(std::span<const int> widths, int rowWidth, int rowCount) {
    rowCount = std::max(rowCount, 1);
    TelopPaging paging;
    paging.Places.reserve(widths.size());
    int x = 0;
    int row = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        const int width = std::max(widths[i], 0);
        if (x > 0 && x + width > rowWidth) {
            x = 0;
            ++row;
        }
        // Checked for every character, not only at the end of a row: a wide character after
        // narrow ones must not wrap below the picture where nobody sees it.
        if (paging.PageStarts.empty() || row >= rowCount) {
            paging.PageStarts.push_back(i);
            row = 0;
        }
        paging.Places.push_back({x, row});
        x += width;
    }
    return paging;
}

std::vector<TelopLine> LayOutTelop(const std::vector<std::wstring>& lines, bool scroll, int rowWidth, int rowCount,
                                   const std::function<int(std::wstring_view)>& measure) {
    std::vector<TelopLine> shown;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsTypedLine(i, lines.size(), scroll)) {
            shown.push_back({lines[i], {}, {}});
            continue;
        }
        const std::vector<std::wstring> characters = TelopCharacters(lines[i]);
        std::vector<int> widths;
        widths.reserve(characters.size());
        for (const std::wstring& c : characters) {
            widths.push_back(measure(c));
        }
        const TelopPaging paging = PageCharacters(widths, rowWidth, rowCount);
        for (size_t p = 0; p < paging.PageStarts.size(); ++p) {
            const size_t first = paging.PageStarts[p];
            const size_t end = p + 1 < paging.PageStarts.size() ? paging.PageStarts[p + 1] : characters.size();
            TelopLine page;
            for (size_t k = first; k < end; ++k) {
                page.Text += characters[k];
                page.Characters.push_back(characters[k]);
                page.Places.push_back(paging.Places[k]);
            }
            shown.push_back(std::move(page));
        }
    }
    return shown;
}

std::vector<size_t> CharacterCounts(const std::vector<TelopLine>& lines) {
    std::vector<size_t> counts;
    counts.reserve(lines.size());
    for (const TelopLine& line : lines) {
        counts.push_back(line.Characters.empty() ? TelopCharacters(line.Text).size() : line.Characters.size());
    }
    return counts;
}

} // namespace lumora

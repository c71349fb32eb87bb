#include "tools/WindowFinderRules.h"

#include "clock/Placement.h"

#include <algorithm>

namespace lumora {

int FindTitleWrapping(const std::vector<IgnoredWindow>& entries, int start, std::wstring_view title) {
    const int count = static_cast<int>(entries.size());
    if (start < 0 || start >= count) {
        start = 0;
    }
    for (int i = 0; i < count; ++i) {
        const int row = (start + i) % count;
        if (SameIgnoringCase(entries[static_cast<size_t>(row)].Title, title)) {
            return row;
        }
    }
    return -1;
}

FinderVerdict CheckFinderEntry(const std::vector<IgnoredWindow>& entries, int selected, bool editing,
                               std::wstring_view title, std::wstring_view className) {
    if (editing) {
        return {};
    }
    const std::wstring titleText(title);
    const std::wstring classText(className);
    if (!title.empty() && !className.empty() && std::ranges::any_of(entries, [&](const IgnoredWindow& e) {
            return SameIgnoringCase(e.Title, title) && SameIgnoringCase(e.ClassName, className);
        })) {
        return {FinderRefusal::PairTaken, {titleText, classText}};
    }
    // Any all-windows-of-class entry counts, not only the first entry of the class: the list may
    // hold the class with a title before it.
    if (std::ranges::any_of(entries, [&](const IgnoredWindow& e) {
            return e.Title.empty() && SameIgnoringCase(e.ClassName, className);
        })) {
        return {title.empty() ? FinderRefusal::ClassTaken : FinderRefusal::ClassCoveredForTitle, {classText}};
    }
    const int row = FindTitleWrapping(entries, selected, title);
    if (row < 0) {
        return {};
    }
    if (entries[static_cast<size_t>(row)].ClassName.empty()) {
        return {className.empty() ? FinderRefusal::TitleTaken : FinderRefusal::TitleCoveredForClass, {titleText}};
    }
    if (className.empty()) {
        return {FinderRefusal::ClassNeeded, {titleText}};
    }
    return {};
}

} // namespace lumora

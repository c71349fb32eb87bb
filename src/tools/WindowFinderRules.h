#pragma once
// The window finder's OK check: whether a new entry of the exclusion list fits beside the entries
// already there, and if not, which message refuses it. An entry with an empty title stands for all
// windows of its class, one with an empty class for all windows with its title.

#include "settings/Settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumora {

enum class FinderRefusal {
    None,
    PairTaken,            // the same title with the same class [title, class]
    ClassCoveredForTitle, // a title given while all windows of the class are listed [class]
    ClassTaken,           // all windows of the class are listed already [class]
    TitleCoveredForClass, // a class given while all windows with the title are listed [title]
    TitleTaken,           // all windows with the title are listed already [title]
    ClassNeeded,          // the title is listed with a class, so this one needs a class too [title]
};

struct FinderVerdict {
    FinderRefusal Refusal = FinderRefusal::None;
    std::vector<std::wstring> Arguments; // the message's %s, in order

    bool Accepted() const { return Refusal == FinderRefusal::None; }
};

// The first entry whose whole title equals `title` (case ignored), searching from `start` to the
// end and then on from the top; a start outside the list searches from the top. -1 when none.
int FindTitleWrapping(const std::vector<IgnoredWindow>& entries, int start, std::wstring_view title);

// OK of the finder: editing an entry is never checked; a new entry is checked against `entries`,
// where `selected` is the list's selected row (-1 none), from which the title search starts.
FinderVerdict CheckFinderEntry(const std::vector<IgnoredWindow>& entries, int selected, bool editing,
                               std::wstring_view title, std::wstring_view className);

} // namespace lumora

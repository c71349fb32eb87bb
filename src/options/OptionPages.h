#pragma once
// The pages of the options dialog and the tree that is its only navigation: captions, help
// context numbers, group nodes, and where the selection goes when it lands on a group.

#include <array>
#include <string_view>
#include <vector>

namespace lumora {

struct OptionPage {
    std::wstring_view Caption; // "group|page", or a top-level page without a bar
    int HelpContext = 0;
};

constexpr int OptionPageCount = 16;

// The pages in index order; OptionSelectedTab counts them.
extern const std::array<OptionPage, OptionPageCount> OptionPages;

struct OptionTreeNode {
    std::wstring_view Text;
    int Parent = -1; // index of the group node, or -1 at the top level
    int Page = 0;    // the page it shows; a group shows the page of its first child
    bool IsGroup = false;
};

// The nodes in tree order (a group before its children). The tree is always fully expanded, so
// this is also the order the arrow keys walk.
std::vector<OptionTreeNode> BuildOptionTree();

// The page node of a page (never a group): the node the tree selects when the page is shown by
// other means than the tree.
int TreeNodeOfPage(const std::vector<OptionTreeNode>& tree, int page);

// The page to show when the tree reports `node` selected while `currentPage` is shown. A group
// cannot stay selected: the selection moves on to the next node, or with the Up key held to the
// previous one, so the keyboard walks past the group (the next one when nothing is above it).
int PageForSelectedNode(const std::vector<OptionTreeNode>& tree, int currentPage, int node, bool upKeyHeld);

// The page the dialog opens at: OptionSelectedTab, or the first page when it names none.
int InitialOptionPage(int optionSelectedTab);

} // namespace lumora

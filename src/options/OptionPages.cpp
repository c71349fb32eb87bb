#include "options/OptionPages.h"

namespace lumora {

const std::array<OptionPage, OptionPageCount> OptionPages{{
    {L"デザイン|文字", 32},
    {L"デザイン|装飾", 34},
    {L"デザイン|背景", 36},
    {L"デザイン|書式", 38},
    {L"表示|表示時間", 42},
    {L"表示|視覚効果", 44},
    {L"表示|ツールチップ", 46},
    {L"表示|タスク トレイ", 48},
    {L"表示|配置", 50},
    {L"表示|テロップ", 54},
    {L"表示|メニュー", 56},
    {L"操作", 58},
    {L"時報", 60},
    {L"時刻合わせ", 62},
    {L"起動", 66},
    {L"おまけ", 68},
}};

std::vector<OptionTreeNode> BuildOptionTree() {
    std::vector<OptionTreeNode> tree;
    for (int page = 0; page < OptionPageCount; ++page) {
        const std::wstring_view caption = OptionPages[page].Caption;
        const size_t bar = caption.find(L'|');
        if (bar == std::wstring_view::npos) {
            tree.push_back({caption, -1, page, false});
            continue;
        }
        // The group is made at the first page that names it.
        const std::wstring_view group = caption.substr(0, bar);
        int parent = -1;
        for (int i = 0; i < static_cast<int>(tree.size()); ++i) {
            if (tree[i].IsGroup && tree[i].Text == group) {
                parent = i;
            }
        }
        if (parent < 0) {
            parent = static_cast<int>(tree.size());
            tree.push_back({group, -1, page, true});
        }
        tree.push_back({caption.substr(bar + 1), parent, page, false});
    }
    return tree;
}

int TreeNodeOfPage(const std::vector<OptionTreeNode>& tree, int page) {
    for (int i = 0; i < static_cast<int>(tree.size()); ++i) {
        if (!tree[i].IsGroup && tree[i].Page == page) {
            return i;
        }
    }
    return -1;
}

int PageForSelectedNode(const std::vector<OptionTreeNode>& tree, int currentPage, int node, bool upKeyHeld) {
    const int count = static_cast<int>(tree.size());
    auto pageNodeFrom = [&](int start, int step) {
        for (int i = start; i >= 0 && i < count; i += step) {
            if (!tree[i].IsGroup) {
                return i;
            }
        }
        return -1;
    };
    if (node < 0 || node >= count) {
        return currentPage;
    }
    if (!tree[node].IsGroup) {
        return tree[node].Page;
    }
    int target = upKeyHeld ? pageNodeFrom(node - 1, -1) : -1;
    if (target < 0) {
        target = pageNodeFrom(node + 1, 1);
    }
    return target < 0 ? currentPage : tree[target].Page;
}

int InitialOptionPage(int optionSelectedTab) {
    return optionSelectedTab >= 0 && optionSelectedTab < OptionPageCount ? optionSelectedTab : 0;
}

} // namespace lumora

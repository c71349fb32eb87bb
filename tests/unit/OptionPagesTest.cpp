#include "options/OptionPages.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

TEST(OptionPages, TreeHasTwoGroupsAndTopLevelPages) {
    const auto tree = BuildOptionTree();
    // Text, then "+" for a group, the page shown, and the parent's index.
    std::wstring listing;
    for (const auto& node : tree) {
        listing += std::wstring(node.Text) + (node.IsGroup ? L"+" : L"") + L"=" + std::to_wstring(node.Page) + L"^" +
                   std::to_wstring(node.Parent) + L" ";
    }
    EXPECT_EQ(listing, L"デザイン+=0^-1 文字=0^0 装飾=1^0 背景=2^0 書式=3^0 表示+=4^-1 表示時間=4^5 視覚効果=5^5 "
                       L"ツールチップ=6^5 タスク トレイ=7^5 配置=8^5 テロップ=9^5 メニュー=10^5 操作=11^-1 時報=12^-1 "
                       L"時刻合わせ=13^-1 起動=14^-1 おまけ=15^-1 ");
    EXPECT_EQ(OptionPages[3].HelpContext, 38);
    EXPECT_EQ(OptionPages[4].HelpContext, 42);
    EXPECT_EQ(OptionPages[9].HelpContext, 54);
    EXPECT_EQ(OptionPages[14].HelpContext, 66);
    EXPECT_EQ(OptionPages[15].HelpContext, 68);
}

TEST(OptionPages, GroupNodeNeverStaysSelected) {
    const auto tree = BuildOptionTree();
    const int design = 0, view = 5;
    const struct {
        int Current, Node;
        bool Up;
        int Expected;
    } cases[] = {
        {11, view, false, 4},                    // clicked, or reached with the Down key from 書式
        {4, view, true, 3},                      // Up from 表示時間 walks on past the group to 書式
        {0, design, true, 0},                    // nothing above the first group: its first page
        {7, design, false, 0}, {2, 9, false, 7}, // a page node shows its page
        {2, 99, false, 2},                       // no such node: the page stays
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageForSelectedNode(tree, c.Current, c.Node, c.Up), c.Expected) << c.Current << " " << c.Node;
    }
    EXPECT_EQ(TreeNodeOfPage(tree, 0), 1); // the page node, not its group
    EXPECT_EQ(TreeNodeOfPage(tree, 4), 6);
    EXPECT_EQ(TreeNodeOfPage(tree, 15), 17);
}

TEST(OptionPages, OpensAtTheStoredPageOrTheFirst) {
    const int cases[][2] = {{-1, 0}, {0, 0}, {13, 13}, {15, 15}, {16, 0}, {1000, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(InitialOptionPage(c[0]), c[1]) << c[0];
    }
}

} // namespace
} // namespace lumora

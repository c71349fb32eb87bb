#include "settings/IniDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

TEST(IniDocument, ReadsEveryKindOfLineEnd) {
    for (const wchar_t* text :
         {L"[View]\r\nA=1\r\nB=2\r\n", L"[View]\nA=1\nB=2", L"[View]\rA=1\rB=2\r", L"[View]\r\n\rA=1\n\r\nB=2"}) {
        SCOPED_TRACE(testing::Message() << "case " << std::wstring(text).size());
        const IniDocument doc = IniDocument::Parse(text);
        EXPECT_EQ(doc.Find(L"View", L"A"), L"1");
        EXPECT_EQ(doc.Find(L"View", L"B"), L"2");
        EXPECT_EQ(doc.SectionValues(L"View").size(), 2u);
    }
}

TEST(IniDocument, LooksUpSectionsAndKeysWithoutCase) {
    const IniDocument doc = IniDocument::Parse(L"[View]\nPlacement = 0,10,10 \nplacement=second\n\t Alpha\t=\t255\n");
    EXPECT_EQ(doc.Find(L"VIEW", L"placement"), L"0,10,10");
    EXPECT_EQ(doc.Find(L"view", L"ALPHA"), L"255");
    EXPECT_EQ(doc.ReadString(L"View", L"Missing", L"fallback"), L"fallback");
    EXPECT_EQ(doc.ReadString(L"Nowhere", L"Alpha", L"fallback"), L"fallback");
    EXPECT_FALSE(doc.Find(L"Vie", L"Alpha"));
    EXPECT_TRUE(doc.HasSection(L"vIeW"));
    EXPECT_FALSE(doc.HasSection(L"Operation"));
}

TEST(IniDocument, DropsLinesItCannotRead) {
    struct Case {
        std::wstring text;
        std::wstring expected;
    };
    const std::wstring longValue(IniDocument::MaxLineLength - 2, L'x');
    const Case cases[] = {
        {L"Orphan=1\n[S]\nA=1\n", L"[S]\r\nA=1\r\n"},
        {L"[S]\nno equals sign\nA=1\n", L"[S]\r\nA=1\r\n"},
        {L"[S]\n=no key\nA=1\n", L"[S]\r\nA=1\r\n"},
        {std::wstring(L"[S]\nB=x\0y\nA=1\n", 16), L"[S]\r\nA=1\r\n"},
        {std::wstring(L"[T\0]\nB=2\n[S]\nA=1\n", 18), L"[S]\r\nA=1\r\n"},
        {L"[S]\nA=" + longValue + L"\n", L"[S]\r\nA=" + longValue + L"\r\n"},
        {L"[S]\nA=" + longValue + L"y\nB=2\n", L"[S]\r\nB=2\r\n"},
        {L"[ S ] trailing\n  \t\nA = a = b\n", L"[S]\r\nA=a = b\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "input of " << c.text.size() << " characters");
        EXPECT_EQ(IniDocument::Parse(c.text).Serialize(), c.expected);
    }
}

TEST(IniDocument, KeepsUnknownContentAndCommentsOnRewrite) {
    IniDocument doc = IniDocument::Parse(L"; written by Lumora\n"
                                         L"[View]\n"
                                         L"; placement below\n"
                                         L"Placement=0,10,10\n"
                                         L"FutureKey=kept\n"
                                         L"[FutureSection]\n"
                                         L"X=y\n");
    doc.WriteString(L"view", L"PLACEMENT", L"2,300,400");
    doc.WriteString(L"View", L"AlphaBlend", L"200");
    doc.WriteString(L"Boot", L"Priority", L"32");
    EXPECT_EQ(doc.Serialize(), L"; written by Lumora\r\n"
                               L"\r\n"
                               L"[View]\r\n"
                               L"; placement below\r\n"
                               L"Placement=2,300,400\r\n"
                               L"FutureKey=kept\r\n"
                               L"AlphaBlend=200\r\n"
                               L"\r\n"
                               L"[FutureSection]\r\n"
                               L"X=y\r\n"
                               L"\r\n"
                               L"[Boot]\r\n"
                               L"Priority=32\r\n");
}

TEST(IniDocument, MergesRepeatedSectionsAndTakesTheFirstKey) {
    const IniDocument doc = IniDocument::Parse(L"[A]\nK=1\n[B]\nK=b\n[a]\nK=2\nL=3\n");
    EXPECT_EQ(doc.Find(L"A", L"K"), L"1");
    EXPECT_EQ(doc.Find(L"A", L"L"), L"3");
    EXPECT_EQ(doc.SectionValues(L"A"), (std::vector<std::wstring>{L"1", L"2", L"3"}));
    EXPECT_EQ(doc.Serialize(), L"[A]\r\nK=1\r\nK=2\r\nL=3\r\n\r\n[B]\r\nK=b\r\n");
}

TEST(IniDocument, ErasedSectionIsRewrittenAtTheEnd) {
    IniDocument doc = IniDocument::Parse(L"[NTPServer]\na=x\n; note\nServer7=y\n[Timer]\nT=1\n");
    EXPECT_EQ(doc.SectionValues(L"ntpserver"), (std::vector<std::wstring>{L"x", L"y"}));

    doc.EraseSection(L"NTPSERVER");
    EXPECT_FALSE(doc.HasSection(L"NTPServer"));
    EXPECT_TRUE(doc.SectionValues(L"NTPServer").empty());
    doc.WriteString(L"NTPServer", L"Server1", L"x");
    doc.WriteString(L"NTPServer", L"Server2", L"y");
    EXPECT_EQ(doc.Serialize(), L"[Timer]\r\nT=1\r\n\r\n[NTPServer]\r\nServer1=x\r\nServer2=y\r\n");
}

TEST(IniDocument, SerializedTextReadsBackToTheSameDocument) {
    const std::wstring texts[] = {
        L"",
        L"; only a comment",
        L";c1\n;c2\n[A]\n;in A\nk=v\n[B]\n[C]\nx= spaced  value =\n",
        L"[]\n=\nk=\n[ [odd] ]\n;\n[Telop]\nTitle=\"quoted, text\"\n",
        L"[View]\nVisibleHours=" + std::wstring(10080, L'1') + L"\n",
    };
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(testing::Message() << "input of " << text.size() << " characters");
        const IniDocument doc = IniDocument::Parse(text);
        const IniDocument again = IniDocument::Parse(doc.Serialize());
        EXPECT_EQ(again, doc);
        EXPECT_EQ(again.Serialize(), doc.Serialize());
    }

    IniDocument written;
    written.WriteString(L"View", L"Placement", L"0,10,10");
    written.WriteString(L"IgnoreWindows", L"IgnoreWindow1", L"\"Title\",\"Class\"");
    EXPECT_EQ(IniDocument::Parse(written.Serialize()), written);
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

TEST(IniDocument, AValueCannotForgeOrHideKeys) {
    IniDocument doc;
    doc.WriteString(L"Telop", L"Title", std::wstring(L"News\r\n[Boot]\r\nPriority=256\0x", 28));
    const IniDocument back = IniDocument::Parse(doc.Serialize());
    EXPECT_FALSE(back.HasSection(L"Boot"));
    EXPECT_EQ(back.ReadString(L"Telop", L"Title", L""), L"News  [Boot]  Priority=256 x");
}

} // namespace
} // namespace lumora

#include "site/CodePage932.h"
#include "site/TextUtils.h"

#include <gtest/gtest.h>

namespace {

std::string S(std::string_view utf8) { return Utf8ToShiftJis(utf8); }

TEST(TextUtils, TrimRemovesControlBytesAndSpacesButNotIdeographicSpace)
{
    EXPECT_EQ(TrimText("\r\n  \t<p class=\"x\">1</p> \x01"), "<p class=\"x\">1</p>");
    EXPECT_EQ(TrimText(std::string("\0\x20\x1F", 3)), "");
    EXPECT_EQ(TrimText(S("　東京　")), S("　東京　"));
}

TEST(TextUtils, FindNeverMatchesOnATrailByte)
{
    // "ア" is 0x83 0x41: its trail byte equals "A".
    const std::string text = S("アA");
    EXPECT_EQ(FindText("A", text), 3);
    EXPECT_EQ(FindText("A", S("ア")), 0);
    // "ソ" is 0x83 0x5C: its trail byte equals the backslash.
    EXPECT_EQ(FindText("\\", S("ソ")), 0);
    EXPECT_EQ(FindText("", "abc"), 0);
    EXPECT_EQ(FindText("c", "abc"), 3);
    EXPECT_TRUE(ContainsText(S("57件"), S("件")));
    EXPECT_FALSE(ContainsText("abc", ""));
}

TEST(TextUtils, ReplaceAllDoesNotRescanAndIgnoresAsciiCaseOnly)
{
    EXPECT_EQ(ReplaceAllText("&amp;amp;", "&amp;", "&"), "&amp;");
    EXPECT_EQ(ReplaceAllText("a&AMP;b&amp;c", "&amp;", "&"), "a&b&c");
    EXPECT_EQ(ReplaceAllText("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
    // A trail byte equal to a letter is compared exactly: "１" (0x82 0x50)
    // is not "Ｑ" (0x82 0x70), though 'P' and 'p' differ only in case.
    EXPECT_EQ(ReplaceAllText(S("Ｑ１"), S("１"), "1"), S("Ｑ") + "1");
    // And a single-byte match never starts inside a double-byte character.
    EXPECT_EQ(ReplaceAllText(S("アa"), "a", "b"), S("ア") + "b");

    EXPECT_TRUE(SameTextIgnoringCase("BaseAddress", "baseADDRESS"));
    EXPECT_FALSE(SameTextIgnoringCase(S("Ｑ"), S("１")));
    EXPECT_FALSE(SameTextIgnoringCase("ab", "abc"));
}

TEST(TextUtils, StripTagsKeepsEverythingOutsideTags)
{
    EXPECT_EQ(StripTags(S("<p class=\"numberJobText_layout\">57件</p>")), S("57件"));
    EXPECT_EQ(StripTags("<br>"), "");
    EXPECT_EQ(StripTags("a < b <c"), "a < b <c");
    EXPECT_EQ(StripTags("x<b>y</b"), "xy</b");
    EXPECT_EQ(StripTags("text<br>"), "text");
    EXPECT_EQ(StripTags("&amp;<b>word</b>"), "&amp;word");
    EXPECT_EQ(StripTags(S("<span title=\"東京\n都\">港区</span>")), S("港区"));
}

TEST(TextUtils, SplitAppendsNonEmptyPiecesOnly)
{
    std::vector<std::string> list{"kept"};
    SplitText(S("新宿区  渋谷区 "), " ", list);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", S("新宿区"), S("渋谷区")}));

    SplitText("", " ", list);
    EXPECT_EQ(list.size(), 3u);

    std::vector<std::string> pieces;
    SplitText(",a,,b,", ",", pieces);
    EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b"}));

    pieces.clear();
    SplitText("a b", "", pieces);
    EXPECT_EQ(pieces, (std::vector<std::string>{"a b"}));
}

TEST(TextUtils, NormalizeDigitsAndDashesOnlyTouchesItsThirteenForms)
{
    EXPECT_EQ(NormalizeDigitsAndDashes(S("０３－１２３４‐５６７８９")), "03-1234-56789");
    EXPECT_EQ(NormalizeDigitsAndDashes(S("１　２")), "1 2");
    EXPECT_EQ(NormalizeDigitsAndDashes(S("Ａ〒ー")), S("Ａ〒ー"));
}

TEST(TextUtils, SubTextClampsItsRange)
{
    EXPECT_EQ(SubText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(SubText("abcdef", 0, 2), "ab");
    EXPECT_EQ(SubText("abcdef", 5, 10), "ef");
    EXPECT_EQ(SubText("abcdef", 7, 1), "");
    EXPECT_EQ(SubText("abcdef", 2, 0), "");
}

} // namespace

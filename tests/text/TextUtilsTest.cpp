#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <gtest/gtest.h>

#include <random>

using namespace kenmori;

namespace {

std::string S(std::string_view utf8)
{
    return Utf8ToShiftJis(utf8);
}

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

size_t CharacterLength(std::string_view text, size_t pos)
{
    return IsShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// The finding, replacing and tag removal as a walk over every character.
int FindByWalking(std::string_view needle, std::string_view text)
{
    for (size_t pos = 0; pos < text.size(); pos += CharacterLength(text, pos)) {
        if (text.substr(pos, needle.size()) == needle)
            return static_cast<int>(pos) + 1;
    }
    return 0;
}

std::string ReplaceByWalking(std::string_view text, std::string_view oldText, std::string_view newText)
{
    std::string result;
    for (size_t pos = 0; pos < text.size();) {
        if (SameTextIgnoringCase(text.substr(pos, oldText.size()), oldText)) {
            result += newText;
            pos += oldText.size();
        } else {
            result += text.substr(pos, CharacterLength(text, pos));
            pos += CharacterLength(text, pos);
        }
    }
    return result;
}

std::string StripTagsByWalking(std::string_view text)
{
    std::string result;
    for (size_t pos = 0; pos < text.size();) {
        const size_t close = text.find('>', pos);
        if (text[pos] == '<' && close != std::string_view::npos) {
            pos = close + 1;
            continue;
        }
        result += text.substr(pos, CharacterLength(text, pos));
        pos += CharacterLength(text, pos);
    }
    return result;
}

// The one-walk replacements give what thirteen replacements, one after the
// other, gave; the finding and replacing give what a walk over every
// character gave.
TEST(TextUtils, OneWalkFormsMatchTheCharacterByCharacterForms)
{
    static constexpr std::pair<std::string_view, std::string_view> kForms[] = {
        {"\x81\x40", " "}, {"\x81\x7C", "-"}, {"\x81\x5D", "-"}, {"\x82\x50", "1"}, {"\x82\x51", "2"},
        {"\x82\x52", "3"}, {"\x82\x53", "4"}, {"\x82\x54", "5"}, {"\x82\x55", "6"}, {"\x82\x56", "7"},
        {"\x82\x57", "8"}, {"\x82\x58", "9"}, {"\x82\x4F", "0"}};
    const std::string pieces[] = {"\x81", "\x82", "\x40", "\x50",     "\x4F",   "\x58", "\x7C", "\x5D",
                                  "\xe0", "a",    "A",    "<",        "/",      "d",    "D",    "i",
                                  "v",    ">",    " ",    "\x81\x40", "</div>", "<b>"};
    std::mt19937 random(14);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (unsigned count = random() % 16; count > 0; --count)
            text += pieces[random() % std::size(pieces)];
        std::string expected = text;
        for (const auto& [from, to] : kForms)
            expected = ReplaceAllText(expected, from, to);
        ASSERT_EQ(NormalizeDigitsAndDashes(text), expected) << text;

        std::string replaced;
        for (size_t pos = 0; pos < text.size();) {
            const size_t length =
                IsShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
            if (SameTextIgnoringCase(std::string_view(text).substr(pos, 6), "</div>")) {
                replaced += "|";
                pos += 6;
            } else {
                replaced += text.substr(pos, length);
                pos += length;
            }
        }
        ASSERT_EQ(ReplaceAllText(text, "</DIV>", "|"), replaced) << text;
        for (const std::string_view needle : {"\x40", "<", "\x81\x40", "\x82", "v>", "\x82\x50\x82"})
            ASSERT_EQ(FindText(needle, text), FindByWalking(needle, text)) << text;
        for (const std::string_view needle : {"\x81\x40", "\x82", "a"})
            ASSERT_EQ(ReplaceAllText(text, needle, "|"), ReplaceByWalking(text, needle, "|")) << text;
        ASSERT_EQ(StripTags(text), StripTagsByWalking(text)) << text;
        ASSERT_EQ(ContainsTextIgnoringCase(text, "</DIV>"), ReplaceByWalking(text, "</div>", "|") != text) << text;

        // The in-place forms give what the copying forms give.
        for (const auto& [from, to] :
             {std::pair{"</div>", " "}, {"\x81\x40", ""}, {"a", "|||"}, {"\x82", "\x81\x40"}}) {
            std::string inPlace = text;
            ReplaceAllInPlace(inPlace, from, to);
            ASSERT_EQ(inPlace, ReplaceAllText(text, from, to)) << text;
        }
        std::string stripped = text;
        StripTagsInPlace(stripped);
        ASSERT_EQ(stripped, StripTags(text)) << text;
        std::string trimmed = text;
        TrimInPlace(trimmed);
        ASSERT_EQ(trimmed, TrimText(text)) << text;
    }
}

// The one pass gives what the passes give, wherever it answers; it answers
// for the lines a page's layout writes, captions aside.
TEST(TextUtils, SpacedTagsStrippedGivesWhatThePassesGive)
{
    static constexpr std::string_view kSpaced[] = {"</div>", "<br>"};
    const std::string captions[] = {"&nbsp;", S("就業形態")};
    const auto byPasses = [&](std::string text) {
        for (const std::string& caption : captions)
            RemoveAllInPlace(text, caption + "</div>");
        for (const std::string_view tag : kSpaced)
            ReplaceAllInPlace(text, tag, " ");
        return TrimText(StripTags(text));
    };

    const std::string line = S("</th><td><div class=\"label\">年齢</div>あり<BR>18歳<div>～35歳</DIV></td>");
    EXPECT_EQ(SpacedTagsStripped(line, kSpaced, captions), S("年齢 あり 18歳～35歳"));
    EXPECT_EQ(SpacedTagsStripped(" a <b c", kSpaced), "a <b c");
    EXPECT_EQ(SpacedTagsStripped(S("<div>就業形態</div>"), kSpaced, captions), std::nullopt);
    EXPECT_EQ(SpacedTagsStripped("<a <b>", kSpaced), std::nullopt);

    const std::string pieces[] = {"\x81",        "\x82\x50", "a",      "<",      ">",
                                  " ",           "</div>",   "</DIV>", "<br>",   "<Br>",
                                  "<br/>",       "<b>",      "&nbsp;", "&NBSP;", "<div class=\"x\">",
                                  S("就業形態"), S("形態"),  "\x81<"};
    std::mt19937 random(15);
    int answered = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (unsigned count = random() % 12; count > 0; --count)
            text += pieces[random() % std::size(pieces)];
        if (const std::optional<std::string> quick = SpacedTagsStripped(text, kSpaced, captions)) {
            ++answered;
            ASSERT_EQ(*quick, byPasses(text)) << text;
        }
    }
    EXPECT_GT(answered, 2000);
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

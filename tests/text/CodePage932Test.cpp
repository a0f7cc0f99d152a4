#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace kenmori;

static std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int value : values)
        out.push_back(static_cast<char>(value));
    return out;
}

static std::string Code(int code)
{
    return Bytes({code >> 8, code & 0xFF});
}

static QString Unit(char16_t unit)
{
    return QString(QChar(unit));
}

TEST(CodePage932, LookalikesFollowWindows)
{
    EXPECT_EQ(Utf8ToShiftJis("\u301C"), "?"); // wave dash
    EXPECT_EQ(Utf8ToShiftJis("\u2212"), "?"); // minus sign
    EXPECT_EQ(Utf8ToShiftJis("\uFF5E"), Code(0x8160));
    EXPECT_EQ(ShiftJisToUtf8(Code(0x8160)), "\uFF5E");
    EXPECT_EQ(Utf8ToShiftJis("\uFF0D"), Code(0x817C));
    EXPECT_EQ(ShiftJisToUtf8(Code(0x817C)), "\uFF0D");

    // Codes that share a character decode, and encode back to the code Windows writes.
    EXPECT_EQ(ShiftJisToUtf8(Code(0x8790)), "\u2252");
    EXPECT_EQ(ShiftJisToUtf8(Code(0xFA5B)), "\u2235");
    EXPECT_EQ(ShiftJisToUtf8(Code(0xEEF9)), "\uFFE2");
    EXPECT_EQ(ShiftJisToUtf8(Code(0xEEEF)), "\u2170");
    EXPECT_EQ(Utf8ToShiftJis("\u2252"), Code(0x81E0));
    EXPECT_EQ(Utf8ToShiftJis("\u2235"), Code(0x81E6));
    EXPECT_EQ(Utf8ToShiftJis("\uFFE2"), Code(0x81CA));
    EXPECT_EQ(Utf8ToShiftJis("\u2170"), Code(0xFA40));
    EXPECT_EQ(Utf8ToShiftJis("\u2160"), Code(0x8754));
    EXPECT_EQ(QStringToShiftJis(Unit(0x2170)), Code(0xFA40));
}

TEST(CodePage932, MalformedUtf8GivesEmptyText)
{
    EXPECT_EQ(Utf8ToShiftJis("abc\xE4\xBB"), ""); // cut at the end
    EXPECT_EQ(Utf8ToShiftJis("abc\xC3"), "");
    EXPECT_EQ(Utf8ToShiftJis("\xE4\x41\xB6xyz"), ""); // bad continuation
    EXPECT_EQ(Utf8ToShiftJis("a\x80z"), "");          // stray continuation
    EXPECT_EQ(Utf8ToShiftJis("\xC0\xAF"), "");        // overlong "/"
    EXPECT_EQ(Utf8ToShiftJis("\xE0\x80\xAF"), "");
    EXPECT_EQ(Utf8ToShiftJis("\xF0\x80\x80\xAF"), "");
    EXPECT_EQ(Utf8ToShiftJis("\xED\xA0\x80"), "");     // surrogate
    EXPECT_EQ(Utf8ToShiftJis("\xF4\x90\x80\x80"), ""); // beyond U+10FFFF
    EXPECT_EQ(Utf8ToShiftJis("\xF8\x88\x80\x80\x80"), "");
    EXPECT_EQ(Utf8ToShiftJis(""), "");

    EXPECT_EQ(Utf8ToShiftJis("a\U0001F600b"), "a?b"); // outside the BMP
    EXPECT_EQ(Utf8ToShiftJis("\u00E9"), "?");         // no 932 form
}

TEST(CodePage932, SingleBytes)
{
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii.push_back(static_cast<char>(c));
    EXPECT_EQ(Utf8ToShiftJis(ascii), ascii);
    EXPECT_EQ(ShiftJisToUtf8(ascii), ascii);
    EXPECT_EQ(QStringToShiftJis(ShiftJisToQString(ascii)), ascii);

    EXPECT_EQ(Utf8ToShiftJis("\uFF71\uFF9F"), Bytes({0xB1, 0xDF})); // half-width katakana
    EXPECT_EQ(ShiftJisToUtf8(Bytes({0xA1, 0xB1, 0xDF})), "\uFF61\uFF71\uFF9F");
    EXPECT_EQ(ShiftJisToUtf8(Bytes({0x80, 0xA0, 0xFD, 0xFF})), "\u0080\uF8F0\uF8F1\uF8F3");
    EXPECT_EQ(Utf8ToShiftJis("\u0080\uF8F0\uF8F3"), Bytes({0x80, 0xA0, 0xFF}));
}

TEST(CodePage932, UndecodableBytesGiveMiddleDot)
{
    EXPECT_EQ(ShiftJisToUtf8(Code(0x8540)), "\u30FB"); // undefined row
    EXPECT_EQ(ShiftJisToUtf8(Code(0xFC4C)), "\u30FB"); // just past the last code
    EXPECT_EQ(ShiftJisToUtf8("a\x81"), "a\u30FB");     // lead byte at the end
    // A byte that cannot be a trail is read on its own.
    EXPECT_EQ(ShiftJisToUtf8("\x81\x7F"
                             "A"),
              "\u30FB\x7F"
              "A");
    EXPECT_EQ(ShiftJisToUtf8("\x88\r\n"), "\u30FB\r\n");
    EXPECT_EQ(ShiftJisToUtf8("\x88\xFD"), "\u30FB\uF8F1");
    EXPECT_EQ(ShiftJisToQString("\x81\x20"), Unit(0x30FB) + " ");
    // The user-defined area decodes to the private use area and back.
    EXPECT_EQ(ShiftJisToUtf8(Code(0xF040)), "\uE000");
    EXPECT_EQ(Utf8ToShiftJis("\uE757"), Code(0xF9FC));
}

TEST(CodePage932, EveryDoubleByteCodeRoundTrips)
{
    int defined = 0;
    int preferred = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsShiftJisLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const int code = (lead << 8) | trail;
            const std::string sjis = Code(code);
            const QString text = ShiftJisToQString(sjis);
            ASSERT_EQ(text.size(), 1) << std::hex << code;
            if (text.at(0).unicode() == 0x30FB && code != 0x8145)
                continue;
            ++defined;
            const std::string back = QStringToShiftJis(text);
            ASSERT_EQ(ShiftJisToQString(back), text) << std::hex << code;
            if (back != sjis)
                continue;
            ++preferred;
            ASSERT_EQ(Utf8ToShiftJis(ShiftJisToUtf8(sjis)), sjis) << std::hex << code;
        }
    }
    EXPECT_EQ(defined, 9604);
    EXPECT_EQ(preferred, 9206);
}

TEST(CodePage932, JapaneseText)
{
    EXPECT_EQ(Sjis("件"), Code(0x8C8F));
    EXPECT_EQ(Utf8ToShiftJis("求人 あ亜熙"),
              Code(0x8B81) + Code(0x906C) + " " + Code(0x82A0) + Code(0x889F) + Code(0xEAA4));

    const QString text = QStringLiteral("東京都 千代田区　ﾊﾛｰﾜｰｸ（求人）①Ⅹ～");
    const std::string sjis = QStringToShiftJis(text);
    EXPECT_EQ(ShiftJisToQString(sjis), text);
    EXPECT_EQ(Utf8ToShiftJis(text.toStdString()), sjis);
    EXPECT_EQ(ShiftJisToUtf8(sjis), text.toStdString());

    // A pair or a lone surrogate is one character without a 932 form.
    EXPECT_EQ(QStringToShiftJis(QString::fromUtf8("a\U0001F600b")), "a?b");
    EXPECT_EQ(QStringToShiftJis(Unit(0xD800) + "x" + Unit(0xDC00)), "?x?");
}

TEST(CodePage932, UserInputLookAlikesTakeTheCodePagesFormsAndTheRestIsNamed)
{
    const QString typed = QStringLiteral("9時〜17時−‖—¢£¬¦");
    const QString converted = WithCodePage932Forms(typed);
    EXPECT_EQ(converted, QStringLiteral("9時～17時－∥―￠￡￢￤"));
    EXPECT_EQ(FirstCharacterWithoutCodePage932Form(converted), QString());
    EXPECT_EQ(QStringToShiftJis(converted).find('?'), std::string::npos);
    EXPECT_EQ(FirstCharacterWithoutCodePage932Form(typed), QStringLiteral("〜"));
    EXPECT_EQ(FirstCharacterWithoutCodePage932Form(QStringLiteral("寿司🍣と쌀")), QStringLiteral("🍣"));
    EXPECT_EQ(FirstCharacterWithoutCodePage932Form(QStringLiteral("a?b")), QString());
}

// The word-at-a-time conversion gives what converting character by character
// through Qt gives, whatever the alignment of ASCII runs and Japanese text;
// appending keeps what the buffer held, and broken input adds nothing.
TEST(CodePage932, AppendingConvertsLikeQtAtEveryAlignment)
{
    const std::string pieces[] = {"a",  "<div>", "        ", "\t\n",       "日本",
                                  "ｶﾅ", "～",    "é",        "\U0001F600", "\xEF\xBF\xBF"};
    std::mt19937 random(932);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        for (unsigned count = random() % 24; count > 0; --count)
            text += pieces[random() % std::size(pieces)];
        std::string expected;
        const QString unicode = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        for (qsizetype at = 0; at < unicode.size(); ++at) {
            // Outside the BMP a surrogate pair gives one "?".
            if (unicode[at].isHighSurrogate())
                continue;
            expected += QStringToShiftJis(unicode.mid(at, 1));
        }
        ASSERT_EQ(Utf8ToShiftJis(text), expected) << text;

        std::string buffer = "kept";
        ASSERT_TRUE(AppendShiftJis(buffer, text));
        ASSERT_EQ(buffer, "kept" + expected);
        ASSERT_FALSE(AppendShiftJis(buffer, text + "\xE4\xBB"));
        ASSERT_EQ(buffer, "kept" + expected);
    }
}

TEST(CodePage932, PageTextKeepsWhatItCannotHoldAsReferences)
{
    // Many in a row: each reference is longer than its character.
    std::string many;
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        many += "😀〜a";
        expected += "&?#x1F600;&?#x301C;a";
    }
    EXPECT_EQ(Utf8ToShiftJisWithReferences(many), expected);
    EXPECT_EQ(Utf8ToShiftJisWithReferences("𠮷野家～?"), "&?#x20BB7;" + Utf8ToShiftJis("野家～?"));
    EXPECT_EQ(Utf8ToShiftJisWithReferences("a\xE3\x81"), ""); // malformed, as without references
    EXPECT_EQ(DecodeCharacterReferences(Utf8ToShiftJisWithReferences("𠮷〜")), "??");
    EXPECT_EQ(DecodeCharacterReferences("&#x20BB7;&?#x20BB7;&~#x301C;&#x41;&#xFFFF;", TextEncoding::Utf8),
              "𠮷𠮷〜A?"); // no document may hold U+FFFF
    EXPECT_EQ(DecodeCharacterReferences("&?#xFEFF;", TextEncoding::Utf8), "\xEF\xBB\xBF"); // not a mark here
    EXPECT_EQ(DecodeCharacterReferences("&?#x20BB7;&?#x41;", TextEncoding::ShiftJis), "?A");
    EXPECT_EQ(DecodeCharacterReferences("&~#x301C;&~#x41;&~#xD800;&~x;", TextEncoding::ShiftJis),
              Utf8ToShiftJis("～A～&~x;"));
}

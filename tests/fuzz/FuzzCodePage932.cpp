// The code page 932 conversions on any bytes, read once as code page 932,
// once as UTF-8 and once as UTF-16.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kenmori;

// Qt as the judge of well-formed UTF-8: its decoder flags every malformed or
// cut-off sequence. A leading byte-order mark is kept as a character, since
// the conversions under test keep it too.
static QString DecodeUtf8(std::string_view bytes, bool& wellFormed)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    wellFormed = !decoder.hasError();
    return text;
}

static bool IsWellFormedUtf8(std::string_view bytes)
{
    bool wellFormed = false;
    DecodeUtf8(bytes, wellFormed);
    return wellFormed;
}

static std::string ToStdString(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Each character of original arrives as itself or, lacking a code page 932
// form, as "?"; one character each, in order.
static bool SameOrQuestionMarks(const QList<uint>& original, const QString& decoded)
{
    if (decoded.size() != original.size())
        return false;
    for (qsizetype i = 0; i < original.size(); ++i) {
        const uint unit = decoded.at(i).unicode();
        if (unit != original.at(i) && unit != '?')
            return false;
    }
    return true;
}

static void CheckAsCodePage932(std::string_view sjis)
{
    const std::string utf8 = ShiftJisToUtf8(sjis);
    FUZZ_CHECK(IsWellFormedUtf8(utf8));
    const QString text = ShiftJisToQString(sjis);
    FUZZ_CHECK(ToStdString(text.toUtf8()) == utf8);
    for (const QChar unit : text)
        FUZZ_CHECK(!unit.isSurrogate());

    // Whatever was read, undecodable codes included, has a form that reads
    // back the same, and that form is the one written again.
    const std::string encoded = Utf8ToShiftJis(utf8);
    FUZZ_CHECK(encoded.empty() == sjis.empty());
    FUZZ_CHECK(ShiftJisToUtf8(encoded) == utf8);
    FUZZ_CHECK(Utf8ToShiftJis(ShiftJisToUtf8(encoded)) == encoded);
    FUZZ_CHECK(QStringToShiftJis(text) == encoded);
}

static void CheckAsUtf8(std::string_view utf8)
{
    const std::string sjis = Utf8ToShiftJis(utf8);
    bool wellFormed = false;
    const QString original = DecodeUtf8(utf8, wellFormed);
    if (!wellFormed) {
        FUZZ_CHECK(sjis.empty());
        return;
    }
    FUZZ_CHECK(sjis.empty() == utf8.empty());
    FUZZ_CHECK(sjis.size() <= utf8.size());
    FUZZ_CHECK(QStringToShiftJis(original) == sjis);
    FUZZ_CHECK(SameOrQuestionMarks(original.toUcs4(), ShiftJisToQString(sjis)));

    // Page text keeps what code page 932 cannot hold as references: decoded
    // for code page 932 they give the "?" above, decoded as UTF-8 the text
    // itself (but for U+FFFE and U+FFFF, which no document may hold).
    if (utf8.find('&') != std::string_view::npos)
        return;
    const std::string kept = Utf8ToShiftJisWithReferences(utf8);
    FUZZ_CHECK(DecodeCharacterReferences(kept) == sjis);
    QString whole = original;
    whole.replace(QChar(0xFFFE), QLatin1Char('?')).replace(QChar(0xFFFF), QLatin1Char('?'));
    FUZZ_CHECK(DecodeCharacterReferences(ShiftJisToUtf8(kept), TextEncoding::Utf8) == whole.toStdString());
}

static void CheckAsUtf16(std::string_view bytes)
{
    QString text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8
                                                | static_cast<unsigned char>(bytes[i + 1]))));
    // A pair of surrogates is one character, a lone one is one as well.
    QList<uint> characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size()
            && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            characters.append(QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()));
            ++i;
        } else {
            characters.append(unit);
        }
    }
    FUZZ_CHECK(SameOrQuestionMarks(characters, ShiftJisToQString(QStringToShiftJis(text))));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = InputBytes(data, size);
    CheckAsCodePage932(bytes);
    CheckAsUtf8(bytes);
    CheckAsUtf16(bytes);
    return 0;
}

#pragma once
// Reading the run's outputs back as their users would: a workbook through
// openpyxl (a helper script), and a UTF-8 CSV against the Shift-JIS one.

#include "text/CodePage932.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>

namespace kenmori {

struct WorkbookReading {
    bool opened = false;
    // Sheet name, frozen cell, autofilter range, bold header, cell kinds,
    // links, links that are their own text, document title, sheets.
    QStringList about;
    std::string csv; // every row as a UTF-8 CSV line, as the UTF-8 output writes it
};

inline WorkbookReading ReadWorkbook(const std::filesystem::path& file)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(KENMORI_WORKBOOK_READER), QString::fromStdString(file.string())});
    if (!reader.waitForFinished(60000) || reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        return {};
    const std::string output = reader.readAllStandardOutput().toStdString();
    const size_t firstLineEnd = output.find("\r\n");
    if (firstLineEnd == std::string::npos)
        return {};
    return {true, QString::fromStdString(output.substr(0, firstLineEnd)).split(QLatin1Char('\t')),
            output.substr(firstLineEnd + 2)};
}

// The UTF-8 CSV (byte-order mark and all) says what the Shift-JIS CSV says,
// character for character, but where code page 932 has no form for its
// character: the Shift-JIS CSV shows "?" or "～" there. kept counts those.
inline bool SameButForCodePage932(const std::string& sjis, const std::string& utf8WithMark, int& kept)
{
    kept = 0;
    if (!utf8WithMark.starts_with("\xEF\xBB\xBF"))
        return false;
    const auto shown = ShiftJisToQString(sjis).toUcs4();
    const auto whole = QString::fromStdString(utf8WithMark.substr(3)).toUcs4();
    if (shown.size() != whole.size())
        return false;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] == whole[i])
            continue;
        if (HasCodePage932Form(whole[i]) || (shown[i] != u'?' && shown[i] != u'～'))
            return false;
        ++kept;
    }
    return true;
}

} // namespace kenmori

#include "reference/IndustryLookup.h"

#include "reference/ReferenceDatabase.h"
#include "text/CodePage932.h"

#include <QString>

#include <optional>
#include <vector>

namespace kenmori {

// "%" and "_" in a page name are text, not wildcards.
static QString LikeContaining(const QString& text)
{
    QString pattern = QStringLiteral("%");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            pattern += u'\\';
        pattern += c;
    }
    return pattern + u'%';
}

std::string LookupIndustryCategory(ReferenceDatabase& database, std::string_view industryName,
                                   std::string& errorText)
{
    errorText.clear();
    // An empty name is contained in every group and would pick a wrong one.
    if (industryName.empty())
        return {};

    static const QString kSelect = QStringLiteral(
        "SELECT Ctgr1Name, Ctgr2Code, Ctgr2Name, Ctgr3Code FROM T03_CTGR ");
    const QString name = ShiftJisToQString(industryName);
    std::optional<std::vector<std::string>> row;
    // The equal name first, so that a name never gets a longer group that
    // merely contains it.
    bool ok = database.selectFirstRow(kSelect + QStringLiteral("WHERE Ctgr3Name = ? ORDER BY Ctgr3Code"), {name},
                                      row);
    if (ok && !row)
        ok = database.selectFirstRow(kSelect
                                         + QStringLiteral("WHERE Ctgr3Name LIKE ? ESCAPE '\\' ORDER BY Ctgr3Code"),
                                     {LikeContaining(name)}, row);
    if (!ok) {
        errorText = database.errorText();
        return {};
    }
    if (!row || row->size() != 4)
        return {};
    return (*row)[0] + ',' + (*row)[1] + ',' + (*row)[2] + ',' + (*row)[3];
}

} // namespace kenmori
